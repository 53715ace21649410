#pragma once

#include "Twips.h"

#include "platform/Window.h"

#include <QApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWidget>

namespace platform::qt {

// What every window of ours answers alike as a platform::Window: its caption, its place and
// size in twips on its screen, which of its controls has the focus, and its activation when it
// is first shown.
template <typename QtWindow>
class QtWindowPlace : public QtWindow, public platform::Window
{
public:
    using QtWindow::QtWindow;

    QString caption() const override { return this->windowTitle(); }
    int screenWidth() const override { return twips(this->screen()->geometry().width()); }
    int screenHeight() const override { return twips(this->screen()->geometry().height()); }
    int width() const override { return twips(this->frameGeometry().width()); }
    int height() const override { return twips(this->frameGeometry().height()); }

    void move(int left, int top) override
    {
        const QRect area = this->screen()->geometry();
        QWidget::move(area.x() + pixels(left), area.y() + pixels(top));
    }

    QString activeControlName() const override
    {
        const QWidget *focused = QApplication::focusWidget();
        return focused != nullptr && focused->window() == this ? focused->objectName() : QString();
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
    }

private:
    bool shownOnce_ = false;
};

} // namespace platform::qt
