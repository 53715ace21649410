#pragma once

#include <QString>

#include <functional>

namespace platform {

class MenuEntry;

// A window of the program: its place on the screen, its menus, focus and end.
// Sizes and positions are in twips (15 to a pixel).
class Window
{
public:
    virtual ~Window() = default;

    virtual QString caption() const = 0;
    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;
    virtual int width() const = 0;  // outer size: title bar, menu bar and borders included
    virtual int height() const = 0;
    virtual void move(int left, int top) = 0;

    // Shows the menu bar's menu `menuName` as a pop-up, its top-left corner at (x, y) of the
    // client area. Returns at once; choosing an entry later runs that entry's handler.
    virtual void popupMenu(const QString &menuName, int x, int y) = 0;

    // The name of the window's control that has the keyboard focus, empty when none has.
    virtual QString activeControlName() const = 0;

    // Has a screen reader say the text now (the outcome of a command), beside the focused control.
    virtual void announce(const QString &text) = 0;

    virtual void close() = 0;
    virtual void endProgram() = 0;

    std::function<void()> onActivate; // shown, or active again after another window of ours
    std::function<void()> onClick;     // a click on the background, not on a control
    std::function<void()> onMouseMove; // over the background
    // The outer size became known after it was read (a window manager framed the window late).
    std::function<void()> onFrameKnown;
    // Window-wide keys: Ctrl+L or F6 (go to the expression), Ctrl+Shift+C (copy the result).
    std::function<void()> onGoToExpressionKey;
    std::function<void()> onCopyResultKey;
};

} // namespace platform
