#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

namespace {

void textColumns()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QByteArray>("text");
}

void row(const char *expression, const char *text)
{
    QTest::newRow(expression) << QByteArray(expression) << QByteArray(text);
}

void checkText()
{
    QFETCH(QByteArray, expression);
    QFETCH(QByteArray, text);
    eval::ScriptControl engine;
    const eval::EvalResult r = engine.Eval(expression.toStdString());
    QVERIFY2(r.ok, (QByteArray::number(r.error.number) + " " + r.error.description.c_str()).constData());
    QCOMPARE(r.value.type(), eval::VarType::String);
    QCOMPARE(QByteArray(r.value.asString().c_str()), text);
}

} // namespace

// FormatNumber, FormatCurrency and FormatPercent in the en-US forms, with the arguments
// NumDigitsAfterDecimal, IncludeLeadingDigit, UseParensForNegativeNumbers, GroupDigits.
class TestFormatFunctions : public QObject
{
    Q_OBJECT

private slots:
    void formatNumber_data()
    {
        textColumns();
        row("FormatNumber(1234.5)", "1,234.50");
        row("FormatNumber(-1234.5)", "-1,234.50");
        row("FormatNumber(0)", "0.00");
        row("FormatNumber(Empty)", "0.00");
        row("FormatNumber(True)", "-1.00");
        row("FormatNumber(\"1234\")", "1,234.00");
        row("FormatNumber(1234567.891, -1)", "1,234,567.89");
        row("FormatNumber(1, -3)", "1.00"); // any negative count is the default
        row("FormatNumber(1, 9)", "1.000000000");
        row("FormatNumber(0.5, 0)", "1"); // halves round away from zero
        row("FormatNumber(-0.5, 0)", "-1");
        row("FormatNumber(2.5, 0)", "3");
        row("FormatNumber(0.125, 2)", "0.13");
        row("FormatNumber(2.675, 2)", "2.68"); // the decimal digits round, not the binary value
        row("FormatNumber(999.995, 2)", "1,000.00");
        row("FormatNumber(-0.001)", "-0.00");
        row("FormatNumber(1E+20)", "100,000,000,000,000,000,000.00");
        row("FormatNumber(1E-20, 2)", "0.00");
        row("FormatNumber(CCur(1234.5678), 3)", "1,234.568");
        row("FormatNumber(CSng(1.1), 3)", "1.100");
        row("FormatNumber(.5, 2, 0)", ".50");
        row("FormatNumber(.5, 2, -1)", "0.50");
        row("FormatNumber(.5, 2, -2)", "0.50");
        row("FormatNumber(.5, 2, 5)", ".50"); // only -1 is True
        row("FormatNumber(-0.5, 2, 0, -1)", "(.50)");
        row("FormatNumber(-1234.5, 1, -1, -1, 0)", "(1234.5)");
        row("FormatNumber(-1234.5, 1, 0, 1, 1)", "-1234.5");
        row("FormatNumber(1234567.891, 2, -1, 0, -2)", "1,234,567.89");
        row("FormatNumber(123, 0, -1, 0, 0)", "123");
        // Arguments left out take their defaults; an Empty one is a value like any other.
        row("FormatNumber(.12,,,-1)", "0.12");
        row("FormatNumber(-.12,,0,-1)", "(.12)");
        row("FormatNumber(1234.5,,,,0)", "1234.50");
        row("FormatNumber(1234.5, Empty)", "1,235");
        row("FormatNumber(1,)", "1.00");
    }
    void formatNumber() { checkText(); }

    void formatCurrency_data()
    {
        textColumns();
        row("FormatCurrency(0)", "$0.00");
        row("FormatCurrency(1234.567)", "$1,234.57");
        row("FormatCurrency(-1000)", "($1,000.00)"); // en-US puts a negative amount in parentheses
        row("FormatCurrency(-1000, 2, -1, 0)", "-$1,000.00");
        row("FormatCurrency(-1000, 2, -1, -2)", "($1,000.00)");
        row("FormatCurrency(-0.5, 2, 0)", "($.50)");
        row("FormatCurrency(1234567.891, 0)", "$1,234,568");
        row("FormatCurrency(1234567.891, 2, -1, -1, 0)", "$1234567.89");
        row("FormatCurrency(-1000,,,0)", "-$1,000.00");
        row("FormatCurrency(CCur(1.23456), 4)", "$1.2346");
    }
    void formatCurrency() { checkText(); }

    void formatPercent_data()
    {
        textColumns();
        row("FormatPercent(0.1234)", "12.34%");
        row("FormatPercent(0.5)", "50.00%");
        row("FormatPercent(-0.1)", "-10.00%");
        row("FormatPercent(1, 0)", "100%");
        row("FormatPercent(1000)", "100,000.00%");
        row("FormatPercent(12.345, 1)", "1,234.5%");
        row("FormatPercent(0.575, 1)", "57.5%"); // times 100 exactly, not 57.49999...
        row("FormatPercent(0.005, 0, 0)", "1%");
        row("FormatPercent(-0.5, 0, 0, -1)", "(50)%");
        row("FormatPercent(0.001, 2, 0)", ".10%");
        row("FormatPercent(.12,,0)", "12.00%");
    }
    void formatPercent() { checkText(); }

    void errors_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<int>("error");
        auto fails = [](const char *expression, int error) {
            QTest::newRow(expression) << QByteArray(expression) << error;
        };
        for (const char *name : {"FormatNumber", "FormatCurrency", "FormatPercent"}) {
            const std::string f(name);
            // Null as the value is a Type mismatch, as any other argument Invalid use of Null.
            for (const std::string &call : {f + "(Null)", f + "(1, Null)", f + "(1, 0, Null)", f + "(1, 0, 0, Null)",
                                            f + "(1, 0, 0, 0, Null)", f + "(\"abc\")", f + "(1, 10)", f + "()",
                                            f + "(1, 2, 3, 4, 5, 6)", f + "(1, \"x\")"}) {
                const int error = call.find("Null") != std::string::npos
                                      ? (call == f + "(Null)" ? 13 : 94)
                                  : call.find("abc") != std::string::npos || call.find("\"x\"") != std::string::npos ? 13
                                  : call.find("10") != std::string::npos                                        ? 5
                                                                                                                  : 450;
                fails(call.c_str(), error);
            }
        }
    }
    void errors()
    {
        QFETCH(QByteArray, expression);
        QFETCH(int, error);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(expression.toStdString());
        QVERIFY2(!r.ok, eval::NumberText(r.value).value_or("Null").c_str());
        QCOMPARE(r.error.number, error);
    }
};

QTEST_GUILESS_MAIN(TestFormatFunctions)
#include "tst_formatfunctions.moc"
