#include "QtMenuEntry.h"

#include "QtLongWork.h"

#include <QAction>

namespace platform::qt {

QtMenuEntry::QtMenuEntry(QAction *action) : action_(action)
{
    connect(action_, &QAction::triggered, this, [this] {
        // A screen reader's action is no input that a calculation keeps: it waits here.
        QtLongWork::whenIdle(this, [this] {
            if (onClick)
                onClick();
        });
    });
}

void QtMenuEntry::setChecked(bool checked)
{
    // Only the checked entry draws a mark: an unchecked entry shows no empty box.
    action_->setCheckable(checked);
    action_->setChecked(checked);
}

bool QtMenuEntry::isChecked() const { return action_->isChecked(); }

} // namespace platform::qt
