#pragma once

#include "Rgb.h"

#include <QString>

#include <functional>

namespace platform {

// A text box of the window, as the window logic sees it.
//
// Text and positions are the box's own: a line break reads as the two characters CR LF, and
// every position and length counts them as two. Writing the text runs the change handler to
// completion before the write returns, nested inside the writer. Writing a caret position
// beyond the end puts the caret at the end, and leaves nothing selected.
class TextBox
{
public:
    virtual ~TextBox() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;

    virtual int selStart() const = 0;
    virtual void setSelStart(int position) = 0; // clamped to the end; clears the selection
    virtual int selLength() const = 0;
    virtual void setSelLength(int length) = 0;  // from selStart, clamped to the end
    virtual QString selText() const = 0;
    // Replaces the selection with `text` by one write of the whole text (the change handler
    // runs once, as for any write), then puts the caret right after it. All of the text after
    // the selection is kept, however long.
    virtual void setSelText(const QString &text)
    {
        const int start = selStart();
        const QString current = this->text();
        const int selected = selLength();
        setText(current.left(start) + text + current.mid(start + selected));
        setSelStart(start + int(text.size()));
    }

    virtual void setForeColor(Rgb color) = 0;
    virtual Rgb foreColor() const = 0;
    virtual void setFocus() = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual bool isFontBold() const = 0;
    // The tooltip (empty text: none) and what a screen reader says of the box beside its name
    // (empty text: the box's own description again).
    virtual void setToolTip(const QString &text) = 0;
    virtual QString toolTip() const = 0;
    virtual void setAccessibleDescription(const QString &text) = 0;
    virtual QString accessibleDescription() const = 0;
    // Marks `length` characters from `start` as faulty with a wavy red underline (length 0:
    // the character before `start`, for a fault at the end). Changes neither the text, nor the
    // caret, nor the selection; the next change of the text takes the mark away, and so does
    // a start of -1.
    virtual void markFault(int start, int length) = 0;

    // After every change of the text, whatever made it.
    std::function<void()> onChange;
    // Each character key typed while the box has the focus, before the box applies it; setting
    // the code to 0 swallows the key. Backspace (8) and Enter (13) are character keys; Delete
    // and the arrow keys are not.
    std::function<void(int &keyAscii)> onKeyPress;
    // A mouse click in the box, after the box has placed the caret.
    std::function<void()> onClick;
    // The box got the focus from the keyboard: Tab or Shift+Tab.
    std::function<void()> onKeyboardFocus;
    // Ctrl+Up (-1) and Ctrl+Down (+1): a walk through earlier texts.
    std::function<void(int direction)> onRecall;
    std::function<void()> onMouseMove; // over the box, a button pressed or not
    std::function<void()> onMouseDown;
    std::function<void()> onMouseUp;
};

} // namespace platform
