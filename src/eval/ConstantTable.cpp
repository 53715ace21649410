// Every named constant of the language, with the subtype the language gives it.
#include "ConstantTable.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace eval {
namespace {

using namespace std::string_view_literals;

enum class Kind : std::uint8_t { Integer, Long, String };

struct NamedConstant
{
    std::string_view name;
    Kind kind;
    std::int32_t number; // Integer and Long
    std::string_view text = {}; // String
};

constexpr NamedConstant integer(std::string_view name, std::int32_t n) { return {name, Kind::Integer, n}; }
constexpr NamedConstant longValue(std::string_view name, std::int32_t n) { return {name, Kind::Long, n}; }
constexpr NamedConstant text(std::string_view name, std::string_view s) { return {name, Kind::String, 0, s}; }

constexpr std::array constants{
    // Characters
    text("vbCr", "\r"sv),
    text("vbCrLf", "\r\n"sv),
    text("vbFormFeed", "\f"sv),
    text("vbLf", "\n"sv),
    text("vbNewLine", "\r\n"sv),
    text("vbNullChar", "\0"sv),
    text("vbNullString", ""sv),
    text("vbTab", "\t"sv),
    text("vbVerticalTab", "\v"sv),
    // Colours: red in the low byte, blue in the high one
    longValue("vbBlack", 0x000000),
    longValue("vbRed", 0x0000FF),
    longValue("vbGreen", 0x00FF00),
    longValue("vbYellow", 0x00FFFF),
    longValue("vbBlue", 0xFF0000),
    longValue("vbMagenta", 0xFF00FF),
    longValue("vbCyan", 0xFFFF00),
    longValue("vbWhite", 0xFFFFFF),
    // Comparison
    integer("vbBinaryCompare", 0),
    integer("vbTextCompare", 1),
    integer("vbDatabaseCompare", 2),
    // Days of the week and the first week of the year
    integer("vbUseSystemDayOfWeek", 0),
    integer("vbSunday", 1),
    integer("vbMonday", 2),
    integer("vbTuesday", 3),
    integer("vbWednesday", 4),
    integer("vbThursday", 5),
    integer("vbFriday", 6),
    integer("vbSaturday", 7),
    integer("vbUseSystem", 0),
    integer("vbFirstJan1", 1),
    integer("vbFirstFourDays", 2),
    integer("vbFirstFullWeek", 3),
    // Date formats
    integer("vbGeneralDate", 0),
    integer("vbLongDate", 1),
    integer("vbShortDate", 2),
    integer("vbLongTime", 3),
    integer("vbShortTime", 4),
    // Message box buttons, icons, default button and modality
    integer("vbOKOnly", 0),
    integer("vbOKCancel", 1),
    integer("vbAbortRetryIgnore", 2),
    integer("vbYesNoCancel", 3),
    integer("vbYesNo", 4),
    integer("vbRetryCancel", 5),
    integer("vbCritical", 16),
    integer("vbQuestion", 32),
    integer("vbExclamation", 48),
    integer("vbInformation", 64),
    integer("vbDefaultButton1", 0),
    integer("vbDefaultButton2", 256),
    integer("vbDefaultButton3", 512),
    integer("vbDefaultButton4", 768),
    integer("vbApplicationModal", 0),
    integer("vbSystemModal", 4096),
    longValue("vbMsgBoxHelpButton", 16384),
    longValue("vbMsgBoxSetForeground", 65536),
    longValue("vbMsgBoxRight", 524288),
    longValue("vbMsgBoxRtlReading", 1048576),
    // Message box answers
    integer("vbOK", 1),
    integer("vbCancel", 2),
    integer("vbAbort", 3),
    integer("vbRetry", 4),
    integer("vbIgnore", 5),
    integer("vbYes", 6),
    integer("vbNo", 7),
    // Subtypes, as VarType numbers them
    integer("vbEmpty", 0),
    integer("vbNull", 1),
    integer("vbInteger", 2),
    integer("vbLong", 3),
    integer("vbSingle", 4),
    integer("vbDouble", 5),
    integer("vbCurrency", 6),
    integer("vbDate", 7),
    integer("vbString", 8),
    integer("vbObject", 9),
    integer("vbError", 10),
    integer("vbBoolean", 11),
    integer("vbVariant", 12),
    integer("vbDataObject", 13),
    integer("vbDecimal", 14),
    integer("vbByte", 17),
    integer("vbArray", 8192),
    // Tristate and the rest
    integer("vbTrue", -1),
    integer("vbFalse", 0),
    integer("vbUseDefault", -2),
    longValue("vbObjectError", -2147221504), // &H80040000
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string upperCase(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

struct Entry
{
    std::string key; // upper case
    const NamedConstant *constant;
};

std::vector<Entry> sortedTable()
{
    std::vector<Entry> table;
    table.reserve(constants.size());
    for (const NamedConstant &c : constants)
        table.push_back({upperCase(c.name), &c});
    std::sort(table.begin(), table.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });
    return table;
}

} // namespace

std::optional<Value> findConstant(std::string_view name)
{
    // Every constant begins with "vb": other names cost two comparisons.
    if (name.size() < 3 || upper(name[0]) != 'V' || upper(name[1]) != 'B' || name.size() > 24)
        return std::nullopt;
    static const std::vector<Entry> table = sortedTable();
    const std::string key = upperCase(name);
    auto it = std::lower_bound(table.begin(), table.end(), key,
                               [](const Entry &e, const std::string &k) { return e.key < k; });
    if (it == table.end() || it->key != key)
        return std::nullopt;
    const NamedConstant &c = *it->constant;
    switch (c.kind) {
    case Kind::Integer: return Value::integer(static_cast<std::int16_t>(c.number));
    case Kind::Long: return Value::longValue(c.number);
    case Kind::String: return Value::string(std::string(c.text));
    }
    return std::nullopt;
}

} // namespace eval
