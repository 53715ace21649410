#include "FormTallix.h"
#include "MainWindow.h"

#include "platform/qt/OriginalFonts.h"

#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

const char *const versionText =
    "numerette " NUMERETTE_VERSION "\n"
    "Copyright (C) 2026 The Numerette project\n"
    "License MIT: <https://opensource.org/licenses/MIT>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

const char *const helpText =
    "usage: numerette [--help] [--version]\n"
    "\n"
    "Opens the Numerette calculator window: type an expression, press Enter, read the result.\n"
    "Expressions follow the VBScript expression language; numerette-eval calculates them\n"
    "on the command line.\n"
    "\n"
    "  -h, --help  this text\n"
    "  --version   the program's name, version and licence\n"
    "Any other argument is left to Qt (-platform, -style, ...), and the window opens.\n";

// --help and --version answer without a window (nor a display); 0, or 2 when the text could
// not be written. -1 when the window is to open.
int answerWithoutWindow(int argc, char *argv[])
{
    const char *text = nullptr;
    for (int i = 1; i < argc && text == nullptr; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version")
            text = versionText;
        else if (argument == "--help" || argument == "-h")
            text = helpText;
    }
    if (text == nullptr)
        return -1;
    errno = 0;
    if (std::fputs(text, stdout) < 0 || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "numerette: cannot write: %s\n", std::strerror(errno));
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int status = answerWithoutWindow(argc, argv); status >= 0)
        return status;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numerette"));
    QApplication::setApplicationVersion(QStringLiteral(NUMERETTE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("example.numerette.Numerette"));

    platform::qt::loadOriginalFonts();
    app::MainWindow window;
    app::FormTallix form(window.controls());
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
