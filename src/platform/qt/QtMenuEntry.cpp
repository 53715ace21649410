#include "QtMenuEntry.h"

#include <QAction>

namespace platform::qt {

QtMenuEntry::QtMenuEntry(QAction *action) : action_(action)
{
    connect(action_, &QAction::triggered, this, [this] {
        if (onClick)
            onClick();
    });
}

void QtMenuEntry::setChecked(bool checked)
{
    // Only entries that have ever carried a mark draw one; the handlers set the marks.
    action_->setCheckable(action_->isCheckable() || checked);
    action_->setChecked(checked);
}

bool QtMenuEntry::isChecked() const { return action_->isChecked(); }

} // namespace platform::qt
