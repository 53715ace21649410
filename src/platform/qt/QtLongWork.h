#pragma once

#include "platform/LongWork.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>

class QEvent;
class QWidget;

namespace platform::qt {

// Keeps a window alive during a calculation on its own thread. Now and then the calculation
// hands the event loop its pending events: paints, screen readers' questions, the window
// manager's news. The window's input (keys, clicks, shortcuts, closing) is taken out on the way
// and kept, to be sent on in order once the handler that calculated has returned; so no
// handler of the window runs inside a calculation. Escape is not kept: it cancels. After
// BusyCursorAfter the pointer shows that the window is busy.
class QtLongWork : public QObject, public LongWork
{
public:
    static constexpr int BusyCursorAfter = 300; // ms
    static constexpr int PaintEvery = 20;       // ms between two turns of the event loop

    explicit QtLongWork(QWidget *window);
    ~QtLongWork() override;

    void begin() override;
    bool keepGoing() override;
    void end() override;

    // Runs the handler now or, during a calculation, after it, in order with the input kept
    // meanwhile: for what reaches a handler without being input, such as a screen reader's
    // "press" action on a button. `context` going away drops it.
    static void whenIdle(QObject *context, std::function<void()> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInputOfWindow(QObject *receiver, const QEvent *event) const;
    void showBusy(bool busy);
    void sendKeptInput();

    struct Kept
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event; // or, without one:
        std::function<void()> handler;
    };
    void keep(Kept kept);

    static QtLongWork *current_; // the window's, while it lives

    QWidget *window_;
    // Calculations under way: one, or more when a screen reader's action (which is no input
    // and so is not kept) ran one inside another.
    int running_ = 0;
    bool keeping_ = false; // input is kept until sendKeptInput has sent it
    bool cancelled_ = false;
    bool escapeDown_ = false;
    bool busyShown_ = false;
    bool sendPosted_ = false;
    QElapsedTimer since_;
    QElapsedTimer lastTurn_;
    std::deque<Kept> kept_;
    const QEvent *sending_ = nullptr; // the kept event now being sent on
};

} // namespace platform::qt
