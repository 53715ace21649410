// The three buttons that pass the current result on.
#include "app/FormTallix.h"

#include "platform/Button.h"
#include "platform/Clipboard.h"
#include "platform/TextBox.h"
#include "platform/Window.h"
#include "shared/TrimSpaces.h"

namespace app {

void FormTallix::connectCopyButtons()
{
    c_.CommandCC->onClick = [this] { CommandCC_Click(); };
    c_.CommandCopy1->onClick = [this] { CommandCopy1_Click(); };
    c_.CommandCopy2->onClick = [this] { CommandCopy2_Click(); };
    c_.CommandCC->onKeyPress = [this](int &keyAscii) { CommandCC_KeyPress(keyAscii); };
    c_.window->onCopyResultKey = [this] { CommandCopy1_Click(); };
}

void FormTallix::CommandCC_Click()
{
    c_.Text1->setText(history::StripResultText(c_.Text2->text()));
    c_.Text1->setFocus();
    c_.Text1->setSelStart(int(c_.Text1->text().size()));
}

// After a calculation the focus is here, and the user types on: an operator goes on from the
// result, Backspace edits it, anything else starts a new expression. The key itself then goes
// on to the box (the platform delivers a key left non-zero where the focus now is). Without a
// result to go on from ("Error", nothing), the key goes to the end of the expression as it is.
void FormTallix::CommandCC_KeyPress(int &keyAscii)
{
    static const QString continuing = QStringLiteral("+-*/\\^&=<>");
    if (keyAscii < 32 && keyAscii != 8) {
        keyAscii = 0;
        return;
    }
    const bool continues = keyAscii == 8 || continuing.contains(QChar(keyAscii));
    if (continues && c_.Text2->text().startsWith(QLatin1String("= "))) {
        CommandCC_Click();
        Text1_Click(); // the keyboard brought the user into the box
        return;
    }
    Text1_Click();
    // Only an expression the history holds is dropped; one that failed stays to be mended.
    const QString expression = shared::trimSpaces(c_.Text1->text());
    if (!continues && (expression.isEmpty() || expression == history_.lastExpressionRow()))
        c_.Text1->setText(QString());
    c_.Text1->setFocus();
    c_.Text1->setSelStart(int(c_.Text1->text().size()));
}

void FormTallix::CommandCopy1_Click()
{
    c_.clipboard->clear();
    c_.clipboard->setText(history::StripResultText(c_.Text2->text()));
}

// When the clipboard cannot be written this changes nothing and says nothing, as the other
// copy button.
void FormTallix::CommandCopy2_Click()
{
    c_.clipboard->clear();
    c_.clipboard->setText(c_.Text1->text() + QLatin1Char(' ') + c_.Text2->text());
}

} // namespace app
