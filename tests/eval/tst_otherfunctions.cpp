#include "ValueRows.h"

#include "eval/DialogPort.h"
#include "eval/NumberText.h"
#include "eval/Parser.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <deque>
#include <string>
#include <vector>
#include <chrono>
#include <thread>

namespace {

using namespace valuerows;

QByteArray shown(eval::ScriptControl &engine, const QByteArray &expression)
{
    const eval::EvalResult r = engine.Eval(expression.toStdString());
    if (!r.ok)
        return "error " + QByteArray::number(r.error.number);
    return QByteArray(eval::typeName(r.value.type())) + " " + eval::NumberText(r.value).value_or("Null").c_str();
}

// Answers with queued buttons and texts, and keeps every request.
class FakeDialogs : public eval::DialogPort
{
public:
    int showMessage(const eval::MessageRequest &r) override
    {
        messages.push_back(r);
        std::this_thread::sleep_for(thinking);
        return button;
    }
    std::optional<std::string> askText(const eval::InputRequest &r) override
    {
        inputs.push_back(r);
        return typed;
    }
    int button = 1;
    std::chrono::milliseconds thinking{0}; // how long the user takes to answer
    std::optional<std::string> typed;
    std::vector<eval::MessageRequest> messages;
    std::vector<eval::InputRequest> inputs;
};

} // namespace

class TestOtherFunctions : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        valueColumns();
        // Subtypes of everything, objects included
        row("TypeName(Nothing)", "String", "Nothing");
        row("TypeName(Err)", "String", "Object");
        row("TypeName(Empty)", "String", "Empty");
        row("TypeName(CByte(1))", "String", "Byte");
        row("VarType(Nothing)", "Integer", "9");
        row("VarType(Err)", "Integer", "3"); // the subtype of its default property
        row("VarType(CCur(1))", "Integer", "6");
        row("IsObject(Nothing)", "Boolean", "True");
        row("IsObject(Err)", "Boolean", "True");
        row("IsObject(Null)", "Boolean", "False");
        row("IsObject(\"x\")", "Boolean", "False");
        row("IsEmpty(Nothing)", "Boolean", "False");
        row("IsNull(Nothing)", "Boolean", "False");
        row("IsNumeric(Nothing)", "Boolean", "False");
        row("IsNumeric(Err)", "Boolean", "True");
        // Nothing, Is, and Err's properties
        row("Nothing Is Nothing", "Boolean", "True");
        row("Err Is Err", "Boolean", "True");
        row("Err Is Nothing", "Boolean", "False");
        row("Not Err Is Nothing", "Boolean", "True"); // Not reaches over Is
        row("Nothing Is Nothing And 1", "Integer", "1");
        row("Nothing Is Nothing = True", "Boolean", "True");
        row("+Nothing Is Nothing", "Boolean", "True");
        row("Err", "Object", "Null"); // the object itself
        row("Err + 1", "Long", "1");
        row("Err = 0", "Boolean", "True");
        row("-Err", "Long", "0");
        row("Abs(Err)", "Long", "0");
        row("err.number", "Long", "0");
        row("Err.Number()", "Long", "0");
        row("Err.HelpContext", "Long", "0");
        row("Err.Description", "String", "");
        row("Err.Source", "String", "");
        row("Err.HelpFile", "String", "");
        row("Err.Clear", "Empty", "");
        row("Err()", "Object", "Null");
        // RGB
        row("RGB(0, &H1F, &HF1)", "Long", "15802112");
        row("RGB(&HEF, &HAB, &HCD)", "Long", "13478895");
        row("RGB(1, 256, 273)", "Long", "16776961"); // each part at most 255
        row("RGB(255, 255, 255)", "Long", "16777215");
        row("RGB(\"10\", 0.6, 255.4)", "Long", "16711946");
        // The engine
        row("ScriptEngine", "String", "VBScript");
        row("ScriptEngineMajorVersion", "Long", "5");
        row("ScriptEngineMinorVersion", "Long", "8");
        row("ScriptEngineBuildVersion", "Long", "18702");
        // Locale
        row("GetLocale", "Long", "1033");
        row("GetLocale()", "Long", "1033");
        row("SetLocale(\"de\")", "Long", "1033");
        row("SetLocale(\"EN-GB\") + GetLocale", "Long", "3090");
        row("SetLocale(1031) & \" \" & GetLocale", "String", "1033 1031");
        row("SetLocale(2057) & SetLocale() & GetLocale", "String", "103320571033");
        row("SetLocale(0) & GetLocale", "String", "10331033");
        row("SetLocale(\"1036\") & GetLocale", "String", "10331036");
        // Eval
        row("Eval(\"1 + 2\") * 3", "Integer", "9");
        row("Eval(\"2 ^ 10\")", "Double", "1024");
        row("Eval(\"Eval(\"\"7\"\")\")", "Integer", "7");
        row("Eval(1.5)", "Double", "1.5");
        row("Eval(\"vbRed\")", "Long", "255");
        row("TypeName(Eval(\"Nothing\"))", "String", "Nothing");
        row("Eval(\"x = 1\")", "Boolean", "False"); // a comparison: no assignment in an expression
        // Arguments left out: at the end the same as not given
        row("Round(2.5, )", "Double", "2");
        row("Mid(\"abcd\", 2, )", "String", "bcd");
        row("Round(2.567, , )", "Double", "3");
    }
    void values()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, text);
        eval::ScriptControl engine;
        QCOMPARE(shown(engine, expression), type + " " + text);
    }

    void errors_data()
    {
        errorColumns();
        fails("Nothing + 1", 91);
        fails("-Nothing", 91);
        fails("Not Nothing", 91);
        fails("\"\" & Nothing", 91);
        fails("Abs(Nothing)", 91);
        fails("Nothing = Nothing", 91);
        fails("1 Is 1", 424);
        fails("Null Is Nothing", 424);
        fails("Err Is 0", 424);
        fails("Nothing.Number", 424);
        fails("x.Number", 424);
        fails("Err.Number.Foo", 424);
        fails("Err.Foo", 438);
        fails("Err.Number(1)", 450);
        fails("Err(1)", 450);
        fails("Err.", 1010);
        fails("Err.1", 1025);
        fails("Err.Raise(6)", 6);
        fails("Err.Raise(0)", 5);
        fails("Err.Raise(Null)", 94);
        fails("Err.Raise()", 450);
        fails("Err.Raise(vbObjectError + 1)", -2147221503);
        fails("RGB(-1, 30, 59)", 5);
        fails("RGB(77, -2, 47)", 5);
        fails("RGB(1, 2, Null)", 94);
        fails("RGB(1, 2)", 450);
        fails("RGB(\"a\", 2, 3)", 13);
        fails("RGB(1, 2, True)", 5); // True is -1
        fails("SetLocale(12345)", 5);
        fails("SetLocale(\"xx-yy\")", 5);
        fails("SetLocale(Null)", 94);
        fails("GetLocale(1)", 450);
        fails("ScriptEngine(1)", 450);
        fails("Eval(\"1 / 0\")", 11);
        fails("Eval(\"1 +\")", 1023);
        fails("Eval(\"\")", 1023);
        fails("Eval(Null)", 94);
        fails("Eval(\"foo(1)\")", 13);
        fails("CreateObject(\"Scripting.FileSystemObject\")", 429);
        fails("CreateObject(Null)", 94);
        fails("CreateObject()", 450);
        fails("GetObject(\"\", \"Excel.Application\")", 429);
        fails("GetRef(\"Main\")", 5);
        fails("LoadPicture(\"a.bmp\")", 70);
        fails("MsgBox(\"hello\")", 70); // no dialog port: no user to ask
        fails("InputBox(\"Price\")", 70);
        fails("MsgBox()", 450);
        fails("Mid(, 2)", 449);
        fails("InStr(, \"abc\", \"b\")", 449);
        fails("Mid(\"abc\", , 1)", 449);
        fails("Left(\"abc\", )", 450); // left out at the end: not given
        fails("Abs(1, , 2)", 450);
    }
    void errors()
    {
        QFETCH(QByteArray, expression);
        QFETCH(int, number);
        eval::ScriptControl engine;
        QCOMPARE(shown(engine, expression), "error " + QByteArray::number(number));
    }

    void errorTexts()
    {
        eval::ScriptControl engine;
        QCOMPARE(engine.Eval("Nothing + 1").error.description, std::string("Object variable not set"));
        QCOMPARE(engine.Eval("CreateObject(\"Excel.Application\")").error.description,
                 std::string("ActiveX component can't create object: 'Excel.Application'"));
        QCOMPARE(engine.Eval("CreateObject(String(100000, \"x\"))").error.description,
                 "ActiveX component can't create object: '" + std::string(40, 'x') + "...'");
        QCOMPARE(engine.Eval("MSGBOX(1)").error.description, std::string("Permission denied: 'MSGBOX'"));
        QCOMPARE(engine.Eval("Err.Raise(6, \"here\", \"My own\")").error.description, std::string("My own"));
        QCOMPARE(engine.Eval("Err.Raise(1)").error.description, std::string("Unknown runtime error"));
        QCOMPARE(engine.Eval("Err.Raise(6, , \"Mine\")").error.description, std::string("Mine"));
    }

    // Eval's nesting counts toward the engine's bound: deep enough, it runs out of stack
    // space instead of exhausting the real one.
    void evalNesting()
    {
        eval::ScriptControl engine;
        std::string text = "1";
        for (int i = 0; i < 12; ++i) {
            std::string quoted;
            for (char c : text)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            text = "Eval(\"" + quoted + "\")";
        }
        const eval::EvalResult shallow = engine.Eval(text);
        QVERIFY(shallow.ok);
        QCOMPARE(shallow.value.asInteger(), 1);
        // Each Eval level here spends depth on its parentheses; the bound is reached well
        // before the text grows out of hand.
        const std::string deep = std::string(eval::Parser::MaxDepth - 3, '(') + "Eval(\"((1))\")" +
                                 std::string(eval::Parser::MaxDepth - 3, ')');
        QCOMPARE(engine.Eval(deep).error.number, 28);
    }

    // A text that Eval cannot compile runs nothing: the random sequence and the locale go on
    // as if it had not been there.
    void evalSyntaxErrorRunsNothing()
    {
        eval::ScriptControl engine;
        QCOMPARE(engine.Eval("Eval(\"SetLocale(1031) + Rnd + )\")").error.number, 1023);
        QCOMPARE(shown(engine, "GetLocale"), QByteArray("Long 1033"));
        eval::ScriptControl fresh;
        QCOMPARE(shown(engine, "Rnd"), shown(fresh, "Rnd"));
    }

    // The locale is the engine's, kept from one evaluation to the next.
    void localeLasts()
    {
        eval::ScriptControl engine;
        QCOMPARE(shown(engine, "SetLocale(\"fr\")"), QByteArray("Long 1033"));
        QCOMPARE(shown(engine, "GetLocale"), QByteArray("Long 1036"));
        QCOMPARE(engine.locale(), 1036);
        QCOMPARE(engine.Eval("SetLocale(1031) + )").error.number, 1023); // never ran
        QCOMPARE(engine.locale(), 1036);
        eval::ScriptControl fresh;
        QCOMPARE(fresh.locale(), 1033);
    }

    void messageBoxes_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<QByteArray>("request"); // prompt|title|buttons|icon|default button
        QTest::newRow("prompt only") << QByteArray("MsgBox(\"Hi\")") << QByteArray("Hi|VBScript|0|0|0");
        QTest::newRow("number prompt") << QByteArray("MsgBox(1.5)") << QByteArray("1.5|VBScript|0|0|0");
        QTest::newRow("with title") << QByteArray("MsgBox(\"a\" & vbCrLf & \"b\", 0, \"T\")")
                                    << QByteArray("a\r\nb|T|0|0|0");
        QTest::newRow("buttons left out") << QByteArray("MsgBox(\"a\", , \"T\")") << QByteArray("a|T|0|0|0");
        QTest::newRow("title left out") << QByteArray("MsgBox(\"a\", 1, , \"h\", 1)") << QByteArray("a|VBScript|1|0|0");
        QTest::newRow("style parts") << QByteArray("MsgBox(\"Sure?\", vbYesNoCancel + vbQuestion + vbDefaultButton3)")
                                     << QByteArray("Sure?|VBScript|3|32|2");
        QTest::newRow("modality and help ignored")
            << QByteArray("MsgBox(\"x\", vbRetryCancel + vbCritical + vbSystemModal + vbMsgBoxHelpButton, \"t\", \"h.hlp\", 7)")
            << QByteArray("x|t|5|16|0");
        QTest::newRow("unknown icon bits") << QByteArray("MsgBox(\"x\", 80)") << QByteArray("x|VBScript|0|0|0");
        QTest::newRow("unknown default") << QByteArray("MsgBox(\"x\", &H401)") << QByteArray("x|VBScript|1|0|0");
        QTest::newRow("no such buttons") << QByteArray("MsgBox(\"x\", 6)") << QByteArray();
        QTest::newRow("Null prompt") << QByteArray("MsgBox(Null)") << QByteArray();
    }
    void messageBoxes()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, request);
        FakeDialogs dialogs;
        dialogs.button = 7;
        eval::ScriptControl engine;
        engine.setDialogPort(&dialogs);
        const eval::EvalResult r = engine.Eval(expression.toStdString());
        if (request.isEmpty()) {
            QVERIFY(!r.ok); // rejected before any box shows
            QVERIFY(dialogs.messages.empty());
            return;
        }
        QVERIFY2(r.ok, r.error.description.c_str());
        QCOMPARE(r.value.type(), eval::VarType::Integer);
        QCOMPARE(r.value.asInteger(), 7); // the button the user pressed
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        const eval::MessageRequest &m = dialogs.messages.front();
        QCOMPARE(QByteArray((m.prompt + "|" + m.title + "|" + std::to_string(m.buttons) + "|" + std::to_string(m.icon) +
                             "|" + std::to_string(m.defaultButton)).c_str()),
                 request);
    }

    void longPromptsAreClipped()
    {
        FakeDialogs dialogs;
        eval::ScriptControl engine;
        engine.setDialogPort(&dialogs);
        QVERIFY(engine.Eval("MsgBox(String(2000, \"é\"))").ok);
        QCOMPARE(dialogs.messages.front().prompt, [] {
            std::string s;
            for (int i = 0; i < 1024; ++i)
                s += "é";
            return s;
        }());
        QVERIFY(engine.Eval("InputBox(Space(1025) & \"x\")").ok);
        QCOMPARE(dialogs.inputs.front().prompt, std::string(1024, ' '));
    }

    void inputBoxes()
    {
        FakeDialogs dialogs;
        eval::ScriptControl engine;
        engine.setDialogPort(&dialogs);
        dialogs.typed = "10";
        const eval::EvalResult price = engine.Eval("InputBox(\"Price\") * 1.2");
        QVERIFY(price.ok);
        QCOMPARE(price.value.asDouble(), 12.0);
        const eval::InputRequest &asked = dialogs.inputs.back();
        QCOMPARE(asked.prompt, std::string("Price"));
        QCOMPARE(asked.title, std::string("VBScript"));
        QCOMPARE(asked.defaultText, std::string());

        QCOMPARE(shown(engine, "InputBox(\"Rate\", \"Loan\", 4.5, 100, 200, \"h.hlp\", 3)"), QByteArray("String 10"));
        QCOMPARE(dialogs.inputs.back().title, std::string("Loan"));
        QCOMPARE(dialogs.inputs.back().defaultText, std::string("4.5"));
        QCOMPARE(shown(engine, "InputBox(\"Rate\", , 7, , 200)"), QByteArray("String 10"));
        QCOMPARE(dialogs.inputs.back().title, std::string("VBScript"));
        QCOMPARE(dialogs.inputs.back().defaultText, std::string("7"));

        dialogs.typed.reset(); // Cancel
        QCOMPARE(shown(engine, "InputBox(\"Price\")"), QByteArray("String "));
        QCOMPARE(shown(engine, "InputBox(\"Price\") * 1.2"), QByteArray("error 13"));
        QCOMPARE(shown(engine, "InputBox(\"x\", \"t\", \"d\", \"left\")"), QByteArray("error 13"));
        QCOMPARE(dialogs.inputs.size(), std::size_t(5)); // the last was rejected unasked
    }

    // The time-out bounds the engine's work: a user who takes longer than it to answer a
    // dialog does not make the expression fail.
    void dialogTimeIsNotCounted()
    {
        FakeDialogs dialogs;
        dialogs.thinking = std::chrono::milliseconds(300);
        eval::ScriptControl engine;
        engine.setDialogPort(&dialogs);
        engine.setTimeout(std::chrono::milliseconds(100));
        // The long strings read the clock before and after the dialog.
        const eval::EvalResult result = engine.Eval("Len(Space(70000)) + MsgBox(\"x\") + Len(Space(70000))");
        QVERIFY2(result.ok, result.error.description.c_str());
        QCOMPARE(result.value.asLong(), 140001);
    }
};

QTEST_GUILESS_MAIN(TestOtherFunctions)
#include "tst_otherfunctions.moc"
