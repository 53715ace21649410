// MsgBox and InputBox typed into the window: the calculate command reaches the window's dialogs.
#include "FakeControls.h"

#include <QTest>

namespace colors = platform::colors;

namespace {

struct Started : fakes::Started
{
    Started() : fakes::Started(true) {}
    void calculate(const QString &expression)
    {
        fake.Text1.setText(expression);
        form->Command3_Click();
    }
};

} // namespace

class TestScriptDialogs : public QObject
{
    Q_OBJECT

private slots:
    void inputBoxFeedsTheCalculation()
    {
        Started s;
        s.fake.scriptDialogs.typed = {QStringLiteral("10")};
        s.calculate(QStringLiteral("InputBox(\"Price\") * 1.2"));
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 12"));
        QCOMPARE(s.fake.Text2.foreColor(), colors::Navy);
        // The calculator upper-cases the whole text, string literals too.
        QCOMPARE(s.fake.scriptDialogs.shown, QStringList{QStringLiteral("PRICE|VBScript|")});
        QCOMPARE(s.fake.List1.rows, QStringList{QStringLiteral("InputBox(\"Price\") * 1.2")});
        QCOMPARE(s.fake.List2.rows, QStringList{QStringLiteral("  = 12")});
    }

    void cancelledInputBoxIsAnError()
    {
        Started s;
        s.calculate(QStringLiteral("1 + 1"));
        const QStringList before = s.fake.List1.rows;
        s.calculate(QStringLiteral("InputBox(\"Price\", \"Shop\", 5) * 1.2")); // no typed text: Cancel
        QCOMPARE(s.fake.scriptDialogs.shown, QStringList{QStringLiteral("PRICE|SHOP|5")});
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("Error"));
        QCOMPARE(s.fake.Text2.foreColor(), colors::Red);
        QCOMPARE(s.fake.List1.rows, before);
    }

    void messageBoxAnswersWithItsButton()
    {
        Started s;
        s.fake.scriptDialogs.buttonAnswers = {7};
        s.calculate(QStringLiteral("MsgBox(\"Line one\" & vbCrLf & \"two\" & vbCr & \"three\", vbYesNo + vbQuestion + "
                                   "vbDefaultButton2, \"Ask\") * 10"));
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 70"));
        QCOMPARE(s.fake.scriptDialogs.shown, QStringList{QStringLiteral("LINE ONE\nTWO\nTHREE|ASK|4|32|1")});
        QVERIFY(s.fake.messages.shown.isEmpty()); // not the window's own message boxes
    }

    void textsBeyondAsciiArriveWhole()
    {
        Started s;
        s.fake.scriptDialogs.typed = {QStringLiteral("€ 3")};
        s.calculate(QStringLiteral("Len(InputBox(\"Prix €\", \"Déjà\", \"ü\"))"));
        QCOMPARE(s.fake.Text2.text(), QStringLiteral("= 3"));
        QCOMPARE(s.fake.scriptDialogs.shown.front(), QStringLiteral("PRIX €|DÉJÀ|Ü"));
    }
};

QTEST_GUILESS_MAIN(TestScriptDialogs)
#include "tst_scriptdialogs.moc"
