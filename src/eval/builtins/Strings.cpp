// The text functions, character by character: lengths and pieces, letter case, spaces,
// searching, comparing, replacing, splitting and joining.
// Positions and lengths count UTF-16 units, as the language's strings do; the text itself stays
// UTF-8, and every function here takes time and space in proportion to its text.
#include "eval/Builtins.h"

#include "Arrays.h"
#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/EvalBudget.h"
#include "eval/Conversions.h"
#include "eval/ScriptError.h"
#include "eval/TextCase.h"
#include "eval/TextSearch.h"
#include "eval/Utf16Text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

namespace eval {
namespace {

// Text and pattern as the search compares them: folded to one case for a text comparison,
// which keeps every byte offset of the original.
class SearchPair
{
public:
    SearchPair(std::string_view t, std::string_view p, bool ignoreCase)
    {
        if (!ignoreCase) {
            text = t;
            pattern = p;
            return;
        }
        foldedText_ = foldCase(t);
        foldedPattern_ = foldCase(p);
        text = foldedText_;
        pattern = foldedPattern_;
    }
    SearchPair(const SearchPair &) = delete; // the views may point into this object
    SearchPair &operator=(const SearchPair &) = delete;

    std::string_view text, pattern;

private:
    std::string foldedText_, foldedPattern_;
};

// --- Lengths and pieces, letter case, spaces -------------------------------------------------
//
// Every string function walks its text once: no index of character positions is built, no
// search looks twice at the same stretch, and what it builds is asked of the budget first.

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// UTF-16 units [first, first + length) of s, clamped to its end.
std::string_view slice(std::string_view s, std::int64_t first, std::int64_t length)
{
    if (length <= 0)
        return {};
    const std::size_t from = byteOffsetOfUnit(s, first);
    return s.substr(from, byteOffsetOfUnit(s, first + length) - from);
}

Value fnLen(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    return Value::longValue(static_cast<std::int32_t>(utf16Length(textOf(a[0], scratch))));
}

// The count is checked before a Null string is let through: Right(Null, -1) is an error.
Value fnLeft(CallContext &, Args a)
{
    const std::int64_t n = count(a[1]);
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    return Value::string(std::string(slice(textOf(a[0], scratch), 0, n)));
}

Value fnRight(CallContext &, Args a)
{
    std::int64_t n = count(a[1]);
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    // Walk back from the end: the characters before the last n are never counted.
    std::size_t from = s.size();
    for (; n > 0 && from > 0; --n) {
        --from;
        while (from > 0 && isContinuation(s[from]))
            --from;
    }
    return Value::string(s.substr(from));
}

// Null in start or length fails first, then their values are checked, and only then does a
// Null string give Null: Mid(Null, -1, -1) is error 5, Mid("x", "a", Null) error 94.
Value fnMid(CallContext &, Args a)
{
    const bool hasLength = a.size() > 2 && !a[2].isMissing();
    if (a[1].isNull() || (hasLength && a[2].isNull()))
        throw ScriptError(InvalidUseOfNull);
    std::int64_t start = toLong(required(a[1]));
    if (start < 1)
        throw ScriptError(InvalidProcedureCall);
    std::int64_t length = hasLength ? count(a[2]) : std::numeric_limits<std::int32_t>::max();
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    return Value::string(std::string(slice(s, start - 1, length)));
}

std::string encodeCharacter(std::uint32_t code)
{
    std::string out;
    appendUtf8(out, code);
    return out;
}

// UCase and LCase: letter by letter, the length in characters unchanged (a letter's UTF-8 form
// may still grow from two bytes to three).
template <std::string (*Map)(std::string_view)>
Value mapLetters(CallContext &context, Args a)
{
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    context.budget.allowString(s.size());
    std::string mapped = Map(s);
    if (mapped.size() > s.size())
        context.budget.allowString(mapped.size());
    return Value::string(std::move(mapped));
}

template <bool Leading, bool Trailing>
Value trimSpaces(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    std::size_t from = 0, to = s.size();
    while (Leading && from < to && s[from] == ' ')
        ++from;
    while (Trailing && to > from && s[to - 1] == ' ')
        --to;
    return Value::string(s.substr(from, to - from));
}

Value fnSpace(CallContext &context, Args a)
{
    std::int64_t n = count(a[0]);
    if (n > static_cast<std::int64_t>(EvalBudget::MaxStringBytes))
        throw ScriptError(OutOfMemory);
    context.budget.allowString(static_cast<std::size_t>(n));
    return Value::string(std::string(static_cast<std::size_t>(n), ' '));
}

Value fnString(CallContext &context, Args a)
{
    std::int64_t n = count(a[0]);
    if (a[1].isNull())
        return Value::null();
    std::string unit = a[1].isString() ? std::string(slice(a[1].asString(), 0, 1))
                                       : encodeCharacter(static_cast<std::uint32_t>(toLong(a[1]) & 0xFF));
    if (unit.empty())
        throw ScriptError(InvalidProcedureCall);
    if (n * static_cast<std::int64_t>(unit.size()) > static_cast<std::int64_t>(EvalBudget::MaxStringBytes))
        throw ScriptError(OutOfMemory);
    context.budget.allowString(static_cast<std::size_t>(n) * unit.size());
    if (unit.size() == 1 || n == 0)
        return Value::string(std::string(static_cast<std::size_t>(n), unit[0]));
    // Doubling what is there: a few large copies rather than a copy per character.
    const std::size_t total = static_cast<std::size_t>(n) * unit.size();
    std::string out;
    out.reserve(total);
    out = unit;
    while (out.size() * 2 <= total)
        out.append(out.data(), out.size());
    out.append(out.data(), total - out.size());
    return Value::string(std::move(out));
}

Value fnStrReverse(CallContext &, Args a)
{
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    std::string out;
    out.reserve(s.size());
    // From the end, one whole character (its lead byte and continuation bytes) at a time.
    for (std::size_t end = s.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && isContinuation(s[begin]))
            --begin;
        out.append(s, begin, end - begin);
        end = begin;
    }
    return Value::string(std::move(out));
}


// --- Searching, comparing, replacing, splitting and joining ----------------------------------

// InStr([start,] string1, string2 [, compare]): the UTF-16 position of string2, 0 if absent.
Value fnInStr(CallContext &, Args a)
{
    const SearchArguments arguments(a, "INSTR");
    if (arguments.null)
        return Value::null();
    const std::int32_t start = arguments.start;
    const bool ignoreCase = arguments.ignoreCase;
    const std::string &haystack = arguments.haystack, &needle = arguments.needle;
    if (start > utf16Length(haystack))
        return Value::longValue(0); // a start past the end finds nothing, not even ""
    if (needle.empty())
        return Value::longValue(start);
    const SearchPair pair(haystack, needle, ignoreCase);
    const std::size_t at = findFirst(pair.text, pair.pattern, byteOffsetOfUnit(haystack, start - 1));
    if (at == std::string::npos)
        return Value::longValue(0);
    return Value::longValue(static_cast<std::int32_t>(unitsBefore(haystack, at) + 1));
}

// InStrRev(string1, string2 [, start [, compare]]): the last occurrence that ends at or before
// start (-1, the default, is the end).
Value fnInStrRev(CallContext &, Args a)
{
    const std::string haystack = textOf(a[0]), needle = textOf(a[1]);
    std::int64_t start = -1;
    if (given(a, 2)) {
        start = toLong(required(a[2]));
        if (start < 1 && start != -1)
            throw ScriptError(InvalidProcedureCall);
    }
    const bool ignoreCase = textCompareArgument(a, 3);
    const std::int64_t length = utf16Length(haystack);
    if (start == -1)
        start = length;
    if (haystack.empty() || start > length)
        return Value::longValue(0);
    if (needle.empty())
        return Value::longValue(static_cast<std::int32_t>(start));
    const SearchPair pair(haystack, needle, ignoreCase);
    // A unit inside a character beyond the basic plane ends before that character.
    std::size_t end = byteOffsetOfUnit(haystack, start);
    if (unitsBefore(haystack, end) > start)
        end = byteOffsetOfUnit(haystack, start - 1);
    const std::size_t at = findLast(pair.text, pair.pattern, end);
    if (at == std::string::npos)
        return Value::longValue(0);
    return Value::longValue(static_cast<std::int32_t>(unitsBefore(haystack, at) + 1));
}

// -1, 0 or 1 by UTF-16 units, as the language orders strings.
int compareText(std::string_view left, std::string_view right, bool ignoreCase)
{
    const std::u16string a = toUtf16(left), b = toUtf16(right);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = ignoreCase ? lowerUnit(a[i]) : a[i], y = ignoreCase ? lowerUnit(b[i]) : b[i];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

Value fnStrComp(CallContext &, Args a)
{
    const bool ignoreCase = textCompareArgument(a, 2);
    if (a[0].isNull() || a[1].isNull())
        return Value::null();
    return Value::integer(static_cast<std::int16_t>(compareText(toText(a[0]), toText(a[1]), ignoreCase)));
}

// Replace(expression, find, replacewith [, start [, count [, compare]]]): the text from start
// on, with up to count occurrences replaced (-1: all).
Value fnReplace(CallContext &context, Args a)
{
    const std::string expression = textOf(a[0]), find = textOf(a[1]), replacement = textOf(a[2]);
    const std::int32_t start = given(a, 3) ? position(a[3]) : 1;
    std::int32_t limit = -1;
    if (given(a, 4)) {
        limit = toLong(required(a[4]));
        if (limit < -1)
            throw ScriptError(InvalidProcedureCall);
    }
    const bool ignoreCase = textCompareArgument(a, 5);
    const std::string text = expression.substr(byteOffsetOfUnit(expression, start - 1));
    if (find.empty() || limit == 0)
        return Value::string(text);
    const SearchPair pair(text, find, ignoreCase);
    std::string out;
    std::size_t from = 0;
    for (std::int64_t done = 0; limit < 0 || done < limit; ++done) {
        const std::size_t at = findFirst(pair.text, pair.pattern, from);
        if (at == std::string::npos)
            break;
        checkSize(context.budget, out.size() + (at - from) + replacement.size());
        out.append(text, from, at - from);
        out += replacement;
        from = at + find.size();
    }
    out.append(text, from, std::string::npos);
    return Value::string(std::move(out));
}

// Split(expression [, delimiter [, count [, compare]]]): an array of the pieces between
// delimiters (" " by default), at most count of them (-1: all).
Value fnSplit(CallContext &context, Args a)
{
    std::string scratch;
    const std::string &expression = a[0].isString() ? a[0].asString() : (scratch = textOf(a[0]));
    const std::string delimiter = given(a, 1) ? textOf(a[1]) : std::string(" ");
    std::int32_t limit = -1;
    if (given(a, 2)) {
        limit = toLong(required(a[2]));
        if (limit < -1)
            throw ScriptError(InvalidProcedureCall);
    }
    const bool ignoreCase = textCompareArgument(a, 3);
    std::vector<Value> pieces;
    if (expression.empty() || limit == 0)
        return Value::array(std::move(pieces));
    if (delimiter.empty()) {
        pieces.push_back(Value::string(expression));
        return Value::array(std::move(pieces));
    }
    const SearchPair pair(expression, delimiter, ignoreCase);
    ArrayBuilder built(context.budget, pieces);
    std::size_t from = 0;
    while (limit < 0 || pieces.size() + 1 < static_cast<std::size_t>(limit)) {
        const std::size_t at = findFirst(pair.text, pair.pattern, from);
        if (at == std::string::npos)
            break;
        built.add(Value::string(expression.substr(from, at - from)));
        from = at + delimiter.size();
    }
    built.add(Value::string(expression.substr(from)));
    return Value::array(std::move(pieces));
}

// The array argument of Join and Filter: Null is Invalid use of Null, anything else that is no
// array a Type mismatch.
const std::vector<Value> &stringList(const Value &v)
{
    if (!required(v).isArray())
        throw ScriptError(TypeMismatch);
    return v.asArray();
}

// An element of that array as text; a Null or an array inside is a Type mismatch.
std::string elementText(const Value &element)
{
    if (element.isNull() || element.isArray())
        throw ScriptError(TypeMismatch);
    return toText(element);
}

Value fnJoin(CallContext &context, Args a)
{
    const std::vector<Value> &list = stringList(a[0]);
    const std::string delimiter = given(a, 1) ? textOf(a[1]) : std::string(" ");
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string element = elementText(list[i]);
        checkSize(context.budget, out.size() + delimiter.size() + element.size());
        if (i > 0)
            out += delimiter;
        out += element;
    }
    return Value::string(std::move(out));
}

// Filter(inputstrings, value [, include [, compare]]): the elements that hold value (or, with
// include False, those that do not), as an array of strings.
Value fnFilter(CallContext &context, Args a)
{
    const std::vector<Value> &list = stringList(a[0]);
    const std::string value = textOf(a[1]);
    const bool include = given(a, 2) ? toBoolean(required(a[2])) : true;
    const bool ignoreCase = textCompareArgument(a, 3);
    const std::string pattern = ignoreCase ? foldCase(value) : value;
    std::vector<Value> kept;
    ArrayBuilder built(context.budget, kept);
    for (const Value &element : list) {
        context.budget.tick();
        std::string text = elementText(element);
        const bool holds = findFirst(ignoreCase ? foldCase(text) : text, pattern, 0) != std::string::npos;
        if (holds == include) // never more than the list it filters, but a copy of its texts
            built.add(Value::string(std::move(text)));
    }
    return Value::array(std::move(kept));
}

constexpr std::array builtins{
    Builtin{"FILTER", 2, 4, fnFilter},
    Builtin{"INSTR", 2, 4, fnInStr},
    Builtin{"INSTRREV", 2, 4, fnInStrRev},
    Builtin{"JOIN", 1, 2, fnJoin},
    Builtin{"LCASE", 1, 1, mapLetters<lowerCaseText>},
    Builtin{"LEFT", 2, 2, fnLeft},
    Builtin{"LEN", 1, 1, fnLen},
    Builtin{"LTRIM", 1, 1, trimSpaces<true, false>},
    Builtin{"MID", 2, 3, fnMid},
    Builtin{"REPLACE", 3, 6, fnReplace},
    Builtin{"RIGHT", 2, 2, fnRight},
    Builtin{"RTRIM", 1, 1, trimSpaces<false, true>},
    Builtin{"SPACE", 1, 1, fnSpace},
    Builtin{"SPLIT", 1, 4, fnSplit},
    Builtin{"STRCOMP", 2, 3, fnStrComp},
    Builtin{"STRING", 2, 2, fnString},
    Builtin{"STRREVERSE", 1, 1, fnStrReverse},
    Builtin{"TRIM", 1, 1, trimSpaces<true, true>},
    Builtin{"UCASE", 1, 1, mapLetters<upperCaseText>},
};

} // namespace

std::span<const Builtin> stringBuiltins() { return builtins; }

} // namespace eval
