#pragma once

#include <optional>
#include <string>

namespace eval {

// What MsgBox shows. Texts are UTF-8, line breaks as the expression wrote them (vbCrLf).
struct MessageRequest
{
    std::string prompt;
    std::string title;
    int buttons = 0;       // vbOKOnly 0 to vbRetryCancel 5
    int icon = 0;          // none 0, vbCritical 16, vbQuestion 32, vbExclamation 48, vbInformation 64
    int defaultButton = 0; // 0 to 3: the first to the fourth button
};

// What InputBox asks.
struct InputRequest
{
    std::string prompt;
    std::string title;
    std::string defaultText;
};

// The engine's way to the user, for MsgBox and InputBox. The window gives its engine one; an
// engine without it refuses both, as the language does in a host that has no user interface.
class DialogPort
{
public:
    virtual ~DialogPort() = default;

    // Shows the message until a button is pressed; returns the language's number of that
    // button (vbOK 1, vbCancel 2, vbAbort 3, vbRetry 4, vbIgnore 5, vbYes 6, vbNo 7). Closing
    // the box by its title bar or Escape counts as Cancel where it has one, else as its only button.
    virtual int showMessage(const MessageRequest &request) = 0;

    // The text the user typed and confirmed, or nothing when the user cancelled.
    virtual std::optional<std::string> askText(const InputRequest &request) = 0;
};

} // namespace eval
