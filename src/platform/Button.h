#pragma once

#include <functional>

namespace platform {

// A push button. A focused button is pressed by Space and by Enter alike.
class Button
{
public:
    virtual ~Button() = default;

    virtual int left() const = 0; // position in the window's client area, in twips
    virtual int top() const = 0;
    virtual void setFocus() = 0;

    std::function<void()> onClick;
    std::function<void()> onMouseMove;
    // A character key (Backspace included) typed while the button has the focus, other than
    // Space and Enter, which press it. The handler may move the focus: a key it leaves non-zero
    // then goes on to the control that has the focus now, as if typed there.
    std::function<void(int &keyAscii)> onKeyPress;
    // Ctrl+Up (-1) and Ctrl+Down (+1) while the button has the focus.
    std::function<void(int direction)> onRecall;
};

} // namespace platform
