#include "QtButton.h"

#include "QtLongWork.h"
#include "Twips.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>

namespace platform::qt {
namespace {

// A key that types a character (or Backspace), other than Space, which presses the button.
bool typesCharacter(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->key() == Qt::Key_Backspace)
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint() && text.at(0) != QLatin1Char(' ');
}

} // namespace

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
            if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
                (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier && onRecall) {
                onRecall(key->key() == Qt::Key_Up ? -1 : 1);
                return true;
            }
            if (onKeyPress && typesCharacter(key)) {
                int keyAscii = key->key() == Qt::Key_Backspace ? 8 : key->text().at(0).unicode();
                onKeyPress(keyAscii);
                QWidget *now = button_->window()->focusWidget();
                if (keyAscii != 0 && now != nullptr && now != button_) {
                    // On to where the handler sent the focus, as a key typed there.
                    QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(keyAscii)));
                    QCoreApplication::sendEvent(now, &typed);
                }
                return true;
            }
        } else if (event->type() == QEvent::MouseMove && onMouseMove) {
            onMouseMove();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::qt
