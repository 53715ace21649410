// Writes the application icon as PNG files of the given sizes, for the desktop's icon theme:
//   render_icon OUTPUT_DIR 16 32 48 ...   (OUTPUT_DIR/<size>x<size>/apps/numerette.png)
// The same drawing as the window's own icon, painted at each size, so every size is sharp.
#include "platform/qt/ButtonPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_icon OUTPUT_DIR SIZE...\n");
        return 2;
    }
    const QIcon icon = platform::qt::applicationIcon();
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0)
            return 2;
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) || !icon.pixmap(size, size).save(folder + QStringLiteral("/numerette.png")))
            return 1;
    }
    return 0;
}
