#include "FunctionNames.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace eval {
namespace {

constexpr std::array<std::string_view, 105> spellings{
    "Abs", "Array", "Asc", "AscB", "AscW", "Atn", "CBool", "CByte", "CCur", "CDate", "CDbl", "Chr", "ChrB",
    "ChrW", "CInt", "CLng", "Cos", "CreateObject", "CSng", "CStr", "Date", "DateAdd", "DateDiff", "DatePart",
    "DateSerial", "DateValue", "Day", "Escape", "Eval", "Exp", "Filter", "Fix", "FormatCurrency",
    "FormatDateTime", "FormatNumber", "FormatPercent", "GetLocale", "GetObject", "GetRef", "Hex", "Hour",
    "InputBox", "InStr", "InStrB", "InStrRev", "Int", "IsArray", "IsDate", "IsEmpty", "IsNull", "IsNumeric",
    "IsObject", "Join", "LBound", "LCase", "Left", "LeftB", "Len", "LenB", "LoadPicture", "Log", "LTrim", "Mid",
    "MidB", "Minute", "Month", "MonthName", "MsgBox", "Now", "Oct", "Replace", "RGB", "Right", "RightB", "Rnd",
    "Round", "RTrim", "ScriptEngine", "ScriptEngineBuildVersion", "ScriptEngineMajorVersion",
    "ScriptEngineMinorVersion", "Second", "SetLocale", "Sgn", "Sin", "Space", "Split", "Sqr", "StrComp",
    "String", "StrReverse", "Tan", "Time", "Timer", "TimeSerial", "TimeValue", "Trim", "TypeName", "UBound",
    "UCase", "Unescape", "VarType", "Weekday", "WeekdayName", "Year"};

// Names other languages and spreadsheets give to what this language calls otherwise.
struct Alias
{
    std::string_view name; // upper case
    std::string_view meant;
};
constexpr std::array<Alias, 10> aliases{{{"ATAN", "Atn"},
                                         {"CEILING", "-Int(-x)"},
                                         {"LN", "Log"},
                                         {"LOG10", "Log(x) / Log(10)"},
                                         {"POW", "the ^ operator"},
                                         {"POWER", "the ^ operator"},
                                         {"SIGN", "Sgn"},
                                         {"SQRT", "Sqr"},
                                         {"TRUNC", "Fix"},
                                         {"RAND", "Rnd"}}};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Edits (insert, delete, replace, swap two neighbours) from a to b, letter case aside; stops
// counting past `limit`.
std::size_t distance(std::string_view a, std::string_view b, std::size_t limit)
{
    const std::size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > limit)
        return limit + 1;
    std::vector<std::size_t> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= m; ++j) {
            const bool same = upper(a[i - 1]) == upper(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && upper(a[i - 1]) == upper(b[j - 2]) && upper(a[i - 2]) == upper(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[m];
}

} // namespace

std::span<const std::string_view> functionSpellings() { return spellings; }

std::string_view nearestFunctionName(std::string_view name)
{
    if (name.empty() || name.size() > 40)
        return {};
    std::string key(name);
    for (char &c : key)
        c = upper(c);
    for (const Alias &alias : aliases)
        if (alias.name == key)
            return alias.meant;
    // One slip in a short name, two in a long one; a name of three letters or fewer must keep
    // its first letter, or almost anything would be near it.
    const std::size_t allowed = key.size() >= 7 ? 2 : 1;
    std::string_view best;
    std::size_t bestDistance = allowed + 1;
    for (std::string_view candidate : spellings) {
        if (key.size() <= 3 && upper(candidate[0]) != key[0])
            continue;
        const std::size_t d = distance(key, candidate, allowed);
        if (d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace eval
