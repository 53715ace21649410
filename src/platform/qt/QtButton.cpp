#include "QtButton.h"

#include "QtLongWork.h"
#include "Twips.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace platform::qt {

QtButton::QtButton(QAbstractButton *button) : button_(button)
{
    button_->setMouseTracking(true);
    button_->installEventFilter(this);
    connect(button_, &QAbstractButton::clicked, this, [this] {
        // A screen reader's action is no input that a calculation keeps: it waits here.
        QtLongWork::whenIdle(this, [this] {
            if (onClick)
                onClick();
        });
    });
}

int QtButton::left() const { return twips(button_->x()); }
int QtButton::top() const { return twips(button_->y()); }
void QtButton::setFocus()
{
    // The program moves the focus here (after a calculation): show it, even after mouse use,
    // so that the user sees where the next Enter goes.
    button_->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    button_->setFocus(Qt::OtherFocusReason);
    button_->update();
}

bool QtButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == button_) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat() &&
                key->modifiers() == Qt::NoModifier) {
                button_->click();
                return true;
            }
        } else if (event->type() == QEvent::MouseMove && onMouseMove) {
            onMouseMove();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::qt
