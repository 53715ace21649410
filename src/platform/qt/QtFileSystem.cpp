#include "QtFileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform::qt {

bool QtFileSystem::fileExists(const QString &path) const
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool QtFileSystem::replaceFile(const QString &path, const QByteArray &contents, QString &error)
{
    // QSaveFile writes a temporary file beside the target, flushes it and renames it over the
    // target only once it is complete; on any failure the temporary file is removed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.write(contents) != contents.size()) {
        error = file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<QIODevice> QtFileSystem::openForReading(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

QString QtFileSystem::programFolder() const { return QCoreApplication::applicationDirPath(); }

bool QtFileSystem::isWritableFolder(const QString &path) const
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString QtFileSystem::documentsFolder() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QDate QtFileSystem::today() const { return QDate::currentDate(); }

} // namespace platform::qt
