// Without fonts-wine the window falls back to the platform's sans font and still fits: whole
// rows in every list, the palette's eighteen rows without a scroll bar, captions unclipped.
// A process of its own, since the fonts are loaded once per process.
#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/Button.h"
#include "platform/qt/OriginalFonts.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QFontMetrics>
#include <QTableView>
#include <QTest>

class TestFontFallback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::qt::loadOriginalFonts(QStringLiteral("/nonexistent/fonts/")); }

    void windowFitsInTheFallbackFont()
    {
        if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
            QSKIP("MS Sans Serif is installed system-wide: no fallback to see");
        QVERIFY(!platform::qt::originalFontLoaded(QStringLiteral("MS Sans Serif")));
        app::MainWindow window;
        app::FormTallix form(window.controls());
        form.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *text1 = window.findChild<QWidget *>(QStringLiteral("Text1"));
        QCOMPARE(text1->font().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        QCOMPARE(text1->font().pointSizeF(), 13.5);
        window.controls().Command5->onClick(); // the palette: its rows are measured when it shows
        auto *palette = window.findChild<QTableView *>(QStringLiteral("List3"));
        QCoreApplication::processEvents();
        QCOMPARE(palette->verticalScrollBar()->maximum(), 0);
        for (const char *name : {"List1", "List2", "List3"}) {
            auto *list = window.findChild<QTableView *>(QLatin1String(name));
            const int row = list->verticalHeader()->defaultSectionSize();
            QCOMPARE(row, QFontMetrics(list->font()).height());
            QCOMPARE((list->height() - 2 * list->frameWidth()) % row, 0);
        }
        auto *calculate = window.findChild<QPushButton *>(QStringLiteral("Command3"));
        QVERIFY(calculate->fontMetrics().horizontalAdvance(calculate->text()) <= calculate->width());
    }
};

QTEST_MAIN(TestFontFallback)
#include "tst_fontfallback.moc"
