// Decimal literals are read by a short exact road where their digits allow it; every literal
// must still read as the correctly rounded double that from_chars gives.
#include "eval/ScriptControl.h"

#include <QTest>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

class TestNumberLiterals : public QObject
{
    Q_OBJECT

private slots:
    void sameDoubleAsFromChars()
    {
        std::mt19937_64 random(20261208);
        const auto digits = [&](int most) {
            std::string s;
            const int n = 1 + static_cast<int>(random() % static_cast<unsigned>(most));
            for (int i = 0; i < n; ++i)
                s += static_cast<char>('0' + random() % 10);
            return s;
        };
        eval::ScriptControl engine;
        for (int i = 0; i < 50000; ++i) {
            std::string literal = digits(18);
            if (random() % 2)
                literal += "." + digits(18);
            if (random() % 3 == 0)
                literal +=
                    std::string("E") + (random() % 2 ? "-" : "+") + std::to_string(random() % 40);
            double expected = 0;
            std::from_chars(literal.data(), literal.data() + literal.size(), expected);
            // Eight bytes are read at once where the text has them: a literal before others
            // and one at the text's end take different roads.
            const eval::EvalResult r = engine.Eval(i % 2 ? literal + " + 0.0" : "0.0 + " + literal);
            QVERIFY2(r.ok, literal.c_str());
            const double read = r.value.asDouble();
            QVERIFY2(std::memcmp(&expected, &read, sizeof expected) == 0 ||
                         (expected == 0 && read == 0),
                     literal.c_str());
        }
    }

    // Whole literals keep their subtypes whatever zeros lead them.
    void wholeLiteralTypes_data()
    {
        QTest::addColumn<QByteArray>("literal");
        QTest::addColumn<int>("varType");
        QTest::newRow("zero") << QByteArray("0") << 2;
        QTest::newRow("Integer") << QByteArray("32767") << 2;
        QTest::newRow("Long") << QByteArray("32768") << 3;
        QTest::newRow("Long limit") << QByteArray("2147483647") << 3;
        QTest::newRow("Double") << QByteArray("2147483648") << 5;
        QTest::newRow("leading zeros") << QByteArray("0000000000000000000000000000012") << 2;
        QTest::newRow("many digits") << QByteArray("12345678901234567890123") << 5;
        QTest::newRow("point") << QByteArray("1.0") << 5;
        QTest::newRow("exponent") << QByteArray("1E2") << 5;
    }
    void wholeLiteralTypes()
    {
        QFETCH(QByteArray, literal);
        QFETCH(int, varType);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(literal.toStdString());
        QVERIFY(r.ok);
        QCOMPARE(static_cast<int>(r.value.type()), varType);
    }
};

QTEST_GUILESS_MAIN(TestNumberLiterals)
#include "tst_numberliterals.moc"
