#include "QtFileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::qt {

bool QtFileSystem::fileExists(const QString &path) const
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

namespace {

// What a path names when it is not a regular file, for the messages.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a special file");
}

QString shown(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

QString notRegular(const QString &verb, const QString &path, mode_t mode)
{
    return QStringLiteral("Cannot %1 %2: it is %3, not a regular file.")
        .arg(verb, shown(path), kindOf(mode));
}

QString systemError(const QString &verb, const QString &path, int error)
{
    return QStringLiteral("Cannot %1 %2: %3").arg(verb, shown(path), qt_error_string(error));
}

// write(2) until everything is out; false with errno set when the system refuses.
bool writeAll(int fd, const QByteArray &contents)
{
    const char *data = contents.constData();
    qsizetype left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= qsizetype(written);
    }
    return true;
}

} // namespace

QString QtFileSystem::replaceRefusal(const QString &path) const
{
    const QString verb = QStringLiteral("save to");
    // The rename of a save would put a regular file in the place of a pipe or a device.
    struct stat target{};
    if (::stat(QFile::encodeName(path).constData(), &target) == 0)
        return S_ISREG(target.st_mode) ? QString() : notRegular(verb, path, target.st_mode);
    // Nothing there yet (a new file, or a link to one) is what a save makes. Anything else the
    // system cannot follow (a loop of symbolic links) would be replaced by a regular file.
    return errno == ENOENT ? QString() : systemError(verb, path, errno);
}

bool QtFileSystem::replaceFile(const QString &path, const QByteArray &contents, QString &error)
{
    error = replaceRefusal(path);
    if (!error.isEmpty())
        return false;
    const QString verb = QStringLiteral("save to");
    // QSaveFile writes a temporary file beside the target (beside a link's target), keeps the
    // target's permissions and renames the temporary over the target only once it is complete;
    // on any failure the temporary file is removed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot %1 %2: %3").arg(verb, shown(path), file.errorString());
        return false;
    }
    // Written and synced through the descriptor, so that a failure is told in the system's own
    // words: through QSaveFile a full disk comes out as "Unknown error".
    if (!writeAll(file.handle(), contents) || ::fsync(file.handle()) != 0) {
        error = systemError(verb, path, errno);
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("Cannot %1 %2: %3").arg(verb, shown(path), file.errorString());
        return false;
    }
    return true;
}

std::unique_ptr<QIODevice> QtFileSystem::openForReading(const QString &path, QString &error)
{
    const QString verb = QStringLiteral("load");
    const QByteArray native = QFile::encodeName(path);
    // Looked at before opening, so that a device is never opened at all.
    struct stat info
    {
    };
    if (::stat(native.constData(), &info) != 0) {
        error = systemError(verb, path, errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = notRegular(verb, path, info.st_mode);
        return nullptr;
    }
    // The path may name something else by now: O_NONBLOCK keeps a named pipe from waiting for
    // a writer, and the opened descriptor is looked at again.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(verb, path, errno);
        return nullptr;
    }
    if (::fstat(fd, &info) != 0) {
        error = systemError(verb, path, errno);
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = notRegular(verb, path, info.st_mode);
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = QStringLiteral("Cannot %1 %2: %3").arg(verb, shown(path), file->errorString());
        ::close(fd);
        return nullptr;
    }
    return file;
}

QString QtFileSystem::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

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

QDate QtFileSystem::today() const
{
    return QDate::currentDate();
}

} // namespace platform::qt
