#include "eval/DecimalPlaces.h"
#include "eval/FormatResult.h"
#include "eval/NumberText.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

class TestFormatting : public QObject
{
    Q_OBJECT

private slots:
    // Number texts as CStr writes them: 15 significant digits for Double, 7 for Single.
    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("third") << 1.0 / 3 << false << QByteArray("0.333333333333333");
        QTest::newRow("trailing zero dropped") << std::sqrt(2.0) << false << QByteArray("1.4142135623731");
        QTest::newRow("binary noise hidden") << 0.1 + 0.2 << false << QByteArray("0.3");
        QTest::newRow("negative") << -2.5 << false << QByteArray("-2.5");
        QTest::newRow("whole") << 123456789000.0 << false << QByteArray("123456789000");
        QTest::newRow("15 digits") << 999999999999999.0 << false << QByteArray("999999999999999");
        QTest::newRow("1E+15") << 1e15 << false << QByteArray("1E+15");
        QTest::newRow("2^53") << 9007199254740992.0 << false << QByteArray("9.00719925474099E+15");
        QTest::newRow("1E+20") << 1e20 << false << QByteArray("1E+20");
        QTest::newRow("0.0001") << 0.0001 << false << QByteArray("0.0001");
        QTest::newRow("1E-05") << 1e-5 << false << QByteArray("1E-05");
        QTest::newRow("negative zero") << -0.0 << false << QByteArray("0");
        QTest::newRow("Single Rnd") << 0.7055475 << true << QByteArray("0.7055475");
        QTest::newRow("Single third") << 1.0 / 3 << true << QByteArray("0.3333333");
        QTest::newRow("Single 7 digits") << 1234567.0 << true << QByteArray("1234567");
        QTest::newRow("Single 1E+07") << 1e7 << true << QByteArray("1E+07");
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QByteArray, text);
        const eval::Value v = single ? eval::Value::single(static_cast<float>(value))
                                     : eval::Value::doubleValue(value);
        QCOMPARE(QByteArray(eval::NumberText(v).value_or("").c_str()), text);
    }

    // The language's own text of a Double and a Single (CStr, "&"): the exponent form also where
    // the fixed one needs more places after the point than there are digits. Rows by bit pattern
    // are VarBstrFromR8 on Windows 11, en-US (DnaCalc/OxFunc, w111 numeric-to-text,
    // documented-api.json); the rows are native outputs it quotes.
    void languageText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QByteArray>("text");
        const auto bits = [](std::uint64_t b) { return std::bit_cast<double>(b); };
        const auto add = [](const char *name, double value, bool single, const char *text) {
            QTest::newRow(name) << value << single << QByteArray(text);
        };
        add("1/3, 15 places", 1.0 / 3, false, "0.333333333333333");
        add("1/30, 16 places", 1.0 / 30, false, "3.33333333333333E-02");
        add("-1/30", -1.0 / 30, false, "-3.33333333333333E-02");
        add("75/999", 75.0 / 999, false, "7.50750750750751E-02");
        add("Exp(-6.7)", std::exp(-6.7), false, "1.23091190267348E-03");
        add("0.05", 0.05, false, "0.05");
        add("1E-05 fits", bits(0x3ee4f8b588e368f1), false, "0.00001");
        add("-1E-05 fits", bits(0xbee4f8b588e368f1), false, "-0.00001");
        add("1.23456789012345E-05", bits(0x3ee9e40930267893), false, "1.23456789012345E-05");
        add("0.000000001", bits(0x3e112e0be826d695), false, "0.000000001");
        add("1E-15, 15 places", bits(0x3cd203af9ee75616), false, "0.000000000000001");
        add("below 1E-15, rounds to it", bits(0x3cd203af9ee75615), false, "0.000000000000001");
        add("9.99999999999999E-16", bits(0x3cd203af9ee75610), false, "9.99999999999999E-16");
        add("1E-16", bits(0x3c9cd2b297d889bc), false, "1E-16");
        add("0.999999999999999", bits(0x3feffffffffffff7), false, "0.999999999999999");
        add("rounds to 1", bits(0x3fefffffffffffff), false, "1");
        add("123456789012.345", bits(0x423cbe991a145852), false, "123456789012.345");
        add("below 1E+15, rounds to 16 digits", bits(0x430c6bf52633ffff), false, "1000000000000000");
        add("1E+15", bits(0x430c6bf526340000), false, "1E+15");
        add("-1E+15", bits(0xc30c6bf526340000), false, "-1E+15");
        add("near a midpoint, down", bits(0x41b0b7c42973101a), false, "280478761.449464");
        add("near a midpoint, up", bits(0x41b0b7c42973101c), false, "280478761.449465");
        add("1.37680534843504E-44", bits(0x36d3a68217ecae10), false, "1.37680534843504E-44");
        add("least normal", bits(0x0010000000000000), false, "2.2250738585072E-308");
        add("greatest", bits(0x7fefffffffffffff), false, "1.79769313486232E+308");
        add("negative zero", -0.0, false, "0");
        // A Double from a Single keeps the Single's binary noise (a native output the issue quotes).
        add("CSng(\"0.01\") + 0.01", static_cast<double>(0.01f) + 0.01, false, "1.99999997764826E-02");
        // Singles: 7 digits. 654322.25 is a tie that native rounds up (Wine's vartype.c,
        // test_VarBstrFromR4); 1536.753 is a native output the issue quotes.
        add("Single tie", 654322.23456, true, "654322.3");
        add("Single 1536.753", 1536.75263541, true, "1536.753");
        add("Single third", 1.0 / 3, true, "0.3333333");
        add("Single 1E+07", 1e7, true, "1E+07");
        // The Single's limits by the Double's rule, 7 for 15 (no native row found).
        add("Single 1/30", 1.0 / 30, true, "3.333334E-02");
        add("Single 0.0000001", 1e-7, true, "0.0000001");
    }
    void languageText()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QByteArray, text);
        const std::string written = single ? eval::languageSingleText(static_cast<float>(value))
                                           : eval::languageDoubleText(value);
        QCOMPARE(QByteArray(written.c_str()), text);
    }

    void formatResult_data()
    {
        QTest::addColumn<QByteArray>("numberText");
        QTest::addColumn<int>("places");
        QTest::addColumn<QByteArray>("result");
        auto add = [](const char *text, int places, const std::string &result) {
            QTest::newRow((std::string(text) + " at " + std::to_string(places)).c_str())
                << QByteArray(text) << places << QByteArray(result.c_str());
        };
        const int automatic = eval::DecimalPlacesAuto;
        add("595.090909090909", 2, "= 595.09");
        add("1234.5", 2, "= 1,234.5");
        add("1234567.891", 2, "= 1,234,567.89");
        add("-1234.5", 2, "= -1,234.5");
        add("3", 2, "= 3");
        add("2.999", 2, "= 3");
        add("0.5", 2, "= 0.5");
        add("-0.5", 2, "= -0.5");
        add("0.001", 2, "= 0.00");
        add("1000", 2, "= 1,000");
        // Rounding works on the decimal digits, a 5 going away from zero.
        add("0.125", 2, "= 0.13");
        add("2.675", 2, "= 2.68");
        add("0.1234567895", 9, "= 0.12345679");
        add("2.5", 0, "= 3");
        add("-2.5", 0, "= -3");
        add("-0.5", 0, "= -1");
        add("9.995", 2, "= 10");
        add("999.999", 2, "= 1,000");
        // Each setting has its zero text; what rounds to nothing shows it, never "-0".
        add("0", 0, "= 0");
        for (int places = 1; places <= 9; ++places)
            add("0", places, "= 0." + std::string(static_cast<std::size_t>(places), '0'));
        add("0.04", 1, "= 0.0");
        add("-0.001", 2, "= 0.00");
        add("0.4", 0, "= 0");
        add("-0.4", 0, "= 0");
        // No grouping at 0 places, and the whole part keeps its zeros.
        add("100", 0, "= 100");
        add("1234567.5", 0, "= 1234568");
        // Exponents are written out in full.
        add("1E+20", 2, "= 100,000,000,000,000,000,000");
        add("9.00719925474099E+15", 2, "= 9,007,199,254,740,990");
        add("1E-05", 9, "= 0.00001");
        // Automatic shows the number text itself, mended only at its ends.
        add("0.333333333333333", automatic, "= 0.333333333333333");
        add("1E+20", automatic, "= 1E+20");
        add("3.", automatic, "= 3");
        add(".5", automatic, "= 0.5");
        add("-.5", automatic, "= -0.5");
    }
    void formatResult()
    {
        QFETCH(QByteArray, numberText);
        QFETCH(int, places);
        QFETCH(QByteArray, result);
        QCOMPARE(QByteArray(eval::FormatResult(numberText.toStdString(), places).c_str()), result);
    }

    // A plain decimal text and the same number in exponent form take different roads through
    // FormatResult; they must give the same result text at every setting.
    void plainAndExponentFormsAgree()
    {
        std::mt19937_64 random(7);
        for (int i = 0; i < 40000; ++i) {
            std::string whole = std::to_string(random() % 1000000000000ull);
            whole.erase(0, random() % whole.size()); // short and long whole parts, "0" too
            std::string fraction;
            for (auto n = random() % 12; n > 0; --n)
                fraction += static_cast<char>('0' + random() % 10);
            const bool negative = random() % 3 == 0;
            const std::string plain = (negative ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
            // The same digits as d.ddd E+x.
            std::string all = whole + fraction;
            const auto exponent = static_cast<long>(whole.size()) - 1;
            const std::string scientific = (negative ? "-" : "") + all.substr(0, 1) + "." + all.substr(1) + "E" +
                                           (exponent < 0 ? "-" : "+") + std::to_string(std::labs(exponent));
            for (int places = 0; places <= 9; ++places)
                QVERIFY2(eval::FormatResult(plain, places) == eval::FormatResult(scientific, places),
                         (plain + " " + scientific + " at " + std::to_string(places)).c_str());
        }
    }

    // Doubles, whole numbers and Currency amounts are formatted from their digits, without
    // their number text; the result must be what FormatResult makes of that text, at every
    // setting: ties at the rounded digit, carries into a new digit, all digits rounding away.
    void resultsFromDigitsMatchTheText()
    {
        std::mt19937_64 random(5);
        std::vector<double> doubles{0.0001, 999999999999999.0, 0.005, 0.0049999, 2.675, 9.995, 999.9995,
                                    0.5, 1.5, 1e14 + 0.5, 123456.785, 0.00015, 4.4999999999};
        std::vector<std::int64_t> wholes{1, 9, 10, 999, 1000, 32767, -32768, 2147483647, -2147483648LL,
                                         std::numeric_limits<std::int64_t>::max(),
                                         std::numeric_limits<std::int64_t>::min()};
        for (int i = 0; i < 30000; ++i) {
            const double scale = std::pow(10.0, static_cast<double>(random() % 20) - 5);
            const double d = static_cast<double>(random() % 10000000) / 1000.0 * scale;
            doubles.push_back(random() % 2 ? -d : d);
            doubles.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 60) - 60));
            const auto w = static_cast<std::int64_t>(random() >> (random() % 64));
            wholes.push_back(random() % 2 ? -w : w);
        }
        const auto magnitude = [](std::int64_t w) { return w < 0 ? 0 - static_cast<std::uint64_t>(w) : static_cast<std::uint64_t>(w); };
        for (int places : {0, 1, 2, 3, 5, 9, eval::DecimalPlacesAuto}) {
            for (double d : doubles)
                if (d != 0)
                    QVERIFY2(eval::FormatDoubleResult(d, places) == eval::FormatResult(eval::formatDouble(d), places),
                             (eval::formatDouble(d) + " at " + std::to_string(places)).c_str());
            for (std::int64_t w : wholes) {
                if (w == 0)
                    continue;
                QVERIFY2(eval::FormatDecimalResult(w < 0, magnitude(w), 0, places) ==
                             eval::FormatResult(std::to_string(w), places),
                         (std::to_string(w) + " at " + std::to_string(places)).c_str());
                QVERIFY2(eval::FormatDecimalResult(w < 0, magnitude(w), 4, places) ==
                             eval::FormatResult(eval::formatCurrency(w), places),
                         (eval::formatCurrency(w) + " at " + std::to_string(places)).c_str());
            }
        }
    }

    // The number text of a Double is printf's %.15G, whichever road formatDouble takes:
    // random doubles of every magnitude, short decimals, and exact ties at the 16th digit.
    void doubleTextIsPrintfs()
    {
        std::mt19937_64 random(11);
        const auto printfText = [](double d) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.15G", d);
            return std::string(buffer);
        };
        std::vector<double> values{123456789012344.5, 123456789012345.5, 999999999999999.5,
                                   999999999999999.4, 0.0001, 0.00009999999999999999, 1e15, 0.1,
                                   1.0000000000000002, 2.5, 0.30000000000000004};
        for (int i = 0; i < 200000; ++i) {
            const std::uint64_t bits = random();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            if (std::isfinite(d))
                values.push_back(d);
            values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 100));
            values.push_back(static_cast<double>(random() % 100000000) / std::pow(10.0, static_cast<double>(random() % 12)));
        }
        for (double d : values) {
            if (d == 0)
                continue;
            QVERIFY2(eval::formatDouble(d) == printfText(d), printfText(d).c_str());
        }
    }
};

QTEST_GUILESS_MAIN(TestFormatting)
#include "tst_formatting.moc"
