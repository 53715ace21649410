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
    c_.List1->onDeleteKey = [this] { List1_KeyDelete(); };
    c_.List2->onDeleteKey = [this] { List2_KeyDelete(); };
    c_.Text1->onRecall = [this](int direction) { Text1_Recall(direction); };
    // Right after a calculation the focus is on the send button: the walk starts from there too.
    c_.CommandCC->onRecall = [this](int direction) {
        c_.Text1->setFocus();
        Text1_Recall(direction);
    };
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

namespace app {

void FormTallix::List1_KeyDelete() { removeHistoryEntry(*c_.List1); }
void FormTallix::List2_KeyDelete() { removeHistoryEntry(*c_.List2); }

// Both rows of the entry go, so the lists stay paired; the instruction rows are no entry.
void FormTallix::removeHistoryEntry(platform::ListBox &list)
{
    const int row = list.listIndex();
    if (history_.instructionRowsShown() || row < 0 || row >= history_.count())
        return;
    history_.removeEntry(row);
    platform::ListBox &other = &list == c_.List1 ? *c_.List2 : *c_.List1;
    other.setListIndex(-1);
    if (history_.count() == 0)
        return;
    // The entry that moved up takes the selection, so that Delete can go on down the list.
    const int next = qMin(row, history_.count() - 1);
    list.setListIndex(next);
    list.ensureVisible(next);
    other.setTopIndex(list.topIndex());
}

// As a shell's history: Ctrl+Up goes back an expression at a time, Ctrl+Down forward, and
// forward past the newest brings back what was being typed. Editing a recalled expression, or
// typing anew, starts the next walk from the newest again.
void FormTallix::Text1_Recall(int direction)
{
    const int count = history_.instructionRowsShown() ? 0 : history_.count();
    if (recallRow_ < 0 || recallRow_ > count || c_.Text1->text() != recallShown_) {
        if (direction > 0)
            return; // nothing comes after what is being typed
        recallRow_ = count;
        recallTyped_ = c_.Text1->text();
        // The box still holds the expression just calculated: it is the newest row already.
        if (count > 0 && shared::trimSpaces(recallTyped_) == c_.List1->item(count - 1))
            recallRow_ = count - 1;
    }
    const int row = qBound(0, recallRow_ + direction, count);
    if (row == recallRow_)
        return; // at the oldest already
    c_.Text1->setText(row == count ? recallTyped_ : c_.List1->item(row));
    c_.Text1->setSelStart(int(c_.Text1->text().size()));
    recallShown_ = c_.Text1->text();
    recallRow_ = row == count ? -1 : row;
}

} // namespace app
