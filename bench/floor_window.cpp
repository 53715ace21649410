// The floor of the start-up benchmark: the least a Qt Widgets program with a main window and
// a menu bar costs to start on this machine, started the way main.cpp starts the calculator.
// It shows the calculator's window size and menu titles, and nothing in its client area.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numerette floor"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral(" Numerette floor"));
    for (const char *title : {"&File", "&Edit", "&Clear", "&Decimal Places", "&Utility", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Entry"));
    window.setCentralWidget(new QWidget);
    window.setFixedSize(585, 382 + window.menuBar()->sizeHint().height());
    window.show();
    return QApplication::exec();
}
