#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

namespace {

void row(const char *name, const char *type, const char *same)
{
    QTest::newRow(name) << QByteArray(name) << QByteArray(type) << QByteArray(same);
}

QByteArray calculate(const char *expression)
{
    eval::ScriptControl engine;
    const eval::Calculation c = eval::calculateResultText(engine, expression, eval::DecimalPlacesAuto);
    return c.ok ? QByteArray(c.resultText.c_str()) : "failed " + QByteArray::number(c.error.number);
}

} // namespace

class TestConstants : public QObject
{
    Q_OBJECT

private slots:
    // Every named constant with its subtype, and its value as the language gives it by other
    // means: a character by Chr, a colour by RGB, a weekday by Weekday of a known date, a subtype
    // by VarType of a value of it, a flag by its bit; the rest as the language reference lists them.
    void values_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("same");
        row("vbCr", "String", "Chr(13)");
        row("vbLf", "String", "Chr(10)");
        row("vbCrLf", "String", "Chr(13) & Chr(10)");
        row("vbNewLine", "String", "Chr(13) & Chr(10)");
        row("vbFormFeed", "String", "Chr(12)");
        row("vbTab", "String", "Chr(9)");
        row("vbVerticalTab", "String", "Chr(11)");
        row("vbNullString", "String", "\"\"");
        row("vbBlack", "Long", "RGB(0, 0, 0)");
        row("vbRed", "Long", "RGB(255, 0, 0)");
        row("vbGreen", "Long", "RGB(0, 255, 0)");
        row("vbYellow", "Long", "RGB(255, 255, 0)");
        row("vbBlue", "Long", "RGB(0, 0, 255)");
        row("vbMagenta", "Long", "RGB(255, 0, 255)");
        row("vbCyan", "Long", "RGB(0, 255, 255)");
        row("vbWhite", "Long", "RGB(255, 255, 255)");
        // 6 December 2026 is a Sunday.
        row("vbSunday", "Integer", "Weekday(#12/6/2026#)");
        row("vbMonday", "Integer", "Weekday(#12/7/2026#)");
        row("vbTuesday", "Integer", "Weekday(#12/8/2026#)");
        row("vbWednesday", "Integer", "Weekday(#12/9/2026#)");
        row("vbThursday", "Integer", "Weekday(#12/10/2026#)");
        row("vbFriday", "Integer", "Weekday(#12/11/2026#)");
        row("vbSaturday", "Integer", "Weekday(#12/12/2026#)");
        row("vbEmpty", "Integer", "VarType(Empty)");
        row("vbNull", "Integer", "VarType(Null)");
        row("vbInteger", "Integer", "VarType(1)");
        row("vbLong", "Integer", "VarType(32768)");
        row("vbSingle", "Integer", "VarType(CSng(1))");
        row("vbDouble", "Integer", "VarType(1.5)");
        row("vbCurrency", "Integer", "VarType(CCur(1))");
        row("vbDate", "Integer", "VarType(#1/1/2000#)");
        row("vbString", "Integer", "VarType(\"\")");
        row("vbObject", "Integer", "VarType(Nothing)");
        row("vbBoolean", "Integer", "VarType(True)");
        row("vbByte", "Integer", "VarType(CByte(1))");
        row("vbArray", "Integer", "VarType(Array()) - 12");
        row("vbVariant", "Integer", "VarType(Array()) - 8192");
        row("vbError", "Integer", "10");
        row("vbDataObject", "Integer", "13");
        row("vbDecimal", "Integer", "14");
        row("vbTrue", "Integer", "CInt(True)");
        row("vbFalse", "Integer", "CInt(False)");
        row("vbUseDefault", "Integer", "-2");
        row("vbBinaryCompare", "Integer", "0");
        row("vbTextCompare", "Integer", "1");
        row("vbDatabaseCompare", "Integer", "2");
        row("vbUseSystemDayOfWeek", "Integer", "0");
        row("vbUseSystem", "Integer", "0");
        row("vbFirstJan1", "Integer", "1");
        row("vbFirstFourDays", "Integer", "2");
        row("vbFirstFullWeek", "Integer", "3");
        row("vbGeneralDate", "Integer", "0");
        row("vbLongDate", "Integer", "1");
        row("vbShortDate", "Integer", "2");
        row("vbLongTime", "Integer", "3");
        row("vbShortTime", "Integer", "4");
        row("vbOKOnly", "Integer", "0");
        row("vbOKCancel", "Integer", "1");
        row("vbAbortRetryIgnore", "Integer", "2");
        row("vbYesNoCancel", "Integer", "3");
        row("vbYesNo", "Integer", "4");
        row("vbRetryCancel", "Integer", "5");
        row("vbCritical", "Integer", "&H10");
        row("vbQuestion", "Integer", "&H20");
        row("vbExclamation", "Integer", "&H30");
        row("vbInformation", "Integer", "&H40");
        row("vbDefaultButton1", "Integer", "0");
        row("vbDefaultButton2", "Integer", "&H100");
        row("vbDefaultButton3", "Integer", "&H200");
        row("vbDefaultButton4", "Integer", "&H300");
        row("vbApplicationModal", "Integer", "0");
        row("vbSystemModal", "Integer", "&H1000");
        row("vbMsgBoxHelpButton", "Long", "&H4000&");
        row("vbMsgBoxSetForeground", "Long", "&H10000");
        row("vbMsgBoxRight", "Long", "&H80000");
        row("vbMsgBoxRtlReading", "Long", "&H100000");
        row("vbOK", "Integer", "1");
        row("vbCancel", "Integer", "2");
        row("vbAbort", "Integer", "3");
        row("vbRetry", "Integer", "4");
        row("vbIgnore", "Integer", "5");
        row("vbYes", "Integer", "6");
        row("vbNo", "Integer", "7");
        row("vbObjectError", "Long", "&H80040000");
    }
    void values()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, same);
        const auto shown = [](const eval::EvalResult &r) {
            const std::string text = eval::NumberText(r.value).value_or("Null");
            return QByteArray(text.data(), qsizetype(text.size()));
        };
        eval::ScriptControl reference;
        const eval::EvalResult expected = reference.Eval(same.toStdString());
        QVERIFY2(expected.ok, expected.error.description.c_str());
        // Names are found in any letter case.
        for (const QByteArray &spelling : {name, name.toUpper(), name.toLower()}) {
            eval::ScriptControl engine;
            const eval::EvalResult r = engine.Eval(spelling.toStdString());
            QVERIFY2(r.ok, r.error.description.c_str());
            QCOMPARE(QByteArray(eval::typeName(r.value.type())), type);
            QCOMPARE(shown(r), shown(expected));
        }
    }

    void nullChar()
    {
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval("vbNullChar");
        QVERIFY(r.ok);
        QCOMPARE(r.value.asString(), std::string(1, '\0'));
        QCOMPARE(engine.Eval("Len(vbNullChar & vbNullString & vbCrLf)").value.asLong(), 3);
    }

    // Through the calculate command: constants are numbers, except where its rewrite of "INT" to
    // "Fix" reaches inside the name and leaves a name the language does not know (Empty).
    void calculated_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("colour plus one") << QByteArray("vbRed + 1") << QByteArray("= 256");
        QTest::newRow("white") << QByteArray("VBWHITE") << QByteArray("= 16777215");
        QTest::newRow("no overflow of a Long") << QByteArray("vbObjectError * 2") << QByteArray("= -4294443008");
        QTest::newRow("Integer arithmetic") << QByteArray("vbYes * vbSaturday") << QByteArray("= 42");
        QTest::newRow("a Boolean is no number") << QByteArray("vbTrue = True") << QByteArray("failed 13");
        QTest::newRow("vbInteger becomes VBFixEGER") << QByteArray("vbInteger") << QByteArray("failed 13");
        QTest::newRow("vbInteger as Empty in a sum") << QByteArray("vbInteger + 1") << QByteArray("= 1");
        QTest::newRow("string constant") << QByteArray("vbTab") << QByteArray("failed 13");
        QTest::newRow("not callable") << QByteArray("vbRed()") << QByteArray("failed 13");
        QTest::newRow("not a constant") << QByteArray("vbPurple + 1") << QByteArray("= 1");
    }
    void calculated()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, result);
        QCOMPARE(calculate(expression.constData()), result);
    }
};

QTEST_GUILESS_MAIN(TestConstants)
#include "tst_constants.moc"
