#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

namespace {

// What a comparison gives: "True", "False", "Null", or "error N".
QByteArray outcome(const char *expression)
{
    eval::ScriptControl engine;
    const eval::EvalResult r = engine.Eval(expression);
    if (!r.ok)
        return "error " + QByteArray::number(r.error.number);
    if (r.value.type() != eval::VarType::Boolean && !r.value.isNull())
        return QByteArray("not a Boolean: ") + eval::typeName(r.value.type());
    return QByteArray(eval::NumberText(r.value).value_or("Null").c_str());
}

void columns()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QByteArray>("result");
}

void row(const char *expression, const char *result)
{
    QTest::newRow(expression) << QByteArray(expression) << QByteArray(result);
}

void check()
{
    QFETCH(QByteArray, expression);
    QFETCH(QByteArray, result);
    QCOMPARE(outcome(expression.constData()), result);
}

} // namespace

class TestComparison : public QObject
{
    Q_OBJECT

private slots:
    void spellings_data()
    {
        columns();
        row("2 => 1", "True");
        row("1 =< 2", "True");
        row("2 >< 1", "True");
        row("2 >< 2", "False");
        row("1 = 1 => 0", "False"); // (1 = 1) => 0: True is -1
        row("0 > 1 >< 1", "True");
    }
    void spellings() { check(); }

    // A string beside a number or date written as a literal is read as a number; one that
    // reads as none is a Type mismatch.
    void literalNumber_data()
    {
        columns();
        row("\"42\" = 42", "True");
        row("42 = \"42\"", "True");
        row("\"10\" > 9", "True");
        row("\"0\" < 30", "True");
        row("\"+5\" = 5", "True");
        row("\" 5 \" = 5", "True");
        row("\"5e0\" = 5", "True");
        row("\"&hff\" = 255", "True");
        row("\"$5\" = 5", "True");
        row("\"($1,234.5)\" < 0", "True");
        row("\"(5\" = 5", "error 13");
        row("\"3.5\" = 3.5", "True");
        row("CStr(5) = 5", "True");
        row("Mid(\"x10\", 2) > 9", "True");
        row("\"abc\" = 5", "error 13");
        row("\"\" = 5", "error 13");
        row("\" \" = 0", "error 13");
        row("\"\" > 0", "error 13");
        row("5 > \"abc\"", "error 13");
        row("\"abc\" = 5.5", "error 13");
        row("\"abc\" = &hff", "error 13");
        row("\"abc\" = #1/15/2024#", "error 13");
        row("Left(\"abc\", 1) = 5", "error 13");
        row("\"1E400\" = 1", "error 6");
    }
    void literalNumber() { check(); }

    // A string literal beside a computed number or a Boolean compares with that value's text.
    void literalString_data()
    {
        columns();
        row("\"5\" = CInt(5)", "True");
        row("\"5\" = CByte(5)", "True");
        row("\"5\" = CCur(5)", "True");
        row("CCur(5) = \"5\"", "True");
        row("\"010\" = CInt(10)", "False");
        row("\"010\" = 5 + 5", "False");
        row("\"abc\" = CInt(5)", "False");
        row("\"abc\" = CCur(5)", "False");
        row("\"abc\" = -5", "False");
        row("\"10\" > CDbl(5)", "False");
        row("\"5\" < CCur(10)", "False");
        row("Len(\"ab\") > \"\"", "True");
        row("\"abc\" = CDate(\"1/15/2024\")", "False");
        row("\"True\" = True", "True");
        row("True = \"True\"", "True");
        row("\"true\" = True", "False");
        row("\"True \" = True", "False");
        row("\"abc\" = True", "False");
        row("\"\" = False", "False");
        row("\"True\" > False", "True");
        row("\"abc\" > True", "True");
        row("\"\" = True = False", "True");
    }
    void literalString() { check(); }

    // Two computed values: every number is less than every string.
    void computed_data()
    {
        columns();
        row("CStr(5) = CInt(5)", "False");
        row("CStr(1) > CInt(1000)", "True");
        row("Len(\"ab\") < Space(3)", "True");
        row("Len(\"ab\") > Space(3)", "False");
        row("CStr(10) > CStr(9)", "False");
        row("\"10\" > \"9\"", "False");
        row("\"a\" < \"B\"", "False");
    }
    void computed() { check(); }

    void emptyAndNull_data()
    {
        columns();
        row("Empty = Empty", "True");
        row("Empty = \"\"", "True");
        row("Empty = 0", "True");
        row("Empty < \"a\"", "True");
        row("Empty = CStr(0)", "False");
        row("Null = 1", "Null");
        row("\"a\" = Null", "Null");
        row("Null => 1", "Null");
    }
    void emptyAndNull() { check(); }

    // Currency compares in whole 1/10,000 units, finer than a double beside these amounts.
    void numbers_data()
    {
        columns();
        row("CCur(\"922337203685477.5807\") > CCur(\"922337203685477.5806\")", "True");
        row("CCur(\"922337203685477.5807\") > 922337203685477", "True");
        row("CCur(0.1) + CCur(0.2) = CCur(0.3)", "True");
        row("CCur(2) = 2", "True");
        row("CSng(0.1) = 0.1", "True");
        row("1.00000001 > CSng(1)", "False");
        row("CSng(0.1) = CCur(0.1)", "True");
        row("CDbl(CSng(0.1)) = 0.1", "False");
        row("CSng(3.4E38) < 3.5E38", "True");
        row("CCur(-1) = True", "True");
        row("16 = &h10&", "True");
        row("-1 = &hFFFF", "True");
        row("true >= 2", "False");
        row("false > true", "True");
    }
    void numbers() { check(); }

    // A comparison is -1 or 0 inside arithmetic.
    void asNumbers()
    {
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval("0 + (\"42\" = 42)");
        QVERIFY(r.ok);
        QCOMPARE(r.value.type(), eval::VarType::Integer);
        QCOMPARE(r.value.asInteger(), std::int16_t(-1));
    }
};

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
