#include "FakeControls.h"

#include <QTest>

#include <memory>

using fakes::FakeForm;
using fakes::FakeTextBox;
using fakes::setState;
using fakes::stateOf;

namespace {

struct Entry : fakes::Started
{
    explicit Entry(bool started = true) : fakes::Started(started) {}
};

const QString bs(QChar(8));
const QString del(QChar(0x7F));

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT

private slots:
    // Keys typed into the box: "\b" is Backspace, DEL the Delete key, "@N" a click at N.
    void changeRule_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("after");
        QTest::newRow("operator at the end is spaced") << "|" << QStringList{"5", "+"} << "5 + |";
        QTest::newRow("into an empty box") << "|" << QStringList{"-", "5"} << " - 5|";
        QTest::newRow("a space already there stays") << "5 |" << QStringList{"+"} << "5  + |";
        QTest::newRow("operator after operator") << "5 * |" << QStringList{"*"} << "5 *  * |";
        QTest::newRow("in the middle as typed") << "1 +| 2" << QStringList{"*"} << "1 +*| 2";
        QTest::newRow("backspace is exempt") << "5 + |" << QStringList{bs} << "5 +|";
        QTest::newRow("delete is not") << "5+|3" << QStringList{del} << "5 + |";
        QTest::newRow("backspace, click at 0, key") << "5+3|" << QStringList{bs, "@0", "2"} << "25 + |";
        QTest::newRow("Mod stays") << "9 Mo|" << QStringList{"d"} << "9 Mod|";
        QTest::newRow("parenthesis stays") << "2 * |" << QStringList{"("} << "2 * (|";
        QTest::newRow("backslash is an operator") << "7|" << QStringList{"\\"} << "7 \\ |";
        QTest::newRow("only the end counts") << "|12" << QStringList{"^"} << "^|12";
    }

    void changeRule()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, keys);
        Entry e;
        setState(e.fake.Text1, before);
        for (const QString &key : keys) {
            if (key.startsWith('@'))
                e.fake.Text1.setSelStart(key.mid(1).toInt());
            else
                e.fake.Text1.typeText(key);
        }
        QTEST(stateOf(e.fake.Text1), "after");
    }

    void firstEntryRule()
    {
        Entry e(false);
        e.fake.List3.visible = true;
        e.fake.Text1.onClick();
        QVERIFY(!e.fake.List3.visible);
        QVERIFY(e.form->EntryStarted);
        QCOMPARE(e.fake.Text1.text(), QString());
        QCOMPARE(e.fake.Text2.text(), QString());
        QCOMPARE(e.fake.List1.rows.size() + e.fake.List2.rows.size(), 0);
        QCOMPARE(e.fake.Text1.foreColor(), platform::colors::Navy);
        QCOMPARE(e.fake.Text2.foreColor(), platform::colors::Navy);
        QCOMPARE(e.fake.List1.color, platform::colors::DarkNavy);
        QCOMPARE(e.fake.List2.color, platform::colors::DarkNavy);
        e.fake.Text1.setText(QStringLiteral("1 + 1"));
        e.fake.List3.visible = true;
        e.fake.Text1.onClick(); // a second click only hides the palette
        QCOMPARE(e.fake.Text1.text(), QStringLiteral("1 + 1"));
        QVERIFY(!e.fake.List3.visible);
    }

    void typedInFrontOfInstructions()
    {
        Entry e(false);
        e.fake.Text1.setSelStart(0);
        e.fake.Text1.type('x');
        e.fake.Text1.onClick();
        QVERIFY(e.form->EntryStarted);
        QVERIFY(e.fake.Text1.text().startsWith(QStringLiteral("xType in here")));
        QCOMPARE(e.fake.List1.rows.size(), 5);
    }

    void keypad_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<QString>("after");
        QTest::newRow("5 + 3") << "|" << QList<int>{5, 11, 3} << "5 + 3|";
        QTest::newRow("parenthesis at 0") << "|12" << QList<int>{16} << " ( |12";
        QTest::newRow("replaces the selection") << "1 [+] 2" << QList<int>{13} << "1  * | 2";
        QTest::newRow("whole text selected") << "[1 + 2]" << QList<int>{7} << "7|";
        QTest::newRow("decimal point") << "3|" << QList<int>{10, 1, 4} << "3.14|";
    }

    void keypad()
    {
        QFETCH(QString, before);
        QFETCH(QList<int>, buttons);
        Entry e;
        setState(e.fake.Text1, before);
        e.fake.window.focus = QStringLiteral("CommandNum");
        for (int b : buttons)
            e.form->CommandNum_Click(std::int16_t(b));
        QTEST(stateOf(e.fake.Text1), "after");
        QCOMPARE(e.fake.window.focus, QStringLiteral("Text1"));
    }

    void firstKeypadClickEndsInstructions()
    {
        Entry e(false);
        e.form->CommandNum_Click(9);
        QCOMPARE(stateOf(e.fake.Text1), QStringLiteral("9|"));
        QCOMPARE(e.fake.List1.rows.size(), 0);
        QVERIFY(e.form->EntryStarted);
    }

    void mouseOverKeypadClosesPalette()
    {
        Entry e;
        e.form->Command5_Click();
        QVERIFY(e.fake.List3.visible);
        e.fake.controls.CommandNum[3]->onMouseMove();
        QVERIFY(!e.fake.List3.visible);
        QCOMPARE(e.fake.Text1.text(), QString());
    }

    void backspaceButton_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("at the end") << "5 + |" << "5 +|";
        QTest::newRow("at 0 nothing") << "|12" << "|12";
        QTest::newRow("before a selection") << "1[23]" << "|23";
        QTest::newRow("a line break as one") << "1\r\n|2" << "1|2";
    }

    void backspaceButton()
    {
        QFETCH(QString, before);
        Entry e;
        setState(e.fake.Text1, before);
        e.fake.button(QStringLiteral("Command6")).click();
        QTEST(stateOf(e.fake.Text1), "after");
    }

    void clearCommands()
    {
        Entry e;
        setState(e.fake.Text1, QStringLiteral("1[2]3"));
        e.fake.Text2.setText(QStringLiteral("= 6"));
        e.fake.button(QStringLiteral("Command4")).click();
        QCOMPARE(e.fake.Text1.text() + e.fake.Text2.text(), QString());
        QCOMPARE(e.fake.window.focus, QStringLiteral("Text1"));
        static_cast<fakes::FakeMenuEntry *>(e.fake.controls.mnuClsPad)->choose();
        QCOMPARE(e.fake.Text1.text(), QString());
    }

    void palette_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("after");
        QTest::newRow("function into empty box") << "|" << 7 << "Sqr(|)";
        QTest::newRow("Mod at the end") << "9|" << 6 << "9 Mod |";
        QTest::newRow("function at 0") << "|2" << 9 << "Abs(|)2";
        QTest::newRow("function over a selection") << "2 + [3]" << 7 << "2 + Sqr(|)";
        QTest::newRow("backslash operator") << "8|" << 4 << "8 \\ |";
        QTest::newRow("Int as written") << "|" << 17 << "Int(|)";
    }

    void palette()
    {
        QFETCH(QString, before);
        QFETCH(int, row);
        Entry e;
        setState(e.fake.Text1, before);
        e.form->Command5_Click();
        QVERIFY(e.fake.List3.visible);
        QVERIFY(e.fake.List3.raised > 0);
        e.fake.List3.setListIndex(row);
        e.fake.List3.onClick();
        QVERIFY(!e.fake.List3.visible);
        QTEST(stateOf(e.fake.Text1), "after");
    }

    void functionAsFirstAction()
    {
        Entry e(false);
        e.fake.button(QStringLiteral("Command5")).click();
        QCOMPARE(e.fake.Text1.text() + e.fake.Text2.text(), QString());
        QCOMPARE(e.fake.List1.rows.size(), 0);
        QCOMPARE(e.fake.List1.color, platform::colors::Grey); // the history keeps its grey
        QVERIFY(!e.form->EntryStarted);
        e.form->CommandNum_Click(1);
        QVERIFY(e.form->EntryStarted);
        QCOMPARE(e.fake.List1.color, platform::colors::Grey);
    }

    void editMenu_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboardBefore");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::newRow("paste over selection") << "Text1" << "238 + [67]" << "5" << "paste" << "238 + 5|" << "5";
        QTest::newRow("cut") << "Text1" << "238[ + 67]" << "x" << "cut" << "238|" << " + 67";
        QTest::newRow("cut nothing selected") << "Text1" << "12|" << "x" << "cut" << "12|" << "x";
        QTest::newRow("copy") << "Text1" << "1[23]" << "x" << "copy" << "1[23]" << "23";
        QTest::newRow("copy nothing selected") << "Text1" << "123|" << "x" << "copy" << "123|" << "x";
        QTest::newRow("paste empty removes selection") << "Text1" << "1[23]4" << "" << "paste" << "1|4" << "";
        QTest::newRow("paste at caret") << "Text1" << "1|4" << "23" << "paste" << "123|4" << "23";
        // The caret is placed from the text before the change rule respaced it.
        QTest::newRow("paste respaced by the change rule") << "Text1" << "2|" << "+" << "paste" << "2 |+ " << "+";
        QTest::newRow("select all") << "Text1" << "1|23" << "x" << "selectAll" << "[123]" << "x";
        QTest::newRow("result box too") << "Text2" << "= [595].09" << "x" << "cut" << "= |.09" << "595";
        QTest::newRow("other focus does nothing") << "Command3" << "1[2]3" << "x" << "cut" << "1[2]3" << "x";
    }

    void editMenu()
    {
        QFETCH(QString, focus);
        QFETCH(QString, before);
        QFETCH(QString, command);
        Entry e;
        FakeTextBox &box = focus == QLatin1String("Text2") ? e.fake.Text2 : e.fake.Text1;
        setState(box, before);
        QFETCH(QString, clipboardBefore);
        e.fake.clipboard.content = clipboardBefore;
        e.fake.window.focus = focus;
        if (command == QLatin1String("cut"))
            e.form->mnuCut_Click();
        else if (command == QLatin1String("copy"))
            e.form->mnuCopy_Click();
        else if (command == QLatin1String("paste"))
            e.form->mnuPaste_Click();
        else
            e.form->mnuSelAll_Click();
        QTEST(stateOf(box), "after");
        QTEST(e.fake.clipboard.content, "clipboardAfter");
    }

    void cutGoesOnWhenClipboardFails()
    {
        Entry e;
        setState(e.fake.Text1, QStringLiteral("12[34]"));
        e.fake.window.focus = QStringLiteral("Text1");
        e.fake.clipboard.working = false;
        e.form->mnuCut_Click();
        QCOMPARE(stateOf(e.fake.Text1), QStringLiteral("12|"));
        e.form->mnuPaste_Click(); // nothing to read: goes on with empty text
        QCOMPARE(stateOf(e.fake.Text1), QStringLiteral("12|"));
    }

    // No text is dropped and no count overflows, however long the text or the selection.
    void longTexts_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("70,000") << 70000;
        QTest::newRow("200,000") << 200000;
    }

    void longTexts()
    {
        QFETCH(int, length);
        const QString digits(length, '7');
        Entry e;
        e.fake.window.focus = QStringLiteral("Text1");

        e.fake.Text1.setText(digits);
        e.fake.Text1.setSelStart(length);
        e.fake.Text1.type('+');
        QCOMPARE(e.fake.Text1.selStart(), length + 3); // the true end

        e.fake.Text1.setText(digits);
        e.fake.Text1.setSelStart(10);
        e.form->CommandNum_Click(11);
        QCOMPARE(e.fake.Text1.text().size(), length + 3);
        QCOMPARE(e.fake.Text1.selStart(), 13);

        e.fake.Text1.setText(digits);
        e.fake.Text1.setSelStart(5);
        e.fake.Text1.setSelLength(length - 10); // a selection far over 32,767
        e.fake.List3.setListIndex(7);
        e.fake.List3.onClick();
        QCOMPARE(e.fake.Text1.text(), QStringLiteral("77777Sqr()77777"));
        QVERIFY(e.fake.messages.shown.isEmpty());

        e.fake.Text1.setText(digits);
        e.form->mnuSelAll_Click();
        QCOMPARE(e.fake.Text1.selLength(), length);
        e.form->mnuCut_Click();
        QCOMPARE(e.fake.clipboard.content.size(), length);
        QCOMPARE(e.fake.Text1.text(), QString());
        e.form->mnuPaste_Click();
        e.form->mnuPaste_Click();
        QCOMPARE(e.fake.Text1.text().size(), 2 * length);
        QCOMPARE(e.fake.Text1.selStart(), 2 * length);
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_entry.moc"
