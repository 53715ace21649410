#pragma once

#include "platform/Shell.h"

namespace platform::qt {

// Desktop entries are found, chosen and started by GIO (GLib's GDesktopAppInfo), as the
// desktop itself does: the desktop-ID sub-folder rule, TryExec and Hidden, Terminal=true (a
// terminal around the program) and DBusActivatable.
class QtShell : public Shell
{
public:
    QString findProgram(const QString &name) const override;
    bool startDetached(const QString &program) override;
    QString defaultApplication(const QString &mimeType) const override;
    bool startApplication(const QString &desktopEntry) override;
    bool openUrl(const QString &address) override;
};

} // namespace platform::qt
