// The calculate command, its keys and the decimal places, driven through fakes.
#include "FakeControls.h"

#include "eval/DecimalPlaces.h"

#include <QTest>

#include <memory>

using fakes::FakeForm;
using platform::Rgb;
namespace colors = platform::colors;

Q_DECLARE_METATYPE(platform::Rgb)

namespace {

const QString sample = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");

struct Started : fakes::Started
{
    // The expression box as the user leaves it, then the calculate command.
    void calculate(const QString &expression)
    {
        fake.Text1.setText(expression);
        form->Command3_Click();
    }
};

} // namespace

class TestCalculateCommand : public QObject
{
    Q_OBJECT

private slots:
    // Each row: expressions calculated one after another from the start state, then what the
    // result box and the history show.
    void calculate_data()
    {
        QTest::addColumn<QStringList>("expressions");
        QTest::addColumn<QString>("result");
        QTest::addColumn<Rgb>("color");
        QTest::addColumn<QStringList>("expressionRows");
        QTest::addColumn<QStringList>("resultRows");

        QTest::newRow("first success drops the instruction rows")
            << QStringList{sample} << "= 595.09" << colors::Navy << QStringList{sample} << QStringList{"  = 595.09"};
        QTest::newRow("failed first keeps them")
            << QStringList{"1/0"} << "Error" << colors::Red << history::expressionInstructionRows()
            << history::resultInstructionRows();
        QTest::newRow("instruction text fails")
            << QStringList{app::FormTallix::InstructionText} << "Error" << colors::Red
            << history::expressionInstructionRows() << history::resultInstructionRows();
        QTest::newRow("same expression twice appends once")
            << QStringList{"1+1", "1+1"} << "= 2" << colors::Navy << QStringList{"1+1"} << QStringList{"  = 2"};
        QTest::newRow("surrounding spaces are trimmed")
            << QStringList{"  2*3 ", "2*3"} << "= 6" << colors::Navy << QStringList{"2*3"} << QStringList{"  = 6"};
        QTest::newRow("letter case counts")
            << QStringList{"abs(-1)", "ABS(-1)"} << "= 1" << colors::Navy << QStringList{"abs(-1)", "ABS(-1)"}
            << QStringList{"  = 1", "  = 1"};
        QTest::newRow("failure after success keeps the history")
            << QStringList{"1+1", "Sqr(-1)"} << "Error" << colors::Red << QStringList{"1+1"} << QStringList{"  = 2"};
        QTest::newRow("line breaks stay part of the expression")
            << QStringList{"1 +\r\n2"} << "Error" << colors::Red << history::expressionInstructionRows()
            << history::resultInstructionRows();
    }

    void calculate()
    {
        QFETCH(QStringList, expressions);
        Started s;
        for (const QString &e : expressions)
            s.calculate(e);
        QTEST(s.fake.Text2.text(), "result");
        QTEST(s.fake.Text2.foreColor(), "color");
        QTEST(s.fake.List1.rows, "expressionRows");
        QTEST(s.fake.List2.rows, "resultRows");
        QCOMPARE(s.fake.List1.rows.size(), s.fake.List2.rows.size());
    }

    void focusAfterCalculation()
    {
        Started s;
        s.fake.Text1.setFocus();
        s.calculate(QStringLiteral("7"));
        QCOMPARE(s.fake.window.focus, QStringLiteral("CommandCC"));
        s.fake.Text1.setFocus();
        s.calculate(QStringLiteral("7 +"));
        QCOMPARE(s.fake.window.focus, QStringLiteral("Text1"));
        // A screen reader hears each outcome with its reason, the same one twice as well.
        s.calculate(QStringLiteral("7 +"));
        const QString failure = QStringLiteral("Error. Expected expression at character 5 (error 1023)");
        QCOMPARE(s.fake.window.announced, (QStringList{"= 7", failure, failure}));
    }

    void emptyHistoryAppendsWithoutEmptying()
    {
        Started s;
        s.form->historyLists().emptyBoth();
        s.calculate(QStringLiteral("1"));
        QCOMPARE(s.fake.List1.rows, QStringList{"1"});
    }

    void sameExpressionNewFormatAppendsNothing()
    {
        Started s;
        s.calculate(sample);
        s.fake.mnuDec(10).choose();
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 595.09")); // unchanged until the next calculation
        s.form->Command3_Click();
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 595.090909090909"));
        s.fake.mnuDec(0).choose();
        s.form->mnuCalculate_Click();
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 595"));
        QCOMPARE(s.fake.List2.rows, QStringList{"  = 595.09"});
    }

    void enterAndBackspaceKeys()
    {
        Started s;
        s.fake.Text1.setText(QStringLiteral("6*7"));
        s.fake.Text1.setSelStart(3);
        s.fake.Text1.type(QChar(8));
        QCOMPARE(s.fake.Text1.text(), QStringLiteral("6*")); // exempt from spacing
        QVERIFY(!s.form->BackspacePressed);                 // the change rule took the flag
        s.fake.Text1.setSelStart(0);
        s.fake.Text1.type(QChar(8)); // a backspace that changes nothing leaves the flag up
        QVERIFY(s.form->BackspacePressed);
        s.fake.Text1.setSelStart(2);
        s.fake.Text1.typeText(QStringLiteral("9"));
        QVERIFY(!s.form->BackspacePressed);
        s.fake.Text1.type(QChar(13));
        QCOMPARE(s.fake.Text1.text(), QStringLiteral("6*9")); // no line break
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 54"));
        s.fake.Text1.setText(QStringLiteral("1 / "));
        s.fake.Text1.setSelStart(4);
        s.fake.Text1.type(QChar(13));
        QCOMPARE(s.fake.Text1.text(), QStringLiteral("1 / "));
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("Error"));
    }

    // Any sequence of choices leaves exactly the chosen entry checked.
    void decimalPlacesInvariant()
    {
        Started s;
        const std::int16_t values[11] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, eval::DecimalPlacesAuto};
        for (int entry : {10, 3, 3, 0, 9, 2, 10, 10, 5}) {
            s.fake.mnuDec(entry).choose();
            QCOMPARE(s.form->DecimalPlaces, values[entry]);
            for (int other = 0; other < 11; ++other)
                QCOMPARE(s.fake.mnuDec(other).checked, other == entry);
        }
    }

    void decimalButtonPopsUpAboveItself()
    {
        Started s;
        s.fake.button(QStringLiteral("Command2")).click();
        QCOMPARE(s.fake.window.popups.size(), std::size_t(1));
        QCOMPARE(s.fake.window.popups[0].menu, QStringLiteral("mnuDec"));
        QCOMPARE(s.fake.window.popups[0].x, 1920);
        QCOMPARE(s.fake.window.popups[0].y, 2360);
    }
};

QTEST_GUILESS_MAIN(TestCalculateCommand)
#include "tst_calculatecommand.moc"
