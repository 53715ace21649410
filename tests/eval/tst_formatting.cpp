#include "eval/DecimalPlaces.h"
#include "eval/FormatResult.h"
#include "eval/NumberText.h"

#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstring>
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
