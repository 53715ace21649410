#include "ValueRows.h"

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

namespace {

using namespace valuerows;

// The largest and least Currency amounts, which no double can hold exactly.
#define CY_MAX "CCur(\"922337203685477.5807\")"
#define CY_MIN "CCur(\"-922337203685477.5808\")"

} // namespace

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    // From a double the product with 10,000 is taken in extended precision and rounded half to
    // even, so a whole number up to the range stays exact and a fifth decimal follows the
    // double's binary value (0.00015 is a little less than written); from a text the amount is
    // exact to its digits and a fifth decimal rounds half to even.
    void conversions_data()
    {
        valueColumns();
        row("CCur(123456789012345)", "Currency", "123456789012345");
        row("CCur(922337203685477)", "Currency", "922337203685477");
        row("CCur(2147483647.99)", "Currency", "2147483647.99");
        row("CCur(0.000149)", "Currency", "0.0001");
        row("CCur(0.00005)", "Currency", "0.0001");
        row("CCur(0.00015)", "Currency", "0.0001");
        row("CCur(0.00025)", "Currency", "0.0003");
        row("CCur(-0.00015)", "Currency", "-0.0001");
        row("CCur(1.00005)", "Currency", "1.0001");
        row("CCur(-461168601842738.7904)", "Currency", "-461168601842738.8125");
        row("CCur(\"0.00015\")", "Currency", "0.0002");
        row("CCur(\"0.00025\")", "Currency", "0.0002");
        row("CCur(1E-300)", "Currency", "0");
        row("CCur(0.1 + 0.2)", "Currency", "0.3");
        row("CCur(CSng(0.1))", "Currency", "0.1");
        row("CCur(True)", "Currency", "-1");
        row("CCur(Empty)", "Currency", "0");
        row(CY_MAX, "Currency", "922337203685477.5807");
        row(CY_MIN, "Currency", "-922337203685477.5808");
        row("CCur(\"12345.00005\")", "Currency", "12345");
        row("CCur(\"12345.00015\")", "Currency", "12345.0002");
        row("CCur(\"12345.000050001\")", "Currency", "12345.0001");
        row("CCur(\" -1,234.5 \")", "Currency", "-1234.5");
        row("CCur(\"1.5E3\")", "Currency", "1500");
        row("CCur(\"9223372036854775807E-4\")", "Currency", "922337203685477.5807");
        row("CCur(\"&HFF\")", "Currency", "255");
        row("CStr(" CY_MIN ")", "String", "-922337203685477.5808");
        row("Len(" CY_MAX ")", "Long", "20");
        row("CDbl(CCur(\"0.0001\"))", "Double", "0.0001");
        row("CDbl(CCur(\"123456789012345.6789\"))", "Double", "123456789012346");
        row("CLng(CCur(2.5))", "Long", "2");
    }
    void conversions() { checkValue(); }

    // The subtype of each mixed operation: + and - stay Currency, a product leaves it for
    // Double beside a Double, Single, string or Date, and / \ Mod ^ never give Currency.
    void arithmetic_data()
    {
        valueColumns();
        row("CCur(0.0001) * 0.5", "Double", "5E-05");
        row("CCur(1.5) * CSng(2)", "Double", "3");
        row("CCur(1.5) * \"2\"", "Double", "3");
        row("CCur(1.5) * 2", "Currency", "3");
        row("CCur(1.5) * CByte(2)", "Currency", "3");
        row("CCur(1.5) * True", "Currency", "-1.5");
        row("CCur(1.5) * Empty", "Currency", "0");
        row("CCur(1.5) * CCur(1.5)", "Currency", "2.25");
        row("CCur(0.0001) * CCur(0.5)", "Currency", "0");
        row("CCur(0.0003) * CCur(0.5)", "Currency", "0.0002");
        row("CCur(1) + 0.5", "Currency", "1.5");
        row("CCur(1) + CSng(0.5)", "Currency", "1.5");
        row("CCur(1) + \"0.5\"", "Currency", "1.5");
        row("\"0.5\" - CCur(1)", "Currency", "-0.5");
        row("CCur(0.1) + CCur(0.2)", "Currency", "0.3");
        row("CCur(123456789012345) + 0.0001", "Currency", "123456789012345.0001");
        row(CY_MAX " + " CY_MIN, "Currency", "-0.0001");
        row(CY_MAX " - 0.5807", "Currency", "922337203685477");
        row("CCur(1) / CCur(4)", "Double", "0.25");
        row("CCur(1) / 3", "Double", "0.333333333333333");
        row("CCur(7) \\ 2", "Long", "3");
        row("CCur(7.5) \\ 1", "Long", "8");
        row("CCur(7) Mod 2", "Long", "1");
        row("CCur(2) ^ 2", "Double", "4");
        row("-CCur(1.5)", "Currency", "-1.5");
        row("-" CY_MAX, "Currency", "-922337203685477.5807");
        row("CCur(1) & \"\"", "String", "1");
    }
    void arithmetic() { checkValue(); }

    void functions_data()
    {
        valueColumns();
        row("Round(CCur(2.5))", "Currency", "2");
        row("Round(CCur(-2.5))", "Currency", "-2");
        row("Round(CCur(1.2346), 3)", "Currency", "1.235");
        row("Round(CCur(1.2345), 9)", "Currency", "1.2345");
        row("Round(CCur(\"922337203685477.4999\"))", "Currency", "922337203685477");
        row("Round(" CY_MIN ", 4)", "Currency", "-922337203685477.5808");
        row("Fix(CCur(-0.99))", "Currency", "0");
        row("Int(CCur(-0.99))", "Currency", "-1");
        row("Fix(" CY_MIN ")", "Currency", "-922337203685477");
        row("Int(" CY_MAX ")", "Currency", "922337203685477");
        row("Abs(CCur(-1))", "Currency", "1");
        row("Abs(-" CY_MAX ")", "Currency", "922337203685477.5807");
        row("Sgn(CCur(-1))", "Integer", "-1");
        row("Sgn(" CY_MIN ")", "Integer", "-1");
    }
    void functions() { checkValue(); }

    void errors_data()
    {
        errorColumns();
        fails("CCur(\"922337203685477.5808\")", 6);
        fails("CCur(\"-922337203685477.5809\")", 6);
        fails("CCur(922337203685478)", 6);
        fails("CCur(1E300)", 6);
        fails("CCur(\"1E400\")", 6);
        fails("CCur(\"abc\")", 13);
        fails("CCur(\"TRUE\")", 13);
        fails("CCur(Null)", 94);
        fails(CY_MAX " + CCur(0.0001)", 6);
        fails(CY_MIN " - CCur(0.0001)", 6);
        fails(CY_MAX " * 2", 6);
        fails(CY_MAX " * CCur(1.0001)", 6);
        fails("-" CY_MIN, 6);
        fails("Abs(" CY_MIN ")", 6);
        fails("Round(" CY_MAX ")", 6);
        fails("Round(CCur(\"922337203685477.5\"))", 6);
        fails("Round(" CY_MIN ", 3)", 6);
        fails("Int(" CY_MIN ")", 6);
        fails("CCur(10000000000) \\ 1", 6);
        fails("CCur(1) / CCur(0)", 11);
        fails("CCur(1) \\ CCur(0.4)", 11);
    }
    void errors() { checkError(); }

    // The result box shows every digit of an amount, never an exponent.
    void resultText_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<int>("places");
        QTest::addColumn<QByteArray>("result");
        auto add = [](const char *expression, int places, const char *result) {
            QTest::newRow((std::string(expression) + " at " + std::to_string(places)).c_str())
                << QByteArray(expression) << places << QByteArray(result);
        };
        add(CY_MAX, eval::DecimalPlacesAuto, "= 922337203685477.5807");
        add(CY_MIN, eval::DecimalPlacesAuto, "= -922337203685477.5808");
        add(CY_MAX, 2, "= 922,337,203,685,477.58");
        add(CY_MAX, 4, "= 922,337,203,685,477.5807");
        add("CCur(123456789012345)", eval::DecimalPlacesAuto, "= 123456789012345");
        add("CCur(0.0001)", eval::DecimalPlacesAuto, "= 0.0001");
        add("CCur(0.0001) * 0.5", eval::DecimalPlacesAuto, "= 5E-05");
        add("CCur(0.0001) * CCur(0.5)", 2, "= 0");
    }
    void resultText()
    {
        QFETCH(QByteArray, expression);
        QFETCH(int, places);
        QFETCH(QByteArray, result);
        eval::ScriptControl engine;
        const eval::Calculation c = eval::calculateResultText(engine, expression.toStdString(), places);
        QVERIFY2(c.ok, c.error.description.c_str());
        QCOMPARE(QByteArray(c.resultText.c_str()), result);
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
