#include "FakeControls.h"

#include <QTest>

#include <memory>
#include <string>

using fakes::FakeForm;
using fakes::Started;

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
};

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
