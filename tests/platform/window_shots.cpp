// Pictures of the real window under a light or a dark theme, for looking at, not a test:
//   window_shots OUTPUT.png light|dark [palette]
// It calculates a few expressions first, so that the history shows working rows; with
// "palette" the function palette is open. QT_SCALE_FACTOR=2 gives the 2x picture.
#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/Button.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>

namespace {

QPalette darkFusion()
{
    QPalette p;
    const QColor window(53, 53, 53), base(35, 35, 35), text(220, 220, 220);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 3) {
        qWarning("usage: window_shots OUTPUT.png light|dark [palette]");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(qstrcmp(argv[2], "dark") == 0 ? darkFusion() : QApplication::style()->standardPalette());
    app::MainWindow window;
    app::FormTallix form(window.controls());
    form.Form_Load();
    window.show();
    QTimer::singleShot(300, &window, [&] {
        window.controls().Text1->onClick();
        for (const char *expression : {"238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3", "1/0", "2 ^ 0.5", "12 * 34"}) {
            window.controls().Text1->setText(QString::fromLatin1(expression));
            form.Command3_Click();
        }
        if (argc > 3 && qstrcmp(argv[3], "palette") == 0)
            window.controls().Command5->onClick();
        QTimer::singleShot(200, &window, [&] {
            window.grab().save(output);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
