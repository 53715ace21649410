#pragma once

namespace platform {

// A piece of work on the window's own thread that may take seconds (a calculation). While it
// runs, the window keeps painting and answering screen readers; what the user types or clicks
// waits and is applied after the work, in order, as if the window had been busy; Escape alone
// is heard at once, and asks the work to stop.
class LongWork
{
public:
    virtual ~LongWork() = default;

    virtual void begin() = 0;
    // Called now and then from inside the work: lets the window paint, and says false once the
    // user has pressed Escape.
    virtual bool keepGoing() = 0;
    // The input that waited is applied once the handler that ran the work has returned.
    virtual void end() = 0;
};

} // namespace platform
