#include "QtLongWork.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace platform::qt {

QtLongWork *QtLongWork::current_ = nullptr;

QtLongWork::QtLongWork(QWidget *window) : window_(window) { current_ = this; }

QtLongWork::~QtLongWork()
{
    if (current_ == this)
        current_ = nullptr;
    if (keeping_)
        qApp->removeEventFilter(this);
    showBusy(false);
}

void QtLongWork::begin()
{
    if (running_++ > 0)
        return;
    cancelled_ = false;
    escapeDown_ = false;
    since_.start();
    lastTurn_.start();
    if (!keeping_) {
        keeping_ = true;
        qApp->installEventFilter(this);
    }
}

bool QtLongWork::keepGoing()
{
    if (cancelled_ || lastTurn_.elapsed() < PaintEvery)
        return !cancelled_;
    if (!busyShown_ && since_.elapsed() >= BusyCursorAfter && QApplication::activeModalWidget() == nullptr)
        showBusy(true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastTurn_.start();
    return !cancelled_;
}

void QtLongWork::end()
{
    if (--running_ > 0)
        return;
    showBusy(false);
    if (kept_.empty()) {
        if (sending_ == nullptr && keeping_) {
            keeping_ = false;
            qApp->removeEventFilter(this);
        }
        return;
    }
    // Sent from the event loop: the handler that calculated finishes first.
    if (!sendPosted_) {
        sendPosted_ = true;
        QMetaObject::invokeMethod(this, &QtLongWork::sendKeptInput, Qt::QueuedConnection);
    }
}

void QtLongWork::sendKeptInput()
{
    sendPosted_ = false;
    // A kept key may start another calculation; what is typed during that one joins the queue
    // behind what is still kept, so the order holds.
    while (running_ == 0 && !kept_.empty()) {
        Kept next = std::move(kept_.front());
        kept_.pop_front();
        if (next.receiver.isNull())
            continue;
        if (!next.event) {
            next.handler();
            continue;
        }
        const QEvent *outer = sending_;
        sending_ = next.event.get();
        QCoreApplication::sendEvent(next.receiver.data(), next.event.get());
        sending_ = outer;
    }
    if (running_ == 0 && kept_.empty() && sending_ == nullptr && keeping_) {
        keeping_ = false;
        qApp->removeEventFilter(this);
    }
}

void QtLongWork::whenIdle(QObject *context, std::function<void()> handler)
{
    if (current_ == nullptr || current_->running_ == 0) {
        handler();
        return;
    }
    current_->keep(Kept{context, nullptr, std::move(handler)});
}

void QtLongWork::keep(Kept kept)
{
    kept_.push_back(std::move(kept));
}

bool QtLongWork::isInputOfWindow(QObject *receiver, const QEvent *event) const
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::Close:
        // Taken where the toolkit first delivers them, at the window; the widgets then get
        // them from the window when they are sent on, to whichever has the focus by then.
        return receiver->isWindowType() && receiver == window_->windowHandle();
    case QEvent::Shortcut:
    case QEvent::InputMethod:
        for (QObject *o = receiver; o != nullptr; o = o->parent())
            if (o == window_)
                return true;
        return false;
    default:
        return false;
    }
}

bool QtLongWork::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)) {
        // A dialog of the expression (MsgBox, InputBox) waits for the user: no busy pointer on it.
        if (event->type() == QEvent::WindowBlocked)
            showBusy(false);
        return false;
    }
    if (event == sending_ || !isInputOfWindow(watched, event))
        return false;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && event->type() == QEvent::KeyPress && running_ > 0) {
            cancelled_ = true;
            escapeDown_ = true;
            return true;
        }
        if (key->key() == Qt::Key_Escape && event->type() == QEvent::KeyRelease && escapeDown_) {
            escapeDown_ = false;
            return true;
        }
    }
    keep(Kept{watched, std::unique_ptr<QEvent>(event->clone()), {}});
    event->accept();
    return true;
}

void QtLongWork::showBusy(bool busy)
{
    if (busy == busyShown_)
        return;
    busyShown_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace platform::qt
