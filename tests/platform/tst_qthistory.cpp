#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/Button.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace {

struct Running
{
    app::MainWindow window;
    app::FormTallix form{window.controls()};
    QPlainTextEdit *text1 = nullptr;
    QAbstractItemView *list1 = nullptr;
    QAbstractItemView *list2 = nullptr;

    Running()
    {
        form.Form_Load();
        window.show();
        text1 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        list1 = window.findChild<QAbstractItemView *>(QStringLiteral("List1"));
        list2 = window.findChild<QAbstractItemView *>(QStringLiteral("List2"));
    }
    bool start()
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        QTest::mouseClick(text1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        return true;
    }
    void calculate(const QString &expression)
    {
        box().setText(expression);
        text1->setFocus();
        QTest::keyClick(text1, Qt::Key_Return);
    }
    // Two entries in the history, "10 + " in the box with the caret at its end, and the focus
    // in the result list: ready for a key that puts a result's number into the box.
    void twoEntriesThenResultList()
    {
        calculate(QStringLiteral("1 + 1"));
        calculate(QStringLiteral("7 * 6"));
        box().setText(QStringLiteral("10 + "));
        box().setSelStart(100);
        list2->setFocus();
    }
    platform::TextBox &box() const { return *window.controls().Text1; }
    // Each key to whichever control has the focus when it comes, as a person types.
    static void type(const QString &keys)
    {
        for (QChar key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    static QPoint row(QAbstractItemView *list, int index)
    {
        QCoreApplication::processEvents(); // the view lays its rows out lazily
        return list->visualRect(list->model()->index(index, 0)).center();
    }
};

} // namespace

class TestQtHistory : public QObject
{
    Q_OBJECT

private slots:
    void doubleClickAndResultClick()
    {
        Running r;
        QVERIFY(r.start());
        r.calculate(QStringLiteral("1234.5678"));
        r.calculate(QStringLiteral("2 * 3"));
        const QPoint first = Running::row(r.list1, 0);
        QTest::mousePress(r.list1->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(r.list1->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(r.list1->viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(r.box().text(), QStringLiteral("1234.5678"));
        QCOMPARE(r.box().selStart(), 9);
        QCOMPARE(r.window.controls().Text2->text(), QString());

        r.box().setSelStart(0); // at 0
        QTest::mouseClick(r.list2->viewport(), Qt::LeftButton, {}, Running::row(r.list2, 1));
        QCOMPARE(r.box().text(), QStringLiteral("61234.5678"));
        QCOMPARE(r.box().selStart(), 1);
        r.box().setSelStart(2); // over a selection
        r.box().setSelLength(4);
        QTest::mouseClick(r.list2->viewport(), Qt::LeftButton, {}, Running::row(r.list2, 0));
        QCOMPARE(r.box().text(), QStringLiteral("611234.575678"));
        QCOMPARE(r.box().selStart(), 9);
        r.box().setSelStart(1000); // at the end
        QTest::mouseClick(r.list2->viewport(), Qt::LeftButton, {}, Running::row(r.list2, 1));
        QVERIFY(r.box().text().endsWith(QStringLiteral("56786")));
        QCOMPARE(r.box().selStart(), r.box().text().size());

        QTest::mouseClick(r.list1->viewport(), Qt::LeftButton, {}, Running::row(r.list1, 1));
        QCOMPARE(r.window.controls().List2->listIndex(), -1); // the result highlight went
    }

    // The two lists show the same top row whichever scrolls: wheel, keys or scroll bar.
    void scrollCouplingBothWays()
    {
        Running r;
        QVERIFY(r.start());
        QStringList rows;
        for (int i = 0; i < 200; ++i)
            rows << QString::number(i);
        r.window.controls().List1->addItems(rows);
        r.window.controls().List2->addItems(rows);
        QCoreApplication::processEvents();
        platform::ListBox &list1 = *r.window.controls().List1;
        platform::ListBox &list2 = *r.window.controls().List2;
        r.list2->verticalScrollBar()->setValue(120);
        QCOMPARE(list1.topIndex(), 120);
        r.list1->verticalScrollBar()->setValue(10);
        QCOMPARE(list2.topIndex(), 10);

        const QPoint inside(20, 20);
        QWheelEvent wheel(inside, r.list1->viewport()->mapToGlobal(inside), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(r.list1->viewport(), &wheel);
        QVERIFY(list1.topIndex() > 10);
        QCOMPARE(list2.topIndex(), list1.topIndex());

        r.list1->setFocus();
        QTest::keyClick(r.list1, Qt::Key_End);
        QCOMPARE(list1.listIndex(), 199);
        QVERIFY(list1.topIndex() > 150);
        QCOMPARE(list2.topIndex(), list1.topIndex());
        QCOMPARE(r.list2->indexAt(QPoint(2, 2)).row(), r.list1->indexAt(QPoint(2, 2)).row());
        r.list2->setFocus();
        QTest::keyClick(r.list2, Qt::Key_Home);
        QCOMPARE(list1.topIndex(), 0);
    }

    // With no row selected, every moving key selects a row and clicks it, as Down does.
    void firstKeySelects_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("box");
        QTest::newRow("Home") << int(Qt::Key_Home) << "10 + 2";
        QTest::newRow("PageUp") << int(Qt::Key_PageUp) << "10 + 2";
        QTest::newRow("End") << int(Qt::Key_End) << "10 + 42";
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << "10 + 42";
    }

    void firstKeySelects()
    {
        QFETCH(int, key);
        QFETCH(QString, box);
        Running r;
        QVERIFY(r.start());
        r.twoEntriesThenResultList();
        QCOMPARE(r.window.controls().List2->listIndex(), -1);
        QTest::keyClick(r.list2, Qt::Key(key));
        QCOMPARE(r.box().text(), box);
    }

    // The keys work the lists as clicks do: an arrow selects and clicks, Enter on an expression
    // row double-clicks, and Tab leaves the list.
    void keysWorkTheLists()
    {
        Running r;
        QVERIFY(r.start());
        r.twoEntriesThenResultList();
        QTest::keyClick(r.list2, Qt::Key_Down); // no row yet: the first
        QCOMPARE(r.box().text(), QStringLiteral("10 + 2"));
        QTest::keyClick(r.list2, Qt::Key_Down);
        QCOMPARE(r.box().text(), QStringLiteral("10 + 242"));
        QTest::keyClick(r.list2, Qt::Key_Down); // the last row already: no move, no click
        QCOMPARE(r.box().text(), QStringLiteral("10 + 242"));

        r.list1->setFocus();
        QTest::keyClick(r.list1, Qt::Key_Down);
        QCOMPARE(r.window.controls().List2->listIndex(), -1); // the click deselected the results
        QTest::keyClick(r.list1, Qt::Key_Return);
        QCOMPARE(r.box().text(), QStringLiteral("1 + 1"));
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));
        QCOMPARE(r.window.controls().Text2->text(), QString());

        r.list1->setFocus();
        QTest::keyClick(r.list1, Qt::Key_Tab);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("List2"));
        QTest::keyClick(r.list2, Qt::Key_Backtab);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("List1"));
    }

    void arrowInThePalettePicks()
    {
        Running r;
        QVERIFY(r.start());
        auto *palette = r.window.findChild<QAbstractItemView *>(QStringLiteral("List3"));
        r.box().setText(QStringLiteral("9"));
        r.box().setSelStart(1);
        r.window.controls().Command5->onClick();
        QVERIFY(palette->isVisible());
        QCOMPARE(palette->verticalScrollBar()->maximum(), 0); // all eighteen rows show
        palette->setFocus();
        QTest::keyClick(palette, Qt::Key_Down); // the first row, "+"
        QVERIFY(!palette->isVisible());
        QCOMPARE(r.box().text(), QStringLiteral("9 + "));
        r.window.controls().Command5->onClick();
        palette->setFocus();
        QTest::keyClick(palette, Qt::Key_End); // "Int"
        QCOMPARE(r.box().text(), QStringLiteral("9 + Int()"));
        QCOMPARE(r.box().selStart(), 8);
        r.window.controls().Command5->onClick();
        palette->setFocus();
        QTest::keyClick(palette, Qt::Key_Space); // the selected row again
        QCOMPARE(r.box().text(), QStringLiteral("9 + Int(Int())"));
        r.window.controls().Command5->onClick();
        palette->setFocus();
        QTest::keyClicks(palette, QStringLiteral("s")); // the first row starting with "S"
        QCOMPARE(r.box().text(), QStringLiteral("9 + Int(Int(Sqr()))"));
    }

    // After a calculation the focus is on the send button, so a second Enter sends the result.
    void secondEnterSendsTheResult()
    {
        Running r;
        QVERIFY(r.start());
        QTest::keyClicks(r.text1, QStringLiteral("1000*1.5"));
        QTest::keyClick(r.text1, Qt::Key_Return);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("CommandCC"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(r.box().text(), QStringLiteral("1500"));
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));
        QCOMPARE(r.box().selStart(), 4);
    }

    // Typing on after Enter loses no key: an operator goes on from the result, Backspace edits
    // it, Space still sends it, anything else starts anew; the focus ends in the box.
    void typingOnAfterEnter_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("backspace");
        QTest::addColumn<QString>("text");
        QTest::newRow("operator goes on") << "/2" << false << "1500 / 2";
        QTest::newRow("comparison goes on, unspaced") << ">1" << false << "1500>1";
        QTest::newRow("new expression") << "(97-84)/84" << false << "(97 - 84) / 84";
        QTest::newRow("letter starts anew") << "Sqr(9)" << false << "Sqr(9)";
        QTest::newRow("space sends the result") << " " << false << "1500";
        QTest::newRow("backspace edits the result") << "" << true << "150";
    }
    void typingOnAfterEnter()
    {
        QFETCH(QString, keys);
        QFETCH(bool, backspace);
        QFETCH(QString, text);
        Running r;
        QVERIFY(r.start());
        QTest::keyClicks(r.text1, QStringLiteral("1000*1.5"));
        QTest::keyClick(r.text1, Qt::Key_Return);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("CommandCC"));
        if (backspace)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        Running::type(keys);
        QCOMPARE(r.box().text(), text);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));
        QCOMPARE(r.box().selStart(), text.size());
        QCOMPARE(r.window.controls().List1->item(0), QStringLiteral("1000 * 1.5"));
    }

    // After a failure the expression is in no history and there is no result to go on from:
    // keys typed on the send button go on at the end of the expression.
    void typingOnAfterAFailureKeepsTheExpression()
    {
        Running r;
        QVERIFY(r.start());
        r.calculate(QStringLiteral("1/0"));
        r.window.findChild<QWidget *>(QStringLiteral("CommandCC"))->setFocus();
        Running::type(QStringLiteral("1"));
        QCOMPARE(r.box().text(), QStringLiteral("1/01"));
        r.window.findChild<QWidget *>(QStringLiteral("CommandCC"))->setFocus();
        Running::type(QStringLiteral("+"));
        QCOMPARE(r.box().text(), QStringLiteral("1/01 + "));
    }

    // Ctrl+Up and Ctrl+Down walk the expressions as a shell's history does, and past the newest
    // bring back what was being typed; Ctrl+L and F6 come back into the box with all selected;
    // Ctrl+Shift+C copies the bare result.
    void recallAndWindowKeys()
    {
        Running r;
        QVERIFY(r.start());
        r.calculate(QStringLiteral("1+1"));
        r.calculate(QStringLiteral("1234.5*1"));
        r.box().setText(QStringLiteral("7"));
        r.text1->setFocus();
        QStringList seen;
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(r.text1, key, Qt::ControlModifier);
            seen << r.box().text();
        };
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
            press(key);
        QCOMPARE(seen, (QStringList{"1234.5*1", "1+1", "1+1", "1234.5*1", "7", "7"}));
        QCOMPARE(r.box().selStart(), 1);
        // An edit ends the walk: the next one starts again at the newest.
        press(Qt::Key_Up);
        QTest::keyClicks(r.text1, QStringLiteral("2"));
        press(Qt::Key_Up);
        QCOMPARE(r.box().text(), QStringLiteral("1234.5*1"));
        // Right after Enter the box holds the newest expression: Ctrl+Up, on the send button
        // where the focus is, goes one further back.
        QTest::keyClick(r.text1, Qt::Key_Return);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("CommandCC"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(r.box().text(), QStringLiteral("1+1"));
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1234.5"));
        for (const QKeyCombination key : {QKeyCombination(Qt::ControlModifier, Qt::Key_L), QKeyCombination(Qt::Key_F6)}) {
            r.list2->setFocus();
            QTest::keyClick(r.list2, key.key(), key.keyboardModifiers());
            QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));
            QCOMPARE(r.box().selStart(), 0);
            QCOMPARE(r.box().selLength(), r.box().text().size());
        }
    }

    // Delete on a row removes the whole entry from both lists; on the instruction rows, nothing.
    void deleteRemovesTheEntry()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        r.list1->setFocus();
        QTest::keyClick(r.list1, Qt::Key_Down);
        QTest::keyClick(r.list1, Qt::Key_Delete);
        QCOMPARE(r.window.controls().List1->count(), 5);
        QCOMPARE(r.window.controls().List2->count(), 5);

        QTest::mouseClick(r.text1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        for (const char *e : {"1", "2", "3"})
            r.calculate(QString::fromLatin1(e));
        r.list2->setFocus();
        r.window.controls().List2->setListIndex(1);
        QTest::keyClick(r.list2, Qt::Key_Delete);
        QTest::keyClick(r.list2, Qt::Key_Delete); // the entry that moved up goes next
        QCOMPARE(r.window.controls().List1->item(0), QStringLiteral("1"));
        QCOMPARE(r.window.controls().List1->count(), 1);
        QCOMPARE(r.window.controls().List2->count(), 1);
    }

    // Each new entry is in sight in both lists, which stay side by side.
    void newEntryInSight()
    {
        Running r;
        QVERIFY(r.start());
        for (int i = 1; i <= 40; ++i)
            r.calculate(QString::number(i));
        QCoreApplication::processEvents();
        const int last = r.window.controls().List1->count() - 1;
        for (QAbstractItemView *list : {r.list1, r.list2})
            QVERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(last, 0))));
        QCOMPARE(r.window.controls().List1->topIndex(), r.window.controls().List2->topIndex());
        QVERIFY(r.window.controls().List1->topIndex() > 0);
    }
};

QTEST_MAIN(TestQtHistory)
#include "tst_qthistory.moc"
