#pragma once

#include <QString>

namespace platform {

// The language's message box styles and answers, as the window logic passes them.
namespace msgbox {
enum Buttons { OkOnly = 0, YesNo = 4 };
enum Icon { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum Answer { Ok = 1, Yes = 6, No = 7 };
} // namespace msgbox

// Modal message boxes. A box given no title shows the application's title "Tallix".
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;

    // `style` is a Buttons value plus an Icon value; returns the Answer of the button pressed.
    virtual int show(const QString &text, int style = msgbox::OkOnly, const QString &title = {}) = 0;
};

inline const QString ApplicationTitle = QStringLiteral("Tallix");

} // namespace platform
