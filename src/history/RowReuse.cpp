// History rows put back into the expression box, the lists scrolled together, and cleared.
#include "app/FormTallix.h"
#include "shared/TrimSpaces.h"

#include "platform/Button.h"
#include "platform/ListBox.h"
#include "platform/MenuEntry.h"
#include "platform/TextBox.h"

namespace app {

void FormTallix::connectRowReuse()
{
    c_.List1->onClick = [this] { List1_Click(); };
    c_.List1->onDoubleClick = [this] { List1_DblClick(); };
    c_.List2->onClick = [this] { List2_Click(); };
    c_.List1->onScroll = [this] { List1_Scroll(); };
    c_.List2->onScroll = [this] { List2_Scroll(); };
    c_.Command1->onClick = [this] { Command1_Click(); };
    c_.mnuClsHistory->onClick = [this] { mnuClsHistory_Click(); };
    c_.mnuClearAll->onClick = [this] { mnuClearAll_Click(); };
}

void FormTallix::List1_Click()
{
    c_.List3->setVisible(false);
    c_.List2->setListIndex(-1);
}

void FormTallix::List1_DblClick()
{
    // A double click with no row selected (an empty list) is ignored.
    if (history_.instructionRowsShown() || c_.List1->listIndex() < 0)
        return;
    c_.Text1->setText(c_.List1->text());
    c_.Text1->setFocus();
    c_.Text1->setSelStart(int(c_.Text1->text().size()));
    c_.Text2->setText(QString());
}

void FormTallix::List2_Click()
{
    c_.List3->setVisible(false);
    const QString row = shared::trimSpaces(c_.List2->text());
    if (history_.instructionRowsShown() || row == QLatin1String("Result") || row.isEmpty())
        return;
    InsertAtCaret(history::StripResultText(row));
}

// Both ways, whichever list scrolls and however: an expression always stands beside its own
// result. Setting the top row a list already has raises no second notification.
void FormTallix::List1_Scroll() { c_.List2->setTopIndex(c_.List1->topIndex()); }
void FormTallix::List2_Scroll() { c_.List1->setTopIndex(c_.List2->topIndex()); }

void FormTallix::Command1_Click() { history_.emptyBoth(); }

void FormTallix::mnuClsHistory_Click() { history_.emptyBoth(); }

void FormTallix::mnuClearAll_Click()
{
    history_.emptyBoth();
    c_.Text1->setText(QString());
    c_.Text2->setText(QString());
}

} // namespace app
