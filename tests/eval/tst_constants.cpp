#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <cstring>
#include <string>

namespace {

void row(const char *name, const char *type, const char *text)
{
    QTest::newRow(name) << QByteArray(name) << QByteArray(type) << QByteArray(text, qsizetype(std::strlen(text)));
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
    // Every named constant with the value and subtype the language reference gives it.
    void values_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("text");
        row("vbCr", "String", "\r");
        row("vbCrLf", "String", "\r\n");
        row("vbFormFeed", "String", "\f");
        row("vbLf", "String", "\n");
        row("vbNewLine", "String", "\r\n");
        row("vbNullString", "String", "");
        row("vbTab", "String", "\t");
        row("vbVerticalTab", "String", "\v");
        row("vbBlack", "Long", "0");
        row("vbRed", "Long", "255");
        row("vbGreen", "Long", "65280");
        row("vbYellow", "Long", "65535");
        row("vbBlue", "Long", "16711680");
        row("vbMagenta", "Long", "16711935");
        row("vbCyan", "Long", "16776960");
        row("vbWhite", "Long", "16777215");
        row("vbBinaryCompare", "Integer", "0");
        row("vbTextCompare", "Integer", "1");
        row("vbDatabaseCompare", "Integer", "2");
        row("vbUseSystemDayOfWeek", "Integer", "0");
        row("vbSunday", "Integer", "1");
        row("vbMonday", "Integer", "2");
        row("vbTuesday", "Integer", "3");
        row("vbWednesday", "Integer", "4");
        row("vbThursday", "Integer", "5");
        row("vbFriday", "Integer", "6");
        row("vbSaturday", "Integer", "7");
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
        row("vbCritical", "Integer", "16");
        row("vbQuestion", "Integer", "32");
        row("vbExclamation", "Integer", "48");
        row("vbInformation", "Integer", "64");
        row("vbDefaultButton1", "Integer", "0");
        row("vbDefaultButton2", "Integer", "256");
        row("vbDefaultButton3", "Integer", "512");
        row("vbDefaultButton4", "Integer", "768");
        row("vbApplicationModal", "Integer", "0");
        row("vbSystemModal", "Integer", "4096");
        row("vbMsgBoxHelpButton", "Long", "16384");
        row("vbMsgBoxSetForeground", "Long", "65536");
        row("vbMsgBoxRight", "Long", "524288");
        row("vbMsgBoxRtlReading", "Long", "1048576");
        row("vbOK", "Integer", "1");
        row("vbCancel", "Integer", "2");
        row("vbAbort", "Integer", "3");
        row("vbRetry", "Integer", "4");
        row("vbIgnore", "Integer", "5");
        row("vbYes", "Integer", "6");
        row("vbNo", "Integer", "7");
        row("vbEmpty", "Integer", "0");
        row("vbNull", "Integer", "1");
        row("vbInteger", "Integer", "2");
        row("vbLong", "Integer", "3");
        row("vbSingle", "Integer", "4");
        row("vbDouble", "Integer", "5");
        row("vbCurrency", "Integer", "6");
        row("vbDate", "Integer", "7");
        row("vbString", "Integer", "8");
        row("vbObject", "Integer", "9");
        row("vbError", "Integer", "10");
        row("vbBoolean", "Integer", "11");
        row("vbVariant", "Integer", "12");
        row("vbDataObject", "Integer", "13");
        row("vbDecimal", "Integer", "14");
        row("vbByte", "Integer", "17");
        row("vbArray", "Integer", "8192");
        row("vbTrue", "Integer", "-1");
        row("vbFalse", "Integer", "0");
        row("vbUseDefault", "Integer", "-2");
        row("vbObjectError", "Long", "-2147221504");
    }
    void values()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, text);
        // Names are found in any letter case.
        for (const QByteArray &spelling : {name, name.toUpper(), name.toLower()}) {
            eval::ScriptControl engine;
            const eval::EvalResult r = engine.Eval(spelling.toStdString());
            QVERIFY2(r.ok, r.error.description.c_str());
            QCOMPARE(QByteArray(eval::typeName(r.value.type())), type);
            const std::string shown = eval::NumberText(r.value).value_or("Null");
            QCOMPARE(QByteArray(shown.data(), qsizetype(shown.size())), text);
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
