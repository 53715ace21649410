#include "FakeControls.h"

#include "shared/UnscrambleText.h"
#include "shared/WebAddressData.h"
#include "companion/CompanionProducts.h"
#include "companion/FormUtility.h"

#include <QTest>

#include <memory>
#include <string>

using fakes::FakeForm;
using fakes::Started;

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

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpText()
    {
        Started s;
        s.choose(s.fake.controls.mnuHelpTopic);
        QCOMPARE(s.fake.messages.shown.size(), 1);
        const QString expected =
            "Numerette 9.19\r\n \r\n \r\n"
            "1. Type a math expression in the textbox, Then press the ENTER key to calculate the result.\r\n \r\n"
            "2. Calculate history can be saved and be reloaded again.\r\n \r\n"
            "3. Click the calculate history result, insert to the textbox.\r\n|64| Numerette 9.19";
        QCOMPARE(s.fake.messages.shown[0], expected);
    }

    void aboutText()
    {
        Started s;
        s.choose(s.fake.controls.mnuAbout);
        QCOMPARE(s.fake.messages.shown[0], QStringLiteral(" Numerette 9.19\r\n\r\n%1|64|%2")
                                               .arg(app::FormTallix::MakerNotice, app::FormTallix::MakerName));
        QVERIFY(app::FormTallix::MakerName.contains(QStringLiteral("Numerette project")));
    }

    void launchers()
    {
        Started s;
        s.fake.shell.installed = {"kate", "gedit", "pinta"};
        s.fake.shell.broken = {"/usr/bin/gedit"}; // found but will not start: the next one
        s.choose(s.fake.controls.mnuNotepad);
        s.choose(s.fake.controls.mnuPaint);
        QCOMPARE(s.fake.shell.started, (QStringList{"/usr/bin/gedit", "/usr/bin/kate", "/usr/bin/pinta"}));
        QVERIFY(s.fake.messages.shown.isEmpty());
        s.fake.shell.installed.clear();
        s.choose(s.fake.controls.mnuPaint);
        QCOMPARE(s.fake.messages.shown.size(), 1);
        QVERIFY(s.fake.messages.shown[0].startsWith(QStringLiteral("No paint program could be started. Tried: kolourpaint, pinta")));
    }

    // The desktop's own choice for text and for pictures comes before the fixed list.
    void launchersAskTheDesktopFirst()
    {
        Started s;
        s.fake.shell.installed = {"kate", "pinta"};
        s.fake.shell.defaults = {{"text/plain", "org.example.Editor.desktop"}, {"image/png", "viewer.desktop"}};
        s.fake.shell.broken = {"viewer.desktop"}; // named but will not start: the list follows
        s.choose(s.fake.controls.mnuNotepad);
        s.choose(s.fake.controls.mnuPaint);
        QCOMPARE(s.fake.shell.started,
                 (QStringList{"org.example.Editor.desktop", "viewer.desktop", "/usr/bin/pinta"}));
        QVERIFY(s.fake.messages.shown.isEmpty());
    }

    void websiteAndCompanions()
    {
        Started s;
        s.choose(s.fake.controls.mnuWebsite);
        QCOMPARE(s.fake.shell.opened, QStringList{"https://numerette.example/"});
        for (platform::MenuEntry *bk : {s.fake.controls.mnuBK1, s.fake.controls.mnuBK2, s.fake.controls.mnuBK3})
            s.choose(bk);
        QCOMPARE(s.fake.companions.shown, 3);
    }

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

    // Links turn red under the mouse; only the bare background turns them back. They start bold,
    // so the first release leaves them regular, and from then on they are bold only while pressed.
    void companionLinks()
    {
        fakes::FakeWindow window;
        window.outerW = 6900;
        window.outerH = 3900;
        fakes::FakeTextBox a(window, "Text1"), b(window, "Text2"), c(window, "Text3"), d(window, "Text4");
        fakes::FakeShell shell;
        fakes::FakeMessageBoxes messages;
        for (fakes::FakeTextBox *link : {&a, &b, &c, &d})
            link->setFontBold(true);
        companion::FormUtility form({&window, {&a, &b, &c, &d}, &shell, &messages});
        window.onActivate();
        QCOMPARE(window.left, (19200 - 6900) / 2);
        QCOMPARE(window.top, (12000 - 3900) / 2 - 100);
        QCOMPARE(d.text(), QStringLiteral("https://numerette.example/"));

        const platform::Rgb red{255, 0, 0}, blue{0, 0, 192};
        a.onMouseMove();
        QCOMPARE(a.foreColor(), red);
        b.onMouseMove(); // onto another link: both red until the background
        QCOMPARE(a.foreColor(), red);
        window.onMouseMove();
        for (fakes::FakeTextBox *link : {&a, &b, &c, &d})
            QCOMPARE(link->foreColor(), blue);

        c.onMouseDown();
        QVERIFY(c.isFontBold());
        c.onMouseUp();
        QVERIFY(!c.isFontBold());
        c.onMouseDown();
        QVERIFY(c.isFontBold());

        for (fakes::FakeTextBox *link : {&a, &b, &c, &d})
            link->onClick();
        QCOMPARE(shell.opened, (QStringList{companion::DownloadAddresses[0], companion::DownloadAddresses[1],
                                            companion::DownloadAddresses[2], "https://numerette.example/"}));
        for (const QString &address : companion::DownloadAddresses)
            QVERIFY(address.startsWith(QStringLiteral("https://numerette.example/")));
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
