// The web address: its unscrambling and the shipped data.
#include "shared/UnscrambleText.h"
#include "shared/WebAddressData.h"

#include <QTest>

#include <string>

namespace {

// Digits with filler at the odd positions: T "3101" becomes "x3x1x0x1".
std::string withFiller(const std::string &t, char filler = '9')
{
    std::string d;
    for (char c : t)
        d += std::string(1, filler) + c;
    return d;
}

// A key whose characters at positions k + 7 and k + 11 cancel out: all '0'.
const std::string zeroKey(40, '0');

} // namespace

class TestUnscrambleText : public QObject
{
    Q_OBJECT

private slots:
    void shippedData()
    {
        QCOMPARE(std::string(shared::ScrambledWebAddress).size(), std::size_t(176));
        const std::string key = shared::UnscrambleKey;
        QCOMPARE(key.size(), std::size_t(562));
        QVERIFY(key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") == std::string::npos);
        QCOMPARE(shared::webAddress().text.value_or("failed"), QStringLiteral("https://numerette.example/"));
    }

    void unscramble_data()
    {
        QTest::addColumn<QByteArray>("digits");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("text"); // "!" when it must fail
        // 100 stays: 100 - 51 = 49 = "1"; 101 loses 357: 101 - 357 - 51 < 0 fails.
        QTest::newRow("100 is not reduced") << QByteArray(withFiller("3100").c_str()) << QByteArray(zeroKey.c_str()) << "1";
        QTest::newRow("101 is") << QByteArray(withFiller("3101").c_str()) << QByteArray(zeroKey.c_str()) << "!";
        // 473 - 357 - 51 = 65: a length 3 takes four digits of T.
        QTest::newRow("three digits then two") << QByteArray(withFiller("3473299").c_str()) << QByteArray(zeroKey.c_str()) << "A0";
        QTest::newRow("odd positions never count") << QByteArray(withFiller("3473299", '5').c_str())
                                                   << QByteArray(zeroKey.c_str()) << "A0";
        // Key characters 8 and 12 ("a" xor "b" = 3) shape the first character.
        QTest::newRow("key positions k+7 and k+11") << QByteArray(withFiller("299").c_str())
                                                    << QByteArray("0000000a000b0000000000") << "3";
        QTest::newRow("length not a digit") << QByteArray(withFiller("x12").c_str()) << QByteArray(zeroKey.c_str()) << "!";
        QTest::newRow("number past the end") << QByteArray(withFiller("312").c_str()) << QByteArray(zeroKey.c_str()) << "!";
        QTest::newRow("key too short") << QByteArray(withFiller("299").c_str()) << QByteArray("0000") << "!";
        QTest::newRow("empty") << QByteArray() << QByteArray(zeroKey.c_str()) << "!";
    }

    void unscramble()
    {
        QFETCH(QByteArray, digits);
        QFETCH(QByteArray, key);
        const shared::Unscrambled r = shared::UnscrambleText(digits.toStdString(), key.toStdString());
        QTEST(r.text ? *r.text : QStringLiteral("!"), "text");
        QCOMPARE(r.error.isEmpty(), bool(r.text));
    }
};

QTEST_GUILESS_MAIN(TestUnscrambleText)
#include "tst_unscrambletext.moc"
