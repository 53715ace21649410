// The window's calculate command and numerette-eval take the same road through the engine:
// the same expression gives the same result text in both, letters beyond ASCII included.
#include "FakeControls.h"

#include "cli/CommandLine.h"
#include "eval/Calculation.h"
#include "eval/ScriptControl.h"
#include "eval/TextCase.h"

#include <QTest>

#include <sstream>
#include <string>
#include <vector>

namespace {

QString windowResult(const QString &expression, int places)
{
    fakes::Started s;
    s.form->DecimalPlaces = static_cast<std::int16_t>(places);
    s.fake.Text1.setText(expression);
    s.form->Command3_Click();
    return s.fake.Text2.text();
}

QString commandLineResult(const QString &expression, int places)
{
    const std::string decimals = places == 99 ? "auto" : std::to_string(places);
    const std::string text = expression.toStdString();
    const std::vector<std::string_view> arguments{"--decimals", decimals, "--", text};
    std::istringstream in;
    std::ostringstream out, err;
    cli::runCommandLine(arguments, in, out, err);
    return QString::fromStdString(out.str()).chopped(1); // its line end
}

std::string utf8(char16_t unit)
{
    return QString(QChar(unit)).toStdString();
}

} // namespace

class TestOneRoad : public QObject
{
    Q_OBJECT

private slots:
    void sameResultText_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("result");
        QTest::newRow("sample") << "238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3" << 2 << "= 595.09";
        // ß has no one-letter capital: it stays, and its length stays 1.
        QTest::newRow("sharp s keeps its length") << "Len(\"ß\")" << 2 << "= 1";
        QTest::newRow("sharp s is not SS") << "InStr(\"straße\", \"SS\")" << 2 << "= 0";
        QTest::newRow("e acute is found as capital") << "InStr(\"Été\", \"é\")" << 2 << "= 1";
        QTest::newRow("final sigma meets sigma") << "InStr(\"xς\", \"σ\")" << 2 << "= 2";
        QTest::newRow("Cyrillic") << "InStr(\"жизнь\", \"ЗН\")" << 0 << "= 3";
        QTest::newRow("surrounding spaces") << "   int(-2.5) * 2   " << 99 << "= -4";
        QTest::newRow("int in any case") << "iNt(2.7) + INT(1.5)" << 1 << "= 3";
        QTest::newRow("failure") << "Len(\"é\") / 0" << 2 << "Error";
    }
    void sameResultText()
    {
        QFETCH(QString, expression);
        QFETCH(int, places);
        QFETCH(QString, result);
        QCOMPARE(windowResult(expression, places), result);
        QCOMPARE(commandLineResult(expression, places), result);
    }

    // UCase and LCase, and the calculator's own upper-casing, map one letter to one letter.
    void caseMapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::newRow("ASCII") << "aZ09_{}@[`"
                               << "AZ09_{}@[`"
                               << "az09_{}@[`";
        QTest::newRow("Latin-1") << "straßeÿÉ"
                                 << "STRAßEŸÉ"
                                 << "straßeÿé";
        QTest::newRow("Greek") << "ΣΑΣ ας ΐ"
                               << "ΣΑΣ ΑΣ ΐ"
                               << "σασ ας ΐ";
        QTest::newRow("Cyrillic") << "Жизнь"
                                  << "ЖИЗНЬ"
                                  << "жизнь";
        QTest::newRow("titlecase digraph") << "ǅ"
                                           << "Ǆ"
                                           << "ǆ";
        QTest::newRow("dotted and dotless i") << "İı"
                                              << "İI"
                                              << "iı";
        QTest::newRow("ligature stays") << "ﬀ"
                                        << "ﬀ"
                                        << "ﬀ";
        QTest::newRow("beyond the basic plane") << "𐐨𐐀"
                                                << "𐐨𐐀"
                                                << "𐐨𐐀";
        QTest::newRow("two bytes to three") << "ɐȺ"
                                            << "ⱯȺ"
                                            << "ɐⱥ";
    }
    void caseMapping()
    {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        eval::ScriptControl engine;
        const auto call = [&](const char *function) {
            const eval::EvalResult r =
                engine.Eval(std::string(function) + "(\"" + text.toStdString() + "\")");
            return r.ok ? QString::fromStdString(r.value.asString()) : QStringLiteral("failed");
        };
        QCOMPARE(call("UCase"), upper);
        QCOMPARE(call("LCase"), lower);
        QCOMPARE(QString::fromStdString(eval::upperCaseText(text.toStdString())), upper);
    }

    // Every character of the basic plane maps to exactly one character, both ways.
    void lengthNeverChanges()
    {
        for (char32_t code = 1; code <= 0xFFFF; ++code) {
            if (code >= 0xD800 && code <= 0xDFFF)
                continue;
            const auto unit = static_cast<char16_t>(code);
            const char16_t upper = eval::upperCaseUnit(unit), lower = eval::lowerCaseUnit(unit);
            QVERIFY2(upper != 0 && (upper < 0xD800 || upper > 0xDFFF),
                     qPrintable(QString::number(code, 16)));
            QVERIFY2(lower != 0 && (lower < 0xD800 || lower > 0xDFFF),
                     qPrintable(QString::number(code, 16)));
            QVERIFY2(eval::upperCaseText(utf8(unit)) == utf8(upper),
                     qPrintable(QString::number(code, 16)));
            QVERIFY2(eval::lowerCaseText(utf8(unit)) == utf8(lower),
                     qPrintable(QString::number(code, 16)));
        }
    }

    // Bytes that are not UTF-8 pass through as they are.
    void brokenText()
    {
        const std::string broken = "a\xC3\x28\xE2\x82\xFF\xED\xA0\x80z";
        QCOMPARE(eval::upperCaseText(broken), std::string("A\xC3\x28\xE2\x82\xFF\xED\xA0\x80Z"));
    }
};

QTEST_MAIN(TestOneRoad)
#include "tst_oneroad.moc"
