#include "FormTallix.h"
#include "MainWindow.h"

#include "platform/qt/OriginalFonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numerette"));
    QApplication::setApplicationVersion(QStringLiteral("9.19"));
    QApplication::setDesktopFileName(QStringLiteral("example.numerette.Numerette"));

    platform::qt::loadOriginalFonts();
    app::MainWindow window;
    app::FormTallix form(window.controls());
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
