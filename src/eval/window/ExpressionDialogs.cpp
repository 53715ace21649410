// MsgBox and InputBox in the window: the engine's dialog port, answered by the window's dialogs.
#include "app/FormTallix.h"

#include "eval/DialogPort.h"

#include "platform/ScriptDialogs.h"

#include <memory>

namespace app {
namespace {

// The engine's texts are UTF-8 with the line breaks the expression made; a dialog breaks lines
// at any of CR LF, CR and LF, as the platform's message box does.
QString dialogText(const std::string &text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

class DialogBridge : public eval::DialogPort
{
public:
    explicit DialogBridge(platform::ScriptDialogs &dialogs) : dialogs_(dialogs) {}

    int showMessage(const eval::MessageRequest &r) override
    {
        return dialogs_.message(dialogText(r.prompt), dialogText(r.title), r.buttons, r.icon, r.defaultButton);
    }

    std::optional<std::string> askText(const eval::InputRequest &r) override
    {
        std::optional<QString> typed =
            dialogs_.input(dialogText(r.prompt), dialogText(r.title), QString::fromStdString(r.defaultText));
        if (!typed)
            return std::nullopt;
        return typed->toStdString();
    }

private:
    platform::ScriptDialogs &dialogs_;
};

} // namespace

void FormTallix::connectScriptDialogs()
{
    if (c_.scriptDialogs == nullptr)
        return;
    scriptDialogs_ = std::make_unique<DialogBridge>(*c_.scriptDialogs);
    ScriptControl1.setDialogPort(scriptDialogs_.get());
}

} // namespace app
