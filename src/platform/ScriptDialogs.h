#pragma once

#include <QString>

#include <optional>

namespace platform {

// The dialogs of the expression language's MsgBox and InputBox, shown modally over the window.
class ScriptDialogs
{
public:
    virtual ~ScriptDialogs() = default;

    // `buttons` as the language numbers the sets (0 OK, 1 OK Cancel, 2 Abort Retry Ignore,
    // 3 Yes No Cancel, 4 Yes No, 5 Retry Cancel), `icon` 0 or 16, 32, 48, 64 (critical,
    // question, exclamation, information), `defaultButton` 0 to 3 counted in that order.
    // Returns the language's number of the button pressed (OK 1, Cancel 2, Abort 3, Retry 4,
    // Ignore 5, Yes 6, No 7).
    virtual int message(const QString &prompt, const QString &title, int buttons, int icon, int defaultButton) = 0;

    // A line of text, offered with `defaultText`; nothing when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) = 0;
};

} // namespace platform
