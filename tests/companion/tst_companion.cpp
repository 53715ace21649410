// The companion products window's logic, driven through fakes.
#include "FakeControls.h"

#include "companion/CompanionProducts.h"
#include "companion/FormUtility.h"

#include <QTest>

class TestCompanion : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
