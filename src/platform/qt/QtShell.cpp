#include "QtShell.h"

// GLib names a structure member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform::qt {

QString QtShell::findProgram(const QString &name) const { return QStandardPaths::findExecutable(name); }

bool QtShell::startDetached(const QString &program) { return QProcess::startDetached(program, {}); }

QString QtShell::defaultApplication(const QString &mimeType) const
{
    GAppInfo *info = g_app_info_get_default_for_type(mimeType.toUtf8().constData(), FALSE);
    if (info == nullptr)
        return {};
    const char *id = g_app_info_get_id(info);
    const QString entry = id != nullptr ? QString::fromUtf8(id) : QString();
    g_object_unref(info);
    return entry;
}

bool QtShell::startApplication(const QString &desktopEntry)
{
    // Null for an ID no data folder holds, or an entry whose TryExec program is missing.
    GDesktopAppInfo *info = g_desktop_app_info_new(desktopEntry.toUtf8().constData());
    if (info == nullptr)
        return false;
    GError *error = nullptr;
    const bool started = g_app_info_launch(reinterpret_cast<GAppInfo *>(info), nullptr, nullptr, &error) != FALSE;
    if (error != nullptr)
        g_error_free(error); // the fallback list comes next; the caller says when all failed
    g_object_unref(info);
    return started;
}

bool QtShell::openUrl(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }

} // namespace platform::qt
