#pragma once

#include <QString>

namespace platform {

// Programs and addresses handed to the desktop. Nothing here waits for what it starts.
class Shell
{
public:
    virtual ~Shell() = default;

    // The full path of a program found on the search path, or empty text.
    virtual QString findProgram(const QString &name) const = 0;
    virtual bool startDetached(const QString &program) = 0;
    // The desktop's default application for a MIME type ("text/plain"), as the name of its
    // desktop entry, or empty text when the desktop names none.
    virtual QString defaultApplication(const QString &mimeType) const = 0;
    // Starts the application of a desktop entry, without a file; false when it cannot.
    virtual bool startApplication(const QString &desktopEntry) = 0;
    // Opens a web address in the desktop's default handler.
    virtual bool openUrl(const QString &address) = 0;
};

} // namespace platform
