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
    // any step fails, and `error` then tells why.
    virtual bool replaceFile(const QString &path, const QByteArray &contents, QString &error) = 0;
    // The file opened for reading, or nullptr (missing, unreadable, a folder).
    virtual std::unique_ptr<QIODevice> openForReading(const QString &path) = 0;

    virtual QString programFolder() const = 0;
    virtual bool isWritableFolder(const QString &path) const = 0;
    virtual QString documentsFolder() const = 0; // the home folder where there is none
    virtual QDate today() const = 0;
};

} // namespace platform
