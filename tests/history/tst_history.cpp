#include "FakeControls.h"

#include "history/HistoryFile.h"

#include <QBuffer>
#include <QTest>

#include <memory>

using fakes::FakeForm;
using fakes::setState;
using fakes::stateOf;

namespace {

struct History : fakes::Started
{
    const QString folder = QStringLiteral("/home/user");

    explicit History(bool started = true) : fakes::Started(started) {}
    void add(const QString &expression, const QString &result) { form->historyLists().appendEntry(expression, result); }
    QString path(const QString &name) const { return folder + QLatin1Char('/') + name; }
    QByteArray readAll(const QString &path) const
    {
        return fake.fileSystem.files.value(path, QByteArrayLiteral("<missing>"));
    }
    void write(const QString &path, const QByteArray &bytes) { fake.fileSystem.files.insert(path, bytes); }
    void save(const QString &path)
    {
        fake.fileDialogs.answers.push_back(path);
        form->mnuSave_Click();
    }
    void load(const QString &path)
    {
        fake.fileDialogs.answers.push_back(path);
        form->mnuLoad_Click();
    }
};

std::vector<history::LoadedEntry> parse(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return history::readHistoryFile(buffer, 1 << 20);
}

QString joined(const std::vector<history::LoadedEntry> &entries)
{
    QStringList parts;
    for (const auto &e : entries)
        parts << e.expression + QLatin1Char('|') + e.numberText;
    return parts.join(QLatin1Char(';'));
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void resultClickInserts_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty box") << "|" << "1234.57|";
        QTest::newRow("caret at the end") << "2 * |" << "2 * 1234.57|";
        QTest::newRow("selection at the start") << "[123] + 1" << "1234.57| + 1";
        QTest::newRow("selection inside") << "1 + [99] + 1" << "1 + 1234.57| + 1";
        QTest::newRow("caret at 0") << "|+ 1" << "1234.57|+ 1";
    }

    void resultClickInserts()
    {
        QFETCH(QString, before);
        History h;
        h.add(QStringLiteral("1234.5678"), QStringLiteral("= 1,234.57"));
        setState(h.fake.Text1, before);
        h.fake.List2.setListIndex(0);
        h.fake.List2.onClick();
        QTEST(stateOf(h.fake.Text1), "after");
        QCOMPARE(h.fake.window.focus, QStringLiteral("Text1"));
        QCOMPARE(h.fake.List2.selected, 0); // the selections stay
    }

    void instructionRowsDoNothing()
    {
        History h(false);
        const QString instructions = h.fake.Text1.text();
        for (int row = 0; row < 5; ++row) {
            h.fake.List3.visible = true;
            h.fake.List2.setListIndex(row);
            h.fake.List2.onClick();
            QVERIFY(!h.fake.List3.visible);
            h.fake.List1.setListIndex(row);
            h.fake.List1.onDoubleClick();
        }
        QCOMPARE(h.fake.Text1.text(), instructions);
        QCOMPARE(h.fake.Text2.text(), QStringLiteral("= 595.09"));
    }

    void doubleClickPutsExpressionBack()
    {
        History h;
        h.add(QStringLiteral("2 ^ 10"), QStringLiteral("= 1,024"));
        setState(h.fake.Text1, QStringLiteral("7 [+] 8"));
        h.fake.Text2.setText(QStringLiteral("= 15"));
        h.fake.List1.onDoubleClick(); // no row selected: ignored
        QCOMPARE(h.fake.Text2.text(), QStringLiteral("= 15"));
        h.fake.List1.setListIndex(0);
        h.fake.List1.onDoubleClick();
        QCOMPARE(stateOf(h.fake.Text1), QStringLiteral("2 ^ 10|"));
        QCOMPARE(h.fake.Text2.text(), QString());
    }

    void expressionClickClearsResultHighlight()
    {
        History h;
        h.add(QStringLiteral("1"), QStringLiteral("= 1"));
        h.fake.List2.setListIndex(0);
        h.fake.List1.setListIndex(0);
        h.fake.List1.onClick();
        QCOMPARE(h.fake.List2.selected, -1);
        QCOMPARE(h.fake.List1.selected, 0);
    }

    // Whichever list scrolls, the other shows the same top row.
    void scrollCouplingBothWays()
    {
        History h;
        h.fake.List2.top = 40;
        h.fake.List2.onScroll();
        QCOMPARE(h.fake.List1.top, 40);
        h.fake.List1.top = 7;
        h.fake.List1.onScroll();
        QCOMPARE(h.fake.List2.top, 7);
    }

    void clearCommands()
    {
        History h;
        for (auto clear : {&app::FormTallix::Command1_Click, &app::FormTallix::mnuClsHistory_Click,
                           &app::FormTallix::mnuClearAll_Click}) {
            h.add(QStringLiteral("1"), QStringLiteral("= 1"));
            h.fake.Text1.setText(QStringLiteral("5"));
            h.fake.Text2.setText(QStringLiteral("= 5"));
            (h.form.get()->*clear)();
            QCOMPARE(h.fake.List1.rows.size() + h.fake.List2.rows.size(), 0);
            const bool all = clear == &app::FormTallix::mnuClearAll_Click;
            QCOMPARE(h.fake.Text1.text().isEmpty(), all);
            QCOMPARE(h.fake.Text2.text().isEmpty(), all);
        }
    }

    void copyButtons_data()
    {
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QString>("copy1");
        QTest::addColumn<QString>("copy2");
        QTest::newRow("separators") << "1234.567" << "= 1,234.57" << "1234.57" << "1234.567 = 1,234.57";
        QTest::newRow("negative") << "0 - 2.5" << "= -2.5" << "-2.5" << "0 - 2.5 = -2.5";
        QTest::newRow("error") << "1/0" << "Error" << "Error" << "1/0 Error";
        QTest::newRow("empty result") << "7" << "" << "" << "7 ";
        QTest::newRow("line breaks stay") << "1 +\r\n2" << "= 3" << "3" << "1 +\r\n2 = 3";
    }

    void copyButtons()
    {
        QFETCH(QString, text1);
        QFETCH(QString, text2);
        History h;
        h.fake.Text1.setText(text1);
        h.fake.Text2.setText(text2);
        h.form->CommandCopy1_Click();
        QTEST(h.fake.clipboard.content, "copy1");
        h.form->CommandCopy2_Click();
        QTEST(h.fake.clipboard.content, "copy2");
        QCOMPARE(h.fake.clipboard.clears, 2); // cleared before each write
        h.form->CommandCC_Click();
        QFETCH(QString, copy1);
        QCOMPARE(stateOf(h.fake.Text1), copy1 + QLatin1Char('|')); // the caret at the end
        QCOMPARE(h.fake.Text2.text(), text2);
    }

    void copyWithBusyClipboardChangesNothing()
    {
        History h;
        h.fake.clipboard.content = QStringLiteral("kept");
        h.fake.clipboard.working = false;
        h.form->CommandCopy2_Click();
        h.form->CommandCopy1_Click();
        QCOMPARE(h.fake.clipboard.content, QStringLiteral("kept"));
        QVERIFY(h.fake.messages.shown.isEmpty());
    }

    void fileFormat()
    {
        const QString sample = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");
        History h;
        h.add(sample, QStringLiteral("= 595.09"));
        h.add(QStringLiteral("5 \u20AC \u4E2D"), QStringLiteral("= 1,234.5"));
        const QString first = h.path(QStringLiteral("a.txt"));
        h.save(first);
        QCOMPARE(h.readAll(first), sample.toLatin1() + "  = 595.09\r\n5 \x80 ?  = 1,234.5\r\n \r\n");
        // Loading into empty lists and saving again gives the same bytes.
        h.form->Command1_Click();
        h.load(first);
        QCOMPARE(h.fake.List1.rows, (QStringList{sample, QStringLiteral("5 \u20AC ?")}));
        QCOMPARE(h.fake.List2.rows, (QStringList{"  = 595.09", "  = 1,234.5"}));
        const QString second = h.path(QStringLiteral("b.txt"));
        h.save(second);
        QCOMPARE(h.readAll(second), h.readAll(first));
        h.load(second); // loading appends, without comparing
        QCOMPARE(h.fake.List1.rows.size(), 4);
    }

    void emptyAndInstructionSaves()
    {
        History h(false);
        const QString instructions = h.path(QStringLiteral("i.txt"));
        h.save(instructions);
        QVERIFY(h.readAll(instructions).startsWith("Calculate HistoryResult\r\n\r\n"));
        h.load(instructions); // the instruction rows go first, and the blank second line stops
        QCOMPARE(h.fake.List1.rows.size() + h.fake.List2.rows.size(), 0);
        const QString empty = h.path(QStringLiteral("e.txt"));
        h.save(empty);
        QCOMPARE(h.readAll(empty), QByteArray(" \r\n"));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("entries");
        QTest::newRow("trimmed and split") << QByteArray("  1+1  =  2 \r\n \r\n") << "1+1|2";
        QTest::newRow("blank line stops") << QByteArray("1= 1\r\n\r\n2= 2\r\n") << "1|1";
        QTest::newRow("spaces line stops") << QByteArray("1= 1\r\n   \r\n2= 2\r\n") << "1|1";
        QTest::newRow("no = stops") << QByteArray("1= 1\r\noops\r\n2= 2\r\n") << "1|1";
        // Split at the last "=": a result text holds only the one it starts with.
        QTest::newRow("two =") << QByteArray("a = b  = c\r\n") << "a = b|c";
        QTest::newRow("comparison in the expression") << QByteArray("(2=2)*5  = -5\r\n") << "(2=2)*5|-5";
        QTest::newRow("= at the end") << QByteArray("1 + 1 =\r\n") << "1 + 1|";
        QTest::newRow("no end marker") << QByteArray("1= 1\r\n2= 2") << "1|1;2|2";
        QTest::newRow("LF and CR line ends") << QByteArray("1= 1\n2= 2\r3= 3\r\n") << "1|1;2|2;3|3";
        QTest::newRow("tabs stay") << QByteArray("\t1 = 1\t\r\n") << "\t1|1\t";
        QTest::newRow("NUL bytes") << QByteArray("1\0= 1\r\n", 8) << QStringLiteral("1%1|1").arg(QChar(0));
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 17) << "";
        QTest::newRow("unassigned 1252 bytes") << QByteArray("\x81\x8d= \x90\r\n") << "\u0081\u008d|\u0090";
        QTest::newRow("line over the limit") << QByteArray("1= 1\r\n") + QByteArray(2 << 20, '7') + "= 7\r\n" << "1|1";
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QTEST(joined(parse(file)), "entries");
    }

    void saveQuestionsAndDialogs()
    {
        History h;
        h.add(QStringLiteral("1"), QStringLiteral("= 1"));
        const QString path = h.path(QStringLiteral("kept.txt"));
        h.write(path, "old bytes");
        h.fake.messages.answers = {platform::msgbox::No};
        h.save(path);
        QCOMPARE(h.readAll(path), QByteArray("old bytes"));
        QCOMPARE(h.fake.messages.shown.last(),
                 QStringLiteral("This file is exists, overwrite it?      |68|Save as"));
        h.fake.messages.answers = {platform::msgbox::Yes};
        h.save(path);
        QCOMPARE(h.readAll(path), QByteArray("1  = 1\r\n \r\n"));

        const platform::FileDialogs::Request &save = h.fake.fileDialogs.requests.front();
        QCOMPARE(save.title, QStringLiteral("Save to text file"));
        QCOMPARE(save.filter, QStringLiteral("Text Files, Windows-1252 with CR LF (*.txt)"));
        QCOMPARE(save.name, QStringLiteral("Tallix_20260307"));
        QCOMPARE(save.defaultSuffix, QStringLiteral("txt"));
        QCOMPARE(save.folder, h.fake.fileSystem.documentsFolder()); // the program's folder is not writable
        h.fake.fileSystem.program = h.folder;
        h.fake.fileSystem.writableFolders << h.folder;
        h.load(QString());
        QCOMPARE(h.fake.fileDialogs.requests.back().title, QStringLiteral("Open Calculate History File"));
        QCOMPARE(h.fake.fileDialogs.requests.back().folder, h.folder);
    }

    // A character the file's code page cannot hold: asked before it becomes "?", the first
    // such character named; No leaves everything as it was.
    void saveAsksBeforeLosingCharacters_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("in an expression") << QStringLiteral("x\u221A2 \u2260 y") << QStringLiteral("= 1")
                                          << QStringLiteral("\"\u221A\" (U+221A) in row 2")
                                          << QByteArray("1  = 1\r\nx?2 ? y  = 1\r\n \r\n");
        QTest::newRow("beyond the basic plane, in a result") << QStringLiteral("2") << QStringLiteral("= 2 \U0001F600")
                                                             << QStringLiteral("\"\U0001F600\" (U+1F600) in row 2")
                                                             << QByteArray("1  = 1\r\n2  = 2 ?\r\n \r\n");
        QTest::newRow("all in the code page") << QStringLiteral("\u20AC \u00E9 ?") << QStringLiteral("= 3") << QString()
                                              << QByteArray("1  = 1\r\n\x80 \xE9 ?  = 3\r\n \r\n");
    }

    void saveAsksBeforeLosingCharacters()
    {
        QFETCH(QString, expression);
        QFETCH(QString, result);
        QFETCH(QString, named);
        QFETCH(QByteArray, saved);
        History h;
        h.add(QStringLiteral("1"), QStringLiteral("= 1"));
        h.add(expression, result);
        const QString path = h.path(QStringLiteral("new.txt"));
        h.fake.messages.answers = {platform::msgbox::No};
        h.save(path);
        if (named.isEmpty()) {
            QVERIFY(h.fake.messages.shown.isEmpty());
            QCOMPARE(h.readAll(path), saved);
            return;
        }
        QCOMPARE(h.readAll(path), QByteArray("<missing>"));
        QCOMPARE(h.fake.messages.shown.size(), 1);
        QVERIFY2(h.fake.messages.shown[0].contains(named), qPrintable(h.fake.messages.shown[0]));
        QVERIFY(h.fake.messages.shown[0].endsWith(QStringLiteral("Save anyway?|52|Save as")));
        h.fake.messages.answers = {platform::msgbox::Yes};
        h.save(path);
        QCOMPARE(h.readAll(path), saved);
    }

    void cancelledDialogs()
    {
        History h(false);
        h.form->mnuSave_Click(); // cancelled: nothing written, nothing said
        QVERIFY(h.fake.messages.shown.isEmpty());
        QVERIFY(h.fake.fileSystem.files.isEmpty());
        h.form->mnuLoad_Click(); // cancelled in the instruction state: both lists empty
        QCOMPARE(h.fake.List1.rows.size() + h.fake.List2.rows.size(), 0);
        h.add(QStringLiteral("1"), QStringLiteral("= 1"));
        h.form->mnuLoad_Click();
        QCOMPARE(h.fake.List1.rows.size(), 1);
    }

    // An expression that holds "=" itself comes back whole, and saves again to the same bytes.
    void comparisonsRoundTrip()
    {
        History h;
        h.add(QStringLiteral("(2=2)*5"), QStringLiteral("= -5"));
        h.add(QStringLiteral("(1 = 1) = (2 <> 3)"), QStringLiteral("= -1"));
        h.add(QStringLiteral("3 >= 2"), QStringLiteral("= 0"));
        const QStringList expressions = h.fake.List1.rows, results = h.fake.List2.rows;
        const QString first = h.path(QStringLiteral("a.txt"));
        h.save(first);
        h.form->Command1_Click();
        h.load(first);
        QCOMPARE(h.fake.List1.rows, expressions);
        QCOMPARE(h.fake.List2.rows, results);
        const QString second = h.path(QStringLiteral("b.txt"));
        h.save(second);
        QCOMPARE(h.readAll(second), h.readAll(first));
    }

    void failedSaveKeepsTheOldFile()
    {
        History h;
        h.add(QStringLiteral("1"), QStringLiteral("= 1"));
        const QString path = h.path(QStringLiteral("precious.txt"));
        h.write(path, "precious");
        h.fake.fileSystem.failWrites = true;
        h.fake.messages.answers = {platform::msgbox::Yes, platform::msgbox::Ok};
        h.save(path);
        QCOMPARE(h.readAll(path), QByteArray("precious"));
        QCOMPARE(h.fake.messages.shown.last(), QStringLiteral("Cannot save to \"%1\": No space left on device|0|").arg(path));
    }

    void stripResultText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("result row") << "  = 1,234.57" << "1234.57";
        QTest::newRow("negative") << "= -0.5" << "-0.5";
        QTest::newRow("error") << "Error" << "Error";
        QTest::newRow("letters stay") << "= 1E+20" << "1E+20";
        QTest::newRow("only stripped characters") << " ,= ," << "";
    }

    void stripResultText()
    {
        QFETCH(QString, text);
        QTEST(history::StripResultText(text), "stripped");
    }

    void historyReadsOutOfRangeAsEmpty()
    {
        fakes::FakeListBox list1, list2;
        history::HistoryLists lists(list1, list2);
        QCOMPARE(lists.lastExpressionRow(), QString());
        QVERIFY(!lists.instructionRowsShown());
        lists.appendLoadedEntries({QStringLiteral("1+1")}, {QStringLiteral("2")});
        QCOMPARE(list2.rows, QStringList{"  = 2"});
        QCOMPARE(list1.item(-1), QString());
        QCOMPARE(list1.item(1), QString());
        lists.fillInstructionRows();
        QVERIFY(lists.instructionRowsShown());
        QCOMPARE(lists.count(), 5);
    }

    // Delete on a row takes its whole entry out of both lists, which stay paired and side by
    // side; the next entry takes the selection. The instruction rows are no entry.
    void deleteKeepsTheListsPaired_data()
    {
        QTest::addColumn<bool>("onResults"); // the key pressed in List2 rather than List1
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expressions"); // what stays, joined by "|"
        QTest::addColumn<int>("selected");
        QTest::newRow("first expression") << false << 0 << "b|c|d|e|f|g|h|i|j" << 0;
        QTest::newRow("a result in the middle") << true << 4 << "a|b|c|d|f|g|h|i|j" << 4;
        QTest::newRow("the last") << false << 9 << "a|b|c|d|e|f|g|h|i" << 8;
        QTest::newRow("no row selected") << true << -1 << "a|b|c|d|e|f|g|h|i|j" << -1;
    }
    void deleteKeepsTheListsPaired()
    {
        QFETCH(bool, onResults);
        QFETCH(int, row);
        QFETCH(QString, expressions);
        QFETCH(int, selected);
        History h;
        for (char c = 'a'; c <= 'j'; ++c)
            h.add(QString(QLatin1Char(c)), QStringLiteral("= ") + QLatin1Char(c));
        fakes::FakeListBox &list = onResults ? h.fake.List2 : h.fake.List1;
        list.setListIndex(row);
        list.top = 2; // scrolled apart: the delete brings them side by side again
        list.onDeleteKey();
        QCOMPARE(h.fake.List1.rows.join(QLatin1Char('|')), expressions);
        QStringList results;
        for (const QString &e : expressions.split(QLatin1Char('|')))
            results << QStringLiteral("  = ") + e;
        QCOMPARE(h.fake.List2.rows, results);
        QCOMPARE(list.listIndex(), selected);
        if (row >= 0)
            QCOMPARE(h.fake.List1.top, h.fake.List2.top);
    }

    void deleteLeavesTheInstructionRows()
    {
        History h(false);
        h.fake.List1.setListIndex(2);
        h.fake.List1.onDeleteKey();
        QCOMPARE(h.fake.List1.rows, history::expressionInstructionRows());
        QCOMPARE(h.fake.List2.rows, history::resultInstructionRows());
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
