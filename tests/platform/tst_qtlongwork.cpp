// A long calculation in the real window: nothing the user does reaches a handler before the
// calculation is over, and then all of it does, in order; Escape alone is heard at once.
#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/qt/QtLongWork.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Replace after Replace over a long text: a calculation of a second or so on an idle machine.
QString slowExpression()
{
    QString e = QStringLiteral("Space(2000000),\" \",\"a\"");
    for (int i = 0; i < 12; ++i)
        e = QStringLiteral("Replace(%1),\"%2\",\"%3\"").arg(e, QLatin1String(i % 2 ? "b" : "a"), QLatin1String(i % 2 ? "a" : "b"));
    return QStringLiteral("Len(Replace(%1))").arg(e);
}

struct Running
{
    app::MainWindow window;
    app::FormTallix form{window.controls()};
    QPlainTextEdit *text1 = nullptr;
    QPlainTextEdit *text2 = nullptr;

    explicit Running(const QString &expression)
    {
        form.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        text1 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        text2 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
        text1->setPlainText(expression);
        text1->setFocus();
        text1->moveCursor(QTextCursor::End);
    }
};

} // namespace

class TestQtLongWork : public QObject
{
    Q_OBJECT

private slots:
    // Keys, a shortcut and a click that come during the calculation wait for its end. The
    // calculation fails at its last step, so the focus stays in the expression box and the keys
    // show where they landed.
    void inputWaitsAndKeepsItsOrder()
    {
        const QString expression = slowExpression() + QStringLiteral(" + 1/0");
        Running r(expression);
        QWindow *window = r.window.windowHandle();
        QStringList seenInside;
        bool busyInside = false;
        QTimer::singleShot(50, [&] {
            QTest::keyClick(window, 'x');
            QTest::keyClick(window, 'y');
            QTest::keyClick(window, Qt::Key_E, Qt::ControlModifier); // Calculate: must not nest
            QTest::keyClick(window, 'z');
            seenInside << r.text1->toPlainText() << r.text2->toPlainText();
        });
        QTimer::singleShot(platform::qt::QtLongWork::BusyCursorAfter + 100, [&] {
            busyInside = QApplication::overrideCursor() != nullptr &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        QElapsedTimer took;
        took.start();
        r.form.Command3_Click();
        if (took.elapsed() < platform::qt::QtLongWork::BusyCursorAfter + 200)
            QSKIP("the calculation ended too soon to look inside it");
        QCOMPARE(seenInside, QStringList({expression, QStringLiteral("= 595.09")}));
        QVERIFY(busyInside);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(r.text2->toPlainText(), QStringLiteral("Error"));
        QCOMPARE(r.text1->toPlainText(), expression); // nothing yet: the command is just over
        // Then, from the event loop: "xy", the second calculation (Error again), then "z".
        QTRY_COMPARE(r.text1->toPlainText(), expression + QStringLiteral("xyz"));
        QCOMPARE(r.text2->toPlainText(), QStringLiteral("Error"));
    }

    // A screen reader's action is no input, but its handler waits all the same: "Clear"
    // pressed through the accessibility interface clears the box after the calculation.
    void screenReaderActionsWait()
    {
        const QString expression = slowExpression() + QStringLiteral(" + 1/0");
        Running r(expression);
        QString seenInside;
        QTimer::singleShot(50, [&] {
            QAccessibleInterface *clear = QAccessible::queryAccessibleInterface(
                r.window.findChild<QWidget *>(QStringLiteral("Command4")));
            if (QAccessibleActionInterface *actions = clear != nullptr ? clear->actionInterface() : nullptr)
                actions->doAction(QAccessibleActionInterface::pressAction());
        });
        QTimer::singleShot(250, [&] { seenInside = r.text1->toPlainText(); });
        QElapsedTimer took;
        took.start();
        r.form.Command3_Click();
        if (took.elapsed() < 300)
            QSKIP("the calculation ended too soon to look inside it");
        QCOMPARE(seenInside, expression);
        QCOMPARE(r.text1->toPlainText(), expression);
        QTRY_COMPARE(r.text1->toPlainText(), QString());
    }

    // A message box of the expression still opens, on this thread, and its answer returns to
    // the calculation; no busy pointer over it.
    void dialogsStillOpen()
    {
        Running r(slowExpression() + QStringLiteral(" + MsgBox(\"Go on?\")"));
        bool busyOverTheBox = true;
        QString shown;
        std::function<void()> answer = [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (box == nullptr) {
                QTimer::singleShot(20, answer);
                return;
            }
            shown = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
            busyOverTheBox = QApplication::overrideCursor() != nullptr;
            QTest::keyClick(box, Qt::Key_Return); // OK: 1
        };
        QTimer::singleShot(20, answer);
        r.form.Command3_Click();
        QCOMPARE(shown, QStringLiteral("GO ON?")); // the whole text is upper-cased first
        QVERIFY(!busyOverTheBox);
        QCOMPARE(r.text2->toPlainText(), QStringLiteral("= 2,000,001"));
    }

    void escapeCancels()
    {
        Running r(slowExpression());
        QTimer::singleShot(100, [&] { QTest::keyClick(r.window.windowHandle(), Qt::Key_Escape); });
        QElapsedTimer took;
        took.start();
        r.form.Command3_Click();
        QCOMPARE(r.text2->toPlainText(), QStringLiteral("Error"));
        QVERIFY2(took.elapsed() < 100 + 500, qPrintable(QString::number(took.elapsed())));
        QVERIFY(r.form.historyLists().instructionRowsShown()); // nothing appended
        // The same calculation, left alone, succeeds.
        r.form.Command3_Click();
        QCOMPARE(r.text2->toPlainText(), QStringLiteral("= 2,000,000"));
    }
};

QTEST_MAIN(TestQtLongWork)
#include "tst_qtlongwork.moc"
