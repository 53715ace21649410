#include "FakeControls.h"

#include <QTest>

#include <memory>

using fakes::FakeForm;
using fakes::Started;
namespace colors = platform::colors;

namespace {

const QString sample = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");

} // namespace

class TestFormTallix : public QObject
{
    Q_OBJECT

private slots:
    void startState()
    {
        Started s;
        const FakeForm &f = s.fake;
        QCOMPARE(f.Text1.text(), app::FormTallix::InstructionText);
        QVERIFY(f.Text1.text().startsWith(app::FormTallix::InstructionMarker));
        QCOMPARE(app::FormTallix::InstructionMarker.size(), 30);
        QCOMPARE(f.Text1.text().count(QStringLiteral("\r\n")), 3);
        QVERIFY(f.Text1.text().endsWith(QString(24, ' ') + sample));
        QCOMPARE(f.Text1.foreColor(), colors::Grey);
        QCOMPARE(f.Text2.text(), QStringLiteral("= 595.09"));
        QCOMPARE(f.List1.rows, history::expressionInstructionRows());
        QCOMPARE(f.List2.rows, history::resultInstructionRows());
        QCOMPARE(f.List3.rows.size(), 18);
        QCOMPARE(f.List3.rows[4], QStringLiteral("\\"));
        QCOMPARE(f.List3.rows.last(), QStringLiteral("Int"));
        QVERIFY(!f.List3.visible);
        QCOMPARE(s.form->DecimalPlaces, 2);
        QVERIFY(s.form->ScriptControl1.Eval("1 + 1").ok);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void centring_data()
    {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("screenHeight");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::newRow("wide screen") << 19200 << 12000 << (19200 - 8865) / 2 << (12000 - 6390) / 2 - 300;
        // A screen smaller than the window gives negative positions, applied unchanged.
        QTest::newRow("small screen") << 6000 << 4500 << (6000 - 8865) / 2 << (4500 - 6390) / 2 - 300;
    }

    void centring()
    {
        QFETCH(int, screenWidth);
        QFETCH(int, screenHeight);
        FakeForm fake;
        fake.window.screenW = screenWidth;
        fake.window.screenH = screenHeight;
        app::FormTallix form(fake.controls);
        form.Form_Load();
        QTEST(fake.window.left, "left");
        QTEST(fake.window.top, "top");
    }

    // Under a window manager the frame is known only after the first show: the window is placed
    // again with its outer size, title bar included.
    void placedAgainWithTheFrame()
    {
        FakeForm fake;
        fake.window.outerH = 5730; // the client area alone, as before the frame is known
        app::FormTallix form(fake.controls);
        form.Form_Load();
        QCOMPARE(fake.window.top, (12000 - 5730) / 2 - 300);
        fake.window.outerH = 6390;
        fake.window.onFrameKnown();
        QCOMPARE(fake.window.top, (12000 - 6390) / 2 - 300);
        QCOMPARE(fake.window.left, (19200 - 8865) / 2);
    }

    void activation()
    {
        Started s;
        s.fake.window.onActivate();
        QCOMPARE(s.fake.window.focus, QStringLiteral("Text2"));
        QCOMPARE(s.fake.Text2.selStart(), 8); // the end of "= 595.09"
        s.fake.Text2.setText(QString(150, '1'));
        s.form->Form_Activate();
        QCOMPARE(s.fake.Text2.selStart(), 99);
    }

    void backgroundClickHidesPalette()
    {
        Started s;
        s.fake.List3.visible = true;
        s.fake.window.onClick();
        QVERIFY(!s.fake.List3.visible);
    }

    void exitEndsProgram()
    {
        Started s;
        static_cast<fakes::FakeMenuEntry *>(s.fake.controls.mnuExit)->choose();
        QVERIFY(s.fake.window.closed);
        QVERIFY(s.fake.window.ended);
    }
};

QTEST_GUILESS_MAIN(TestFormTallix)
#include "tst_formtallix.moc"
