#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/ListBox.h"
#include "platform/qt/QtTextBox.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString sample = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");

struct Running
{
    app::MainWindow window;
    app::FormTallix form{window.controls()};

    Running()
    {
        form.Form_Load();
        window.show();
    }
    QPlainTextEdit *edit(const char *name) { return window.findChild<QPlainTextEdit *>(QLatin1String(name)); }
};

} // namespace

class TestQtWindow : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Text1") << "Text1" << QRect(120, 2920, 8535, 2295);
        QTest::newRow("Text2") << "Text2" << QRect(0, 0, 3375, 390);
        QTest::newRow("Command4") << "Command4" << QRect(120, 5280, 735, 375);
        QTest::newRow("Command5") << "Command5" << QRect(960, 5280, 855, 375);
        QTest::newRow("Command2") << "Command2" << QRect(1920, 5280, 855, 375);
        QTest::newRow("Command3") << "Command3" << QRect(6450, 5280, 975, 375);
        QTest::newRow("CommandCopy1") << "CommandCopy1" << QRect(7890, 5280, 375, 375);
        QTest::newRow("CommandCopy2") << "CommandCopy2" << QRect(8280, 5280, 375, 375);
        QTest::newRow("List1") << "List1" << QRect(120, 60, 6135, 2430);
        QTest::newRow("List2") << "List2" << QRect(5880, 60, 2775, 2430);
        QTest::newRow("Picture1") << "Picture1" << QRect(2880, 5280, 3500, 375);
        QTest::newRow("List3") << "List3" << QRect(960, 920, 855, 4350);
        QTest::newRow("CommandCC") << "CommandCC" << QRect(7500, 5280, 375, 375);
        QTest::newRow("Command1") << "Command1" << QRect(120, 2520, 735, 375);
        QTest::newRow("Command6") << "Command6" << QRect(7680, 2520, 495, 375);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        app::MainWindow window;
        QWidget *w = window.clientArea()->findChild<QWidget *>(name);
        QVERIFY(w);
        const QRect expected(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                             qRound(twips.height() / 15.0));
        QCOMPARE(w->geometry(), expected);
    }

    void windowShape()
    {
        Running r;
        QCOMPARE(r.window.clientArea()->size(), QSize(585, 382));
        QCOMPARE(r.window.windowTitle(), QStringLiteral(" Numerette 9.19"));
        QVERIFY(!(r.window.windowFlags() & Qt::WindowMaximizeButtonHint));
        const QList<QPushButton *> keys = r.window.findChildren<QPushButton *>(QStringLiteral("CommandNum"));
        QCOMPARE(keys.size(), 18);
        for (QPushButton *key : keys) {
            const int i = key->property("index").toInt();
            QCOMPARE(key->geometry(), QRect(qRound((1080 + 360 * i) / 15.0), 168, 25, 25));
        }
        QVERIFY(r.window.findChild<QAbstractItemView *>(QStringLiteral("List3"))->isHidden());
        QCOMPARE(r.window.findChild<QPushButton *>(QStringLiteral("CommandCopy2"))->toolTip(),
                 QStringLiteral("Copy the Math Expression and Resultt"));
    }

    // Screen readers and automation find every control by name; Tab visits them in order.
    void accessibleAndTabOrder()
    {
        app::MainWindow window;
        for (QWidget *w : window.clientArea()->findChildren<QWidget *>()) {
            if (qobject_cast<QPushButton *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                (qobject_cast<QAbstractItemView *>(w) && w->objectName().startsWith(QLatin1String("List"))))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("CommandCC"))->accessibleName(),
                 QStringLiteral("Sent the Result to Calculate Textbox"));
        QStringList order;
        QWidget *first = window.findChild<QWidget *>(QStringLiteral("Text1"));
        QWidget *w = first;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w && w != first);
        QCOMPARE(order.mid(0, 8), (QStringList{"Text1", "Text2", "Command4", "Command5", "Command2", "Command3",
                                               "CommandCopy1", "CommandCopy2"}));
    }

    void lineBreaksReadAsCrLf()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        box.setText(QStringLiteral("12\r\n34\r\n"));
        QCOMPARE(edit.toPlainText(), QStringLiteral("12\n34\n"));
        QCOMPARE(box.text(), QStringLiteral("12\r\n34\r\n"));
        box.setSelStart(4); // after the CR LF
        QCOMPARE(edit.textCursor().position(), 3);
        QCOMPARE(box.selStart(), 4);
        box.setSelStart(3); // between CR and LF: before the break
        QCOMPARE(box.selStart(), 2);
        box.setSelStart(0);
        box.setSelLength(6);
        QCOMPARE(box.selText(), QStringLiteral("12\r\n34"));
        box.setSelStart(65535); // beyond the end: the end, nothing selected
        QCOMPARE(box.selStart(), 8);
        QCOMPARE(box.selLength(), 0);
    }

    // The write runs the change handler nested; the handler sees the new text and may write again.
    void changeRunsNestedInsideTheWrite()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        QStringList seen;
        box.onChange = [&] {
            seen << box.text();
            if (box.text().endsWith('+'))
                box.setText(box.text().chopped(1) + QStringLiteral(" + "));
        };
        box.setText(QStringLiteral("5+"));
        QCOMPARE(seen, (QStringList{"5+", "5 + "}));
        QCOMPARE(box.text(), QStringLiteral("5 + "));
        box.setText(QStringLiteral("5 + ")); // the same text is no change
        QCOMPARE(seen.size(), 2);
    }

    // Programmatic writes are the smallest edit, so the widget's own undo takes one back.
    void writesKeepUndo()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        box.setText(QStringLiteral("1 + 2 * 4"));
        box.setText(QStringLiteral("1 + 3 * 4"));
        QCOMPARE(edit.toPlainText(), QStringLiteral("1 + 3 * 4"));
        edit.undo();
        QCOMPARE(box.text(), QStringLiteral("1 + 2 * 4"));
    }

    void keyPressHookComesFirst()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        QStringList seen;
        box.onKeyPress = [&](int &key) {
            seen << QStringLiteral("%1:%2").arg(key).arg(box.text());
            if (key == 'x')
                key = 0;
        };
        QTest::keyClicks(&edit, QStringLiteral("5x+"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Delete); // no character key: the hook does not see it
        QCOMPARE(seen, (QStringList{"53:", "120:5", "43:5", "8:5+"}));
        QCOMPARE(box.text(), QString());
    }

    void typingAndEnterCalculate()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        QPlainTextEdit *text1 = r.edit("Text1");
        r.window.controls().Text1->setText(QString());
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral("238+67*5.25-(65-6.5)/22+2^3"));
        QTest::keyClick(text1, Qt::Key_Return);
        const QString spaced = QStringLiteral("238 + 67 * 5.25 - (65 - 6.5) / 22 + 2 ^ 3");
        QCOMPARE(r.window.controls().Text1->text(), spaced); // Enter inserted no line break
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 595.09"));
        QCOMPARE(r.window.controls().Text2->foreColor(), platform::colors::Navy);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("CommandCC"));
        QCOMPARE(r.window.controls().List1->item(0), spaced);
        QCOMPARE(r.window.controls().List2->item(0), QStringLiteral("  = 595.09"));
    }

    void shortcutAndFocusedEnter()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        r.window.controls().Text1->setText(QStringLiteral("2^10"));
        r.edit("Text1")->setFocus();
        QTest::keyClick(r.edit("Text1"), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 1,024"));
        r.window.controls().Text1->setText(QStringLiteral("3*3"));
        auto *calculate = r.window.findChild<QPushButton *>(QStringLiteral("Command3"));
        calculate->setFocus();
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Command3"));
        QTest::keyClick(calculate, Qt::Key_Return);
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 9"));
    }

    void activationFocusesResultBox()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowExposed(&r.window));
        QTRY_COMPARE(r.window.activeControlName(), QStringLiteral("Text2"));
        QCOMPARE(r.window.controls().Text2->selStart(), 8);
    }
};

QTEST_MAIN(TestQtWindow)
#include "tst_qtwindow.moc"
