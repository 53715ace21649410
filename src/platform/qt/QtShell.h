#pragma once

#include "platform/Shell.h"

namespace platform::qt {

class QtShell : public Shell
{
public:
    QString findProgram(const QString &name) const override;
    bool startDetached(const QString &program) override;
    QString defaultApplication(const QString &mimeType) const override;
    bool startApplication(const QString &desktopEntry) override;
    bool openUrl(const QString &address) override;

    // The command of a desktop entry's Exec line, its field codes (%f, %U...) left out;
    // empty when the entry has none. Exposed for its test.
    static QStringList execCommand(const QString &desktopEntryText);
};

} // namespace platform::qt
