#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <random>
#include <string>

namespace {

// Whatever is typed, the engine answers: a value, or an error it can name to the user.
bool answered(const eval::EvalResult &r)
{
    return r.ok || (r.error.number > 0 && !r.error.description.empty());
}

bool answered(const eval::Calculation &c)
{
    return c.ok ? c.resultText.starts_with("= ") : c.error.number > 0 && !c.error.description.empty();
}
} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void everySingleByte()
    {
        for (int b = 0; b < 256; ++b) {
            const std::string text(1, static_cast<char>(b));
            eval::ScriptControl engine;
            QVERIFY2(answered(engine.Eval(text)), qPrintable(QString::number(b)));
            QVERIFY2(answered(eval::calculateResultText(engine, text, 2)), qPrintable(QString::number(b)));
        }
    }

    // Fixed seeds: a failure names an input that can be replayed.
    void randomInput()
    {
        std::mt19937 random(20240601);
        const std::string pieces[] = {
            "1", "2.5", "E", "&H", "&O", "\"", "#", "(", ")", ",", "+", "-", "*", "/", "\\", "^", "&",
            "=", "<", " ", "_\n", "Mod", "Not", "Imp", "Null", "Empty", "True", "x", "Abs(", "Sqr(",
            "Rnd", "Round(", "CInt(", "Hex(", "CCur(", "CDate(", "Mid(", "32768", "2147483648", "1E308"};
        for (int i = 0; i < 20000; ++i) {
            std::string text;
            const auto length = random() % 40;
            for (unsigned j = 0; j < length; ++j) {
                if (i % 2 == 0)
                    text += static_cast<char>(random() % 256);
                else
                    text += pieces[random() % std::size(pieces)];
            }
            eval::ScriptControl engine;
            QVERIFY2(answered(engine.Eval(text)), text.c_str());
            QVERIFY2(answered(eval::calculateResultText(engine, text, i % 10)), text.c_str());
        }
    }

    // Long or deep text either works or fails for want of room; it must not bring the process down.
    void longText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("value");
        const QByteArray one("1"), closing(100000, ')');
        QTest::newRow("100,000 parentheses") << QByteArray(100000, '(') + one + closing << one;
        QTest::newRow("1,000,000 minus signs") << QByteArray(1000000, '-') + one << one;
        QTest::newRow("100,000 Not") << QByteArray("Not ").repeated(100000) + one << one;
        QTest::newRow("100,000 calls") << QByteArray("Abs(").repeated(100000) + one + closing << one;
        QTest::newRow("100,000 signed groups") << QByteArray("-(").repeated(100000) + one + closing << one;
        QTest::newRow("10 MB sum") << QByteArray("1+").repeated(5000000) + one << QByteArray("5000001");
    }
    void longText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, value);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(text.toStdString());
        if (r.ok)
            QCOMPARE(QByteArray(eval::NumberText(r.value).value_or("").c_str()), value);
        else
            QVERIFY2(r.error.number == 28 || r.error.number == 7, r.error.description.c_str());
    }

    // The guard against deep text must leave room for any nesting a person would type.
    void ordinaryNesting()
    {
        eval::ScriptControl engine;
        QVERIFY(engine.Eval((QByteArray(100, '(') + "1" + QByteArray(100, ')')).toStdString()).ok);
    }

    void longConcatenation()
    {
        const std::string text = (QByteArray("\"ab\" & ").repeated(200000) + "1").toStdString();
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(text);
        QVERIFY(r.ok);
        QCOMPARE(r.value.asString().size(), std::size_t{400001});
        QVERIFY(!eval::calculateResultText(engine, text, eval::DecimalPlacesAuto).ok);
    }

    // Results too big for the language: any of the errors that say so will do.
    void oversized_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("numbers");
        const QList<int> tooLong{7, 14}, tooBig{6, 1031};
        QTest::newRow("huge space") << QByteArray("Space(2000000000)") << tooLong;
        QTest::newRow("huge exponent") << QByteArray("1E999999999") << tooBig;
        QTest::newRow("400 digits") << "1" + QByteArray(400, '0') << tooBig;
        QTest::newRow("hex of a huge number") << QByteArray("Hex(1E300)") << QList<int>{6};
    }
    void oversized()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, numbers);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(text.toStdString());
        QVERIFY(!r.ok);
        QVERIFY2(numbers.contains(r.error.number), qPrintable(QString::number(r.error.number)));
    }
};

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
