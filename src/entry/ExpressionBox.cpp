// The expression box's own rules: operator spacing at the end of the text, and the first click.
#include "app/FormTallix.h"

#include "platform/ListBox.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

namespace app {

void FormTallix::connectExpressionBox()
{
    c_.Text1->onChange = [this] { Text1_Change(); };
    c_.Text1->onClick = [this] { Text1_Click(); };
    // Someone who works by keyboard never clicks: reaching the box from the keyboard ends the
    // instruction state as the first click does. Once entry has started there is nothing left
    // for it to do but hide the palette, which a Tab from it into the box should not.
    c_.Text1->onKeyboardFocus = [this] {
        if (!EntryStarted || c_.Text1->text().startsWith(InstructionMarker))
            Text1_Click();
    };
    c_.window->onGoToExpressionKey = [this] { goToExpressionBox(); };
}

// As in an address bar: the text selected, so that typing replaces it and an arrow keeps it.
void FormTallix::goToExpressionBox()
{
    Text1_Click();
    c_.Text1->setFocus();
    c_.Text1->setSelStart(0);
    c_.Text1->setSelLength(int(c_.Text1->text().size()));
}

void FormTallix::Text1_Change()
{
    if (BackspacePressed) {
        BackspacePressed = false;
        return;
    }
    const QString text = c_.Text1->text();
    if (text.isEmpty() || text.back() == QLatin1Char(' '))
        return;
    static const QString operators = QStringLiteral("+-*/\\^");
    const QChar last = text.back();
    if (!operators.contains(last))
        return;
    c_.Text1->setText(text.chopped(1) + QLatin1Char(' ') + last + QLatin1Char(' '));
    // The end of the text, however long it is.
    c_.Text1->setSelStart(int(c_.Text1->text().size()));
}

// Shared by the first click and the "Function" button: the instruction text and sample result go.
void FormTallix::endInstructionState()
{
    c_.Text1->setText(QString());
    c_.Text2->setText(QString());
    history_.emptyBoth();
    c_.Text1->setForeColor(platform::colors::Navy);
    c_.Text2->setForeColor(platform::colors::Navy);
}

void FormTallix::Text1_Click()
{
    c_.List3->setVisible(false);
    EntryStarted = true;
    if (c_.Text1->text().startsWith(InstructionMarker)) {
        endInstructionState();
        c_.List1->setForeColor(platform::colors::DarkNavy);
        c_.List2->setForeColor(platform::colors::DarkNavy);
    }
}

} // namespace app
