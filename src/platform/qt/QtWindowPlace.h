#pragma once

#include "AccessibleRole.h"
#include "Twips.h"

#include "platform/Window.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <type_traits>

namespace platform::qt {

// What every window of ours answers alike as a platform::Window: its caption, its place and
// size in twips on its screen, which of its controls has the focus, and its activation when it
// is first shown.
//
// Under a window manager the outer size (title bar and borders) is known only some time after
// the first show. A size read before then lacks the frame; once the frame's extents arrive,
// onFrameKnown tells so, and the window can be placed again with its outer size.
template <typename QtWindow>
class QtWindowPlace : public QtWindow, public platform::Window
{
public:
    using QtWindow::QtWindow;

    QString caption() const override { return this->windowTitle(); }
    int screenWidth() const override { return twips(this->screen()->geometry().width()); }
    int screenHeight() const override { return twips(this->screen()->geometry().height()); }
    int width() const override
    {
        noteSizeRead();
        const QMargins f = frame();
        return twips(this->geometry().width() + f.left() + f.right());
    }
    int height() const override
    {
        noteSizeRead();
        const QMargins f = frame();
        return twips(this->geometry().height() + f.top() + f.bottom());
    }

    void move(int left, int top) override
    {
        const QRect area = this->screen()->geometry();
        const QPoint place(area.x() + pixels(left), area.y() + pixels(top));
        // Once framed, the frame's corner is placed (a widget's own move would count the frame
        // twice on X11); before that the toolkit places what it can.
        if (QWindow *handle = this->windowHandle(); handle != nullptr && frameKnown())
            handle->setFramePosition(place);
        else
            QWidget::move(place);
    }

    QString activeControlName() const override
    {
        const QWidget *focused = QApplication::focusWidget();
        return focused != nullptr && focused->window() == this ? focused->objectName() : QString();
    }

    // Said by a screen reader, wherever the focus is: a notification that appears with the text.
    // (Qt 6.4 sends a changed description or name without its text, which Orca 43 cannot
    // read; a notification being shown it speaks.)
    void announce(const QString &text) override
    {
        if (notice_ == nullptr) {
            // An empty, see-through spot of one pixel, never a tab stop. In a main window it
            // sits on the central widget, which has no layout: shown on the main window itself,
            // each showing would lay out the main window again and leave an animation behind.
            QWidget *host = this;
            if constexpr (std::is_base_of_v<QMainWindow, QtWindow>)
                if (this->centralWidget() != nullptr)
                    host = this->centralWidget();
            notice_ = new QWidget(host);
            notice_->setObjectName(QStringLiteral("Announcement"));
            setAccessibleRole(notice_, QAccessible::Notification);
            notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
            notice_->setFocusPolicy(Qt::NoFocus);
            notice_->setGeometry(0, 0, 1, 1);
        }
        notice_->hide(); // shown again even for the same text: it is heard again
        notice_->setAccessibleName(text);
        notice_->show();
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QtWindow::showEvent(event);
        if (shownOnce_)
            return;
        shownOnce_ = true;
        QTimer::singleShot(0, this, [this] { // once the window is up
            if (onActivate)
                onActivate();
        });
        waitForFrame(0);
    }

private:
    // The window manager's frame around the window, as far as it has told it yet.
    QMargins frame() const
    {
        const QWindow *handle = this->windowHandle();
        return handle != nullptr && this->isVisible() ? handle->frameMargins() : QMargins();
    }
    bool frameKnown() const { return !frame().isNull(); }
    void noteSizeRead() const
    {
        if (!frameKnown())
            sizeReadWithoutFrame_ = true;
    }

    // Polled: the toolkit sends no event when the window manager reports its frame.
    void waitForFrame(int tries)
    {
        constexpr int Tries = 40; // 2 s: a window manager that has not framed it by then does not
        if (frameKnown()) {
            if (sizeReadWithoutFrame_ && onFrameKnown)
                onFrameKnown();
            sizeReadWithoutFrame_ = false;
            return;
        }
        if (tries < Tries)
            QTimer::singleShot(50, this, [this, tries] { waitForFrame(tries + 1); });
    }

    bool shownOnce_ = false;
    mutable bool sizeReadWithoutFrame_ = false;
    QWidget *notice_ = nullptr;
};

} // namespace platform::qt
