// The three buttons that pass the current result on.
#include "app/FormTallix.h"

#include "platform/Button.h"
#include "platform/Clipboard.h"
#include "platform/TextBox.h"

namespace app {

void FormTallix::connectCopyButtons()
{
    c_.CommandCC->onClick = [this] { CommandCC_Click(); };
    c_.CommandCopy1->onClick = [this] { CommandCopy1_Click(); };
    c_.CommandCopy2->onClick = [this] { CommandCopy2_Click(); };
}

void FormTallix::CommandCC_Click()
{
    c_.Text1->setText(history::StripResultText(c_.Text2->text()));
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
