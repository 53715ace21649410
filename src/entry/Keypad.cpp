// The keypad, the backspace button and the two commands that clear the expression box.
#include "app/FormTallix.h"

#include "KeypadKeys.h"

#include "platform/Button.h"
#include "platform/ListBox.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"

#include <array>

namespace app {

void FormTallix::connectKeypad()
{
    for (std::size_t i = 0; i < c_.CommandNum.size(); ++i) {
        c_.CommandNum[i]->onClick = [this, i] { CommandNum_Click(static_cast<std::int16_t>(i)); };
        c_.CommandNum[i]->onMouseMove = [this] { CommandNum_MouseMove(); };
    }
    c_.Command6->onClick = [this] { Command6_Click(); };
    c_.Command4->onClick = [this] { Command4_Click(); };
    c_.mnuClsPad->onClick = [this] { mnuClsPad_Click(); };
}

// Replaces the selection of the expression box with `text` and leaves the caret right after
// it, the focus in the box.
void FormTallix::InsertAtCaret(const QString &text)
{
    c_.Text1->setSelText(text);
    c_.Text1->setFocus();
}

void FormTallix::CommandNum_Click(std::int16_t index)
{
    if (index < 0 || index >= std::int16_t(KeypadKeys.size()))
        return;
    if (!EntryStarted)
        Text1_Click();
    InsertAtCaret(QString::fromLatin1(KeypadKeys[std::size_t(index)].inserted));
}

void FormTallix::CommandNum_MouseMove() { c_.List3->setVisible(false); }

void FormTallix::Command6_Click()
{
    BackspacePressed = true;
    platform::TextBox &box = *c_.Text1;
    const int caret = box.selStart();
    if (caret == 0)
        return;
    const QString text = box.text();
    // A line break (CR LF) goes as one: taking its LF alone would leave a CR that the box
    // reads as a line break again, so the button could never delete one.
    const int width = caret >= 2 && text.mid(caret - 2, 2) == QLatin1String("\r\n") ? 2 : 1;
    box.setText(text.left(caret - width) + text.mid(caret));
    box.setFocus();
    box.setSelStart(caret - width);
}

void FormTallix::Command4_Click()
{
    c_.Text1->setText(QString());
    c_.Text2->setText(QString());
    c_.Text1->setFocus();
}

void FormTallix::mnuClsPad_Click() { Command4_Click(); }

} // namespace app
