#include "QtShell.h"

#include <QDesktopServices>
#include <QFile>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform::qt {

QString QtShell::findProgram(const QString &name) const { return QStandardPaths::findExecutable(name); }

bool QtShell::startDetached(const QString &program) { return QProcess::startDetached(program, {}); }

QString QtShell::defaultApplication(const QString &mimeType) const
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    // A desktop that does not answer soon is not waited for: the fixed list follows.
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(500);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    const QString entry = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    return entry.endsWith(QLatin1String(".desktop")) ? entry : QString();
}

QStringList QtShell::execCommand(const QString &desktopEntryText)
{
    bool inEntry = false;
    for (const QString &rawLine : desktopEntryText.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            QStringList command = QProcess::splitCommand(line.mid(5));
            static const QRegularExpression fieldCode(QStringLiteral("^%[a-zA-Z]$"));
            command.removeIf([](const QString &part) { return fieldCode.match(part).hasMatch(); });
            for (QString &part : command)
                part.replace(QLatin1String("%%"), QLatin1String("%"));
            return command;
        }
    }
    return {};
}

bool QtShell::startApplication(const QString &desktopEntry)
{
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopEntry);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QStringList command = execCommand(QString::fromUtf8(file.readAll()));
    if (command.isEmpty())
        return false;
    const QString program = QStandardPaths::findExecutable(command.takeFirst());
    return !program.isEmpty() && QProcess::startDetached(program, command);
}

bool QtShell::openUrl(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }

} // namespace platform::qt
