#include "QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform::qt {

QString QtShell::findProgram(const QString &name) const { return QStandardPaths::findExecutable(name); }

bool QtShell::startDetached(const QString &program) { return QProcess::startDetached(program, {}); }

bool QtShell::openUrl(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }

} // namespace platform::qt
