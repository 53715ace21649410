#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Running
{
    app::MainWindow window;
    app::FormTallix form{window.controls()};
    QPlainTextEdit *text1 = nullptr;

    Running()
    {
        form.Form_Load();
        window.show();
        text1 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    }
    bool start()
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        QTest::mouseClick(text1->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); // the first click
        return text1->hasFocus();
    }
    platform::TextBox &box() const { return *window.controls().Text1; }
    QPushButton *key(int index) const
    {
        for (QPushButton *b : window.findChildren<QPushButton *>(QStringLiteral("CommandNum")))
            if (b->property("index").toInt() == index)
                return b;
        return nullptr;
    }
};

} // namespace

class TestQtEntry : public QObject
{
    Q_OBJECT

private slots:
    void realKeys()
    {
        Running r;
        QVERIFY(r.start());
        QCOMPARE(r.box().text(), QString()); // the instruction text went with the first click
        QTest::keyClicks(r.text1, QStringLiteral("5+"));
        QCOMPARE(r.box().text(), QStringLiteral("5 + "));
        QCOMPARE(r.box().selStart(), 4);
        QTest::keyClick(r.text1, Qt::Key_Backspace);
        QCOMPARE(r.box().text(), QStringLiteral("5 +")); // exempt
        QTest::keyClick(r.text1, Qt::Key_3);
        QTest::keyClick(r.text1, Qt::Key_Left);
        QTest::keyClick(r.text1, Qt::Key_Delete); // no character key: the rule spaces
        QCOMPARE(r.box().text(), QStringLiteral("5  + "));
        QTest::keyClick(r.text1, Qt::Key_1);
        QTest::keyClick(r.text1, Qt::Key_Return);
        QCOMPARE(r.box().text(), QStringLiteral("5  + 1"));
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 6"));
    }

    // A typed operator and its spacing, or a keypad insertion, reach the widget's caret once,
    // where it belongs: no detour through the start (each move lays a long line out again and
    // scrolls the view).
    void insertionMovesTheCaretOnce_data()
    {
        QTest::addColumn<bool>("keypad");
        QTest::newRow("typed + at the end") << false;
        QTest::newRow("keypad + in the middle") << true;
    }
    void insertionMovesTheCaretOnce()
    {
        QFETCH(bool, keypad);
        Running r;
        QVERIFY(r.start());
        const QString before = QStringLiteral("12.5 + 340 * ").repeated(400) + QStringLiteral("7");
        const int at = keypad ? 2600 : int(before.size());
        r.box().setText(before);
        r.box().setSelStart(at);
        QList<int> caret;
        connect(r.text1, &QPlainTextEdit::cursorPositionChanged, this,
                [&] { caret << r.text1->textCursor().position(); });
        if (keypad)
            QTest::mouseClick(r.key(11), Qt::LeftButton);
        else
            QTest::keyClick(r.text1, Qt::Key_Plus);
        QCOMPARE(r.box().text(), before.left(at) + QStringLiteral(" + ") + before.mid(at));
        QVERIFY2(!caret.contains(0), qPrintable(QStringLiteral("%1 caret moves").arg(caret.size())));
        QCOMPARE(caret.last(), at + 3);
        QCOMPARE(r.box().selStart(), at + 3);
        r.text1->setFocus();
        QTest::keyClick(r.text1, Qt::Key_Z, Qt::ControlModifier); // one undo takes it back
        QCOMPARE(r.box().text(), before);
    }

    void paletteAboveTheBox()
    {
        Running r;
        QVERIFY(r.start());
        QTest::mouseClick(r.window.findChild<QPushButton *>(QStringLiteral("Command5")), Qt::LeftButton);
        auto *palette = r.window.findChild<QAbstractItemView *>(QStringLiteral("List3"));
        QVERIFY(palette->isVisible());
        // Stacked above the expression box it overlaps.
        const QObjectList siblings = r.window.clientArea()->children();
        QVERIFY(siblings.indexOf(palette) > siblings.indexOf(r.text1));
        const QRect row = palette->visualRect(palette->model()->index(7, 0));
        QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(!palette->isVisible());
        QCOMPARE(r.box().text(), QStringLiteral("Sqr()"));
        QCOMPARE(r.box().selStart(), 4);
    }

    // Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+A run the menu's commands through Qt's clipboard.
    void menuShortcutsAndClipboard()
    {
        Running r;
        QVERIFY(r.start());
        QTest::keyClicks(r.text1, QStringLiteral("12*34"));
        QTest::keyClick(r.text1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(r.box().selLength(), 7);
        QTest::keyClick(r.text1, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(r.box().text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12 * 34"));
        QGuiApplication::clipboard()->setText(QStringLiteral("1\n2"));
        QTest::keyClick(r.text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(r.box().text(), QStringLiteral("1\r\n2"));
        QCOMPARE(r.box().selStart(), 4);
        r.box().setSelStart(0);
        r.box().setSelLength(3);
        QTest::keyClick(r.text1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1\n"));
    }

    void undoAfterKeypad()
    {
        Running r;
        QVERIFY(r.start());
        QTest::keyClicks(r.text1, QStringLiteral("7"));
        QTest::mouseClick(r.key(11), Qt::LeftButton); // " + "
        QTest::mouseClick(r.key(2), Qt::LeftButton);
        QCOMPARE(r.box().text(), QStringLiteral("7 + 2"));
        r.text1->setFocus();
        QTest::keyClick(r.text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.box().text(), QStringLiteral("7 + "));
        QTest::keyClick(r.text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.box().text(), QStringLiteral("7"));
    }
};

QTEST_MAIN(TestQtEntry)
#include "tst_qtentry.moc"
