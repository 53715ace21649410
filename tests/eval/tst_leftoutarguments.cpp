// Every built-in function, reached through the engine's own table, called with every
// combination of left-out arguments (f(, 1), f(1, , 2), f(1, )). A left-out argument is either
// the function's default or error 449 "Argument not optional"; it never reaches a conversion as
// a value, never leaks into a result, and never crashes (the sanitizer build runs this too).
#include "eval/Builtins.h"
#include "eval/DialogPort.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"
#include "eval/ScriptError.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Keeps what the dialogs were asked, so that a left-out title or button style is compared too.
class RecordingDialogs : public eval::DialogPort
{
public:
    int showMessage(const eval::MessageRequest &r) override
    {
        asked += "msg|" + r.prompt + "|" + r.title + "|" + std::to_string(r.buttons) + "|" +
                 std::to_string(r.icon) + "|" + std::to_string(r.defaultButton) + ";";
        return 1;
    }
    std::optional<std::string> askText(const eval::InputRequest &r) override
    {
        asked += "input|" + r.prompt + "|" + r.title + "|" + r.defaultText + ";";
        return std::string("typed");
    }
    std::string asked;
};

// What a call came to: its value's subtype and text (an array's elements joined), or its error
// number; and what it asked the user.
QByteArray outcome(const std::string &expression)
{
    RecordingDialogs dialogs;
    eval::ScriptControl engine;
    engine.setDialogPort(&dialogs);
    const eval::EvalResult r = engine.Eval(expression);
    QByteArray shown;
    if (!r.ok) {
        shown = "error " + QByteArray::number(r.error.number);
    } else if (r.value.isArray()) {
        shown = "Array";
        for (const eval::Value &element : r.value.asArray())
            shown += " " + QByteArray(eval::typeName(element.type())) + ":" +
                     eval::NumberText(element).value_or("Null").c_str();
    } else {
        shown = QByteArray(eval::typeName(r.value.type())) + " " + eval::NumberText(r.value).value_or("Null").c_str();
    }
    return shown + " " + dialogs.asked.c_str();
}

// What the language documents for the functions whose optional arguments can be left out
// before a later one: arguments to call them with, and for each such position the default that
// leaving it out must equal. Null: leaving it out means something no argument can say (GetObject
// without a path, InputBox without a position), so only its acceptance is checked.
struct Known
{
    std::vector<const char *> arguments;
    std::map<std::size_t, const char *> defaults;
};

const std::map<std::string, Known> &knownFunctions()
{
    static const std::map<std::string, Known> known{
        {"DATEDIFF", {{"\"ww\"", "#1/1/2005#", "#3/1/2005#", "2", "2"}, {{3, "1"}}}},
        {"DATEPART", {{"\"ww\"", "#1/1/2005#", "2", "2"}, {{2, "1"}}}},
        {"FILTER", {{"Array(\"ab\", \"B\", \"c\")", "\"b\"", "False", "1"}, {{2, "True"}}}},
        {"FORMATCURRENCY", {{"-1234.5", "0", "0", "-1", "0"}, {{1, "-1"}, {2, "-2"}, {3, "-2"}}}},
        {"FORMATNUMBER", {{"-0.5", "3", "0", "-1", "0"}, {{1, "-1"}, {2, "-2"}, {3, "-2"}}}},
        {"FORMATPERCENT", {{"-0.5", "3", "0", "-1", "0"}, {{1, "-1"}, {2, "-2"}, {3, "-2"}}}},
        {"GETOBJECT", {{"\"\"", "\"Excel.Application\""}, {{0, nullptr}}}},
        {"INPUTBOX",
         {{"\"Rate\"", "\"T\"", "\"7\"", "100", "200", "\"h.chm\"", "1"},
          {{1, "\"VBScript\""}, {2, "\"\""}, {3, nullptr}, {4, nullptr}, {5, nullptr}}}},
        {"INSTR", {{"2", "\"aBcab\"", "\"b\"", "1"}, {}}},
        {"INSTRB", {{"2", "\"aBcab\"", "\"b\"", "1"}, {}}},
        {"INSTRREV", {{"\"abcb\"", "\"B\"", "3", "1"}, {{2, "-1"}}}},
        {"MSGBOX", {{"\"a\"", "4", "\"T\"", "\"h.chm\"", "1"}, {{1, "0"}, {2, "\"VBScript\""}, {3, nullptr}}}},
        {"REPLACE", {{"\"aBcbb\"", "\"b\"", "\"x\"", "2", "1", "1"}, {{3, "1"}, {4, "-1"}}}},
        {"SPLIT", {{"\"a b,c B\"", "\"b\"", "2", "1"}, {{1, "\" \""}, {2, "-1"}}}},
        {"WEEKDAYNAME", {{"1", "True", "2"}, {{1, "False"}}}},
    };
    return known;
}

// How many leading arguments must be there when `count` are written. InStr's start is optional
// only as long as it is left off entirely: with three or more arguments the first three are
// start, string1 and string2. Array's elements are values to hold, none of them optional.
std::size_t requiredArguments(const eval::Builtin &builtin, std::size_t count)
{
    const std::string name = builtin.name;
    if (name == "ARRAY")
        return count;
    if ((name == "INSTR" || name == "INSTRB") && count >= 3)
        return 3;
    return builtin.minArguments;
}

std::string call(const eval::Builtin &builtin, const std::vector<std::string> &arguments)
{
    std::string text = std::string(builtin.name) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i > 0 ? ", " : "") + arguments[i];
    return text + ")";
}

} // namespace

class TestLeftOutArguments : public QObject
{
    Q_OBJECT

private slots:
    void everyBuiltinEveryCombination()
    {
        const std::span<const eval::Builtin> table = eval::allBuiltins();
        QVERIFY(table.size() > 100);
        int calls = 0;
        for (const eval::Builtin &builtin : table) {
            const auto found = knownFunctions().find(builtin.name);
            const Known *known = found == knownFunctions().end() ? nullptr : &found->second;
            // One argument past the most (so that too many fails too), but no more than six:
            // Array's 255 add nothing that four do not show.
            const std::size_t most = std::min<std::size_t>(builtin.maxArguments + 1u, 6);
            for (std::size_t count = 0; count <= most; ++count) {
                for (unsigned mask = 0; mask < (1u << count); ++mask) {
                    std::vector<std::string> written, defaulted;
                    bool comparable = true;
                    std::size_t effective = 0; // the arguments left once those left out at the end drop
                    for (std::size_t i = 0; i < count; ++i) {
                        const bool leftOut = (mask >> i) & 1u;
                        const std::string given =
                            known && i < known->arguments.size() ? known->arguments[i] : std::string("1");
                        written.push_back(leftOut ? std::string() : given);
                        if (!leftOut)
                            effective = i + 1;
                    }
                    bool refused = false, unknown = false;
                    for (std::size_t i = 0; i < effective; ++i) {
                        if (!((mask >> i) & 1u)) {
                            defaulted.push_back(written[i]);
                            continue;
                        }
                        if (i < requiredArguments(builtin, effective)) {
                            refused = true;
                            break;
                        }
                        const auto d = known ? known->defaults.find(i) : std::map<std::size_t, const char *>::const_iterator{};
                        if (!known || d == known->defaults.end()) {
                            unknown = true;
                            break;
                        }
                        if (d->second == nullptr)
                            comparable = false;
                        defaulted.push_back(d->second ? d->second : "");
                    }
                    const std::string expression = call(builtin, written);
                    const QByteArray got = outcome(expression);
                    ++calls;
                    const QByteArray where = QByteArray(expression.c_str()) + " gave " + got;
                    // The left-out marker, a value of subtype Error, must never come out as a value.
                    QVERIFY2(!got.startsWith("Error ") && !got.contains(" Error:"), where.constData());
                    if (effective < builtin.minArguments || effective > builtin.maxArguments) {
                        QVERIFY2(got.startsWith("error 450 "), where.constData());
                        continue;
                    }
                    if (refused) {
                        QVERIFY2(got.startsWith("error 449 "), where.constData());
                        continue;
                    }
                    QVERIFY2(!unknown, ("no default known for a left-out argument of " + where).constData());
                    QVERIFY2(!got.startsWith("error 449 "), where.constData());
                    if (comparable) {
                        const std::string expected = call(builtin, defaulted);
                        QVERIFY2(got == outcome(expected), (where + ", but " + expected.c_str() + " gave " +
                                                            outcome(expected)).constData());
                    }
                }
            }
        }
        qInfo("%d calls", calls);
    }

    // The two calls that ended the program, and the one that answered as if the text were there.
    void searchWithTheTextLeftOut_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::newRow("InStr, a long text") << QByteArray("InStr(2, String(100, \"a\"), , 1)");
        QTest::newRow("InStr, compare 0") << QByteArray("InStr(1, \"abc\", , 0)");
        QTest::newRow("InStrB") << QByteArray("InStrB(1, \"abc\", , 0)");
        QTest::newRow("an array element left out") << QByteArray("Join(Array(1, , 2))");
    }
    void searchWithTheTextLeftOut()
    {
        QFETCH(QByteArray, expression);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(expression.toStdString());
        QVERIFY(!r.ok);
        QCOMPARE(r.error.number, int(eval::ArgumentNotOptional));
    }
};

QTEST_APPLESS_MAIN(TestLeftOutArguments)
#include "tst_leftoutarguments.moc"
