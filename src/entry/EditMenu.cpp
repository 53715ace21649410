// Cut, Copy, Paste and Select All on whichever of the two boxes has the focus. The commands do
// their own text surgery and clipboard writes; a failing step is skipped and the rest goes on.
#include "app/FormTallix.h"

#include "platform/Clipboard.h"
#include "platform/MenuEntry.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

namespace app {

void FormTallix::connectEditMenu()
{
    c_.mnuCut->onClick = [this] { mnuCut_Click(); };
    c_.mnuCopy->onClick = [this] { mnuCopy_Click(); };
    c_.mnuPaste->onClick = [this] { mnuPaste_Click(); };
    c_.mnuSelAll->onClick = [this] { mnuSelAll_Click(); };
}

platform::TextBox *FormTallix::editTarget() const
{
    const QString focused = c_.window->activeControlName();
    if (focused == QLatin1String("Text1"))
        return c_.Text1;
    if (focused == QLatin1String("Text2"))
        return c_.Text2;
    return nullptr;
}

void FormTallix::mnuCut_Click()
{
    platform::TextBox *box = editTarget();
    if (box == nullptr)
        return;
    if (box->selLength() == 0)
        return;
    c_.clipboard->clear();
    c_.clipboard->setText(box->selText());
    box->setSelText(QString());
}

void FormTallix::mnuCopy_Click()
{
    platform::TextBox *box = editTarget();
    if (box == nullptr || box->selLength() == 0)
        return;
    c_.clipboard->clear();
    c_.clipboard->setText(box->selText());
}

void FormTallix::mnuPaste_Click()
{
    platform::TextBox *box = editTarget();
    if (box == nullptr)
        return;
    box->setSelText(c_.clipboard->text().value_or(QString()));
}

void FormTallix::mnuSelAll_Click()
{
    platform::TextBox *box = editTarget();
    if (box == nullptr)
        return;
    box->setSelStart(0);
    box->setSelLength(int(box->text().size())); // the whole text, however long
}

} // namespace app
