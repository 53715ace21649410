#include "app/ScriptProvisioning.h"
#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/ScriptControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <string>

namespace {

constexpr int automatic = eval::DecimalPlacesAuto;

QByteArray calculate(eval::ScriptControl &engine, const char *expression, int places)
{
    const eval::Calculation c = eval::calculateResultText(engine, expression, places);
    return c.ok ? QByteArray(c.resultText.c_str()) : "failed " + QByteArray::number(c.error.number);
}

} // namespace

class TestCalculation : public QObject
{
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<int>("places");
        QTest::addColumn<QByteArray>("result");
        auto add = [](const char *expression, int places, const char *result) {
            QTest::newRow((std::string(expression) + " at " + std::to_string(places)).c_str())
                << QByteArray(expression) << places << QByteArray(result);
        };
        const char *sample = "238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3";
        add(sample, 2, "= 595.09");
        add(sample, automatic, "= 595.090909090909");
        add(sample, 0, "= 595");
        // The integer function truncates, as the rewrite makes it Fix.
        add("int(-2.5)", 2, "= -2");
        add("Int(2.7)", 2, "= 2");
        // Text with nothing to upper-case is rewritten too, wherever its INT stands.
        add("INT(-2.5)", 2, "= -2");
        add("10000000 + INT(-2.5)", 2, "= 9,999,998");
        add("0.001", 2, "= 0.00");
        add("10 / 4", 0, "= 3");
        add("1234567.5", automatic, "= 1234567.5");
        add("1E20", automatic, "= 1E+20");
        add("Rnd", automatic, "= 0.7055475");
        // The result box keeps its own number text: the language's "3.33333333333333E-02" is not it.
        add("1 / 30", automatic, "= 0.0333333333333333");
        add("1 / 30", 9, "= 0.033333333");
        add("\"5-\"", 2, "= -5"); // a number written in text, trailing sign
        // A string that reads as a number counts by its value.
        add("\"1\" & \"2\"", 2, "= 12");
        add("\"1\" & \"2\"", automatic, "= 12");
        add("\"1,234\"", 0, "= 1234");
        for (int places : {0, 2, 9, automatic})
            add("5 - 5", places, "= 0"); // exact zero ignores the setting
        for (int places = 0; places <= 9; ++places)
            add("2 * 3", places, "= 6");
    }
    void results()
    {
        QFETCH(QByteArray, expression);
        QFETCH(int, places);
        QFETCH(QByteArray, result);
        eval::ScriptControl engine;
        QCOMPARE(calculate(engine, expression.constData(), places), result);
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<int>("number"); // 0: any error will do
        QTest::newRow("CInt becomes CFix") << QByteArray("CInt(2.5)") << 13;
        QTest::newRow("division by zero") << QByteArray("1 / 0") << 11;
        QTest::newRow("empty text") << QByteArray("") << 0;
        QTest::newRow("Boolean") << QByteArray("True") << 0;
        QTest::newRow("Empty") << QByteArray("x") << 0;
        QTest::newRow("Null") << QByteArray("Null") << 0;
        QTest::newRow("Date") << QByteArray("#1/2/2000#") << 0;
        QTest::newRow("text") << QByteArray("\"abc\"") << 0;
        QTest::newRow("date from text past the range") << QByteArray("CDate(\"2147483648\") * 1") << 6;
        QTest::newRow("date from text before the range") << QByteArray("CDate(\"-700000\") * 1") << 6;
    }
    void failures()
    {
        QFETCH(QByteArray, expression);
        QFETCH(int, number);
        for (int places : {0, 2, automatic}) {
            eval::ScriptControl engine;
            const eval::Calculation c = eval::calculateResultText(engine, expression.toStdString(), places);
            QVERIFY(!c.ok);
            QVERIFY(c.resultText.empty());
            QVERIFY(c.error.number != 0);
            if (number != 0)
                QCOMPARE(c.error.number, number);
        }
    }

    // What the window says beside a result: the error and its number, where a syntax error
    // lies, the function meant, what the value was, and the names that counted as Empty.
    void reasons_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("position"); // of the faulty spot, -1 for none
        QTest::addColumn<int>("length");
        auto add = [](const char *name, const QString &expression, const char *reason, int position = -1,
                      int length = 0) {
            QTest::newRow(name) << expression << QString::fromUtf8(reason) << position << length;
        };
        add("plain success", "1 + 1", "");
        add("division by zero", "1/0", "Division by zero (error 11)");
        add("missing parenthesis at the end", "(1 + 2", "Expected ')' at character 7 (error 1006)", 6, 0);
        // Positions count in the text as given: leading spaces, and a line break as CR LF.
        add("stray token after spaces", "  2 3", "Expected end of statement at character 5 (error 1025)", 4, 1);
        add("after line breaks", "1\r\n\r\n2", "Expected end of statement at character 6 (error 1025)", 5, 1);
        add("beyond the basic plane", "\U0001F600 + 1", "Invalid character at character 1 (error 1032)", 0, 2);
        add("nearest function", "Sqrt(2)", "SQRT is not a function; did you mean Sqr? (Type mismatch, error 13)", 0, 4);
        add("one slip in a long name", "1 + datadd(\"d\", 1, 0)",
            "DATADD is not a function; did you mean DateAdd? (Type mismatch, error 13)", 4, 6);
        add("nothing near", "frobnicate(1)", "FROBNICATE is not a function of the language (Type mismatch, error 13)",
            0, 10);
        // The engine sees PRFIX; the user typed Print.
        add("name holding INT", "Print(1)", "PRINT is not a function of the language (Type mismatch, error 13)", 0, 5);
        add("a date", "DateSerial(2024, 6, 13)", "Type mismatch: the value is the date 6/13/2024 (error 13)");
        add("a text", "Hex(255)", "Type mismatch: the value is the text FF (error 13)");
        add("Null", "Null", "Invalid use of Null: the value is Null (error 94)");
        add("text read as a number", "Hex(16)", "the text 10, read as a number");
        add("undefined name", "pi * 2", "PI is not a name the language knows; it counted as 0");
        add("names once each, in order", "sqr2 + 1 + x * SQR2 + y",
            "SQR2, X and Y are not names the language knows; they counted as 0");
        add("with a failure", "x + 1/0", "Division by zero (error 11). X is not a name the language knows; it counted as 0");
        add("not read after the failure", "1/0 + x", "Division by zero (error 11)");
        add("not read when nothing ran", "x + (1", "Expected ')' at character 7 (error 1006)", 6, 0);
        // Long names and texts are cut short, as the command line cuts them.
        add("long name", QString(5000, 'b') + "(1) + " + QString(5000, 'c'),
            qPrintable(QString(40, 'B') + "... is not a function of the language (Type mismatch, error 13)"), 0, 5000);
        add("read inside Eval", "Eval(\"y + 1\")", "Y is not a name the language knows; it counted as 0");
    }
    void reasons()
    {
        QFETCH(QString, expression);
        QFETCH(QString, reason);
        QFETCH(int, position);
        QFETCH(int, length);
        eval::ScriptControl engine;
        const eval::Calculation c = eval::calculateResultText(engine, expression.toStdString(), 2);
        QCOMPARE(QString::fromStdString(eval::explainCalculation(c)), reason);
        QCOMPARE(c.errorPosition, position);
        if (position >= 0)
            QCOMPARE(c.errorLength, length);
    }

    // The window keeps one engine for its whole life, so Rnd goes on between calculations.
    void engineKeepsItsSequence()
    {
        eval::ScriptControl engine;
        QCOMPARE(calculate(engine, "Rnd", automatic), QByteArray("= 0.7055475"));
        QCOMPARE(calculate(engine, "1 / 0", automatic), QByteArray("failed 11"));
        QCOMPARE(calculate(engine, "Rnd", automatic), QByteArray("= 0.533424"));
    }

    // A text that does not compile runs nothing, not even the Rnd before its error; a runtime
    // error stops at once, so a Rnd after it is not drawn.
    void failuresAndTheSequence()
    {
        eval::ScriptControl engine;
        QCOMPARE(calculate(engine, "Rnd + Rnd +", automatic), QByteArray("failed 1023"));
        QCOMPARE(calculate(engine, "Rnd + 1 / 0 + Rnd", automatic), QByteArray("failed 11"));
        QCOMPARE(calculate(engine, "Rnd", automatic), QByteArray("= 0.533424")); // one drawn before
        QCOMPARE(calculate(engine, "1 / 0 + (2", automatic), QByteArray("failed 1006")); // syntax wins
    }

    void provisioningWritesNothing()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const auto contents = [](const QString &path) {
            return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        const QString appDir = QCoreApplication::applicationDirPath();
        const QStringList appDirBefore = contents(appDir);
        eval::ScriptControl engine;
        engine.setLanguage("JScript");
        QVERIFY(!engine.Eval("1 + 1").ok);

        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(scratch.path()));
        app::EnsureScriptControl(engine);

        QVERIFY(QDir::setCurrent(oldCurrent));
        QVERIFY(engine.Eval("1 + 1").ok);
        QCOMPARE(contents(scratch.path()), QStringList());
        QCOMPARE(contents(appDir), appDirBefore);
    }
};

QTEST_GUILESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
