#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>

class QIODevice;

namespace platform {

// Files and the few facts about the machine that the history commands need.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual bool fileExists(const QString &path) const = 0;
    // Replaces the file's contents whole, or not at all: the old file stays as it was when
    // any step fails, and `error` then names the file and tells why in the system's own words.
    // A symbolic link stays a link to the replaced file. Refuses a path that names anything
    // other than a regular file (a folder, a named pipe, a device, a loop of symbolic links),
    // or a link to one.
    virtual bool replaceFile(const QString &path, const QByteArray &contents, QString &error) = 0;
    // Why replaceFile would refuse the path before writing anything (it names a folder, a
    // named pipe, a device, a loop of links, or a link to one), or empty text.
    virtual QString replaceRefusal(const QString &path) const
    {
        Q_UNUSED(path);
        return {};
    }
    // The file opened for reading, when it is a regular file or a link to one; otherwise
    // nullptr, and `error` tells why (missing, unreadable, a folder, a named pipe, a device).
    // Never waits: a named pipe without a writer is refused, not opened.
    virtual std::unique_ptr<QIODevice> openForReading(const QString &path, QString &error) = 0;

    virtual QString programFolder() const = 0;
    virtual bool isWritableFolder(const QString &path) const = 0;
    virtual QString documentsFolder() const = 0; // the home folder where there is none
    virtual QDate today() const = 0;
};

} // namespace platform
