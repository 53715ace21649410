#include "QtShell.h"

// GLib names a structure member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QDesktopServices>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform::qt {
namespace {

// GIO and the libraries it brings (GObject, libmount, libselinux, ...) are opened the first
// time a launcher asks, not at start-up: mapping and binding them cost every start a few
// milliseconds for a menu entry most sessions never use. Without GIO, no entry is found and
// none starts, and the caller's fallbacks take over.
struct Gio
{
    decltype(&g_app_info_get_default_for_type) defaultForType = nullptr;
    decltype(&g_app_info_get_id) id = nullptr;
    decltype(&g_desktop_app_info_new) desktopAppInfo = nullptr;
    decltype(&g_app_info_launch) launch = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    decltype(&g_object_unref) unref = nullptr;

    static const Gio *get()
    {
        static const Gio gio = load();
        return gio.unref != nullptr ? &gio : nullptr;
    }

private:
    template<typename F>
    static bool resolve(QLibrary &library, const char *name, F &function)
    {
        function = reinterpret_cast<F>(library.resolve(name));
        return function != nullptr;
    }

    static Gio load()
    {
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        Gio gio;
        // Symbols are looked up through the library's own dependencies (GLib and GObject).
        if (!library.load() || !resolve(library, "g_app_info_get_default_for_type", gio.defaultForType) ||
            !resolve(library, "g_app_info_get_id", gio.id) ||
            !resolve(library, "g_desktop_app_info_new", gio.desktopAppInfo) ||
            !resolve(library, "g_app_info_launch", gio.launch) || !resolve(library, "g_error_free", gio.errorFree) ||
            !resolve(library, "g_object_unref", gio.unref))
            return {};
        return gio; // the library stays loaded: QLibrary unloads only when asked to
    }
};

} // namespace

QString QtShell::findProgram(const QString &name) const { return QStandardPaths::findExecutable(name); }

bool QtShell::startDetached(const QString &program) { return QProcess::startDetached(program, {}); }

QString QtShell::defaultApplication(const QString &mimeType) const
{
    const Gio *gio = Gio::get();
    if (gio == nullptr)
        return {};
    GAppInfo *info = gio->defaultForType(mimeType.toUtf8().constData(), FALSE);
    if (info == nullptr)
        return {};
    const char *id = gio->id(info);
    const QString entry = id != nullptr ? QString::fromUtf8(id) : QString();
    gio->unref(info);
    return entry;
}

bool QtShell::startApplication(const QString &desktopEntry)
{
    const Gio *gio = Gio::get();
    if (gio == nullptr)
        return false;
    // Null for an ID no data folder holds, or an entry whose TryExec program is missing.
    GDesktopAppInfo *info = gio->desktopAppInfo(desktopEntry.toUtf8().constData());
    if (info == nullptr)
        return false;
    GError *error = nullptr;
    const bool started = gio->launch(reinterpret_cast<GAppInfo *>(info), nullptr, nullptr, &error) != FALSE;
    if (error != nullptr)
        gio->errorFree(error); // the fallback list comes next; the caller says when all failed
    gio->unref(info);
    return started;
}

bool QtShell::openUrl(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }

} // namespace platform::qt
