// Searching, comparing, splitting and joining text, the byte functions and the escapes.
// Positions and lengths count UTF-16 units, as the language's strings do; the text itself stays
// UTF-8, and every function here takes time and space in proportion to its text.
#include "Builtins.h"

#include "ArrayFunctions.h"
#include "EvalBudget.h"
#include "Conversions.h"
#include "ScriptError.h"
#include "TextSearch.h"
#include "Utf16Text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

namespace eval {
namespace {

using Args = std::span<Value>;

// A text these functions build may grow past its inputs (Replace, Join, Escape): each step asks
// the evaluation's budget, so that it fails as out of memory within the same bounds as every
// other string, and a long loop still reads the clock now and then.
void checkSize(EvalBudget &budget, std::size_t bytes)
{
    budget.tick();
    if (bytes > EvalBudget::MaxStringBytes || bytes + budget.held() > EvalBudget::MaxLiveBytes)
        budget.allowString(bytes); // fails
}

// An optional argument given, not left out as in Replace(t, "a", "b", , 1).
bool given(Args a, std::size_t i) { return i < a.size() && !a[i].isMissing(); }

const Value &required(const Value &v)
{
    if (v.isNull())
        throw ScriptError(InvalidUseOfNull);
    return v;
}

std::string textOf(const Value &v) { return toText(required(v)); }

// The compare argument: vbBinaryCompare (0) or vbTextCompare (1), rounded as a whole number.
bool textCompare(const Value &v)
{
    const std::int32_t mode = toLong(required(v));
    if (mode != 0 && mode != 1)
        throw ScriptError(InvalidProcedureCall);
    return mode == 1;
}

bool textCompareArgument(Args a, std::size_t index) { return given(a, index) && textCompare(a[index]); }

// A count or length argument: a whole number, not negative.
std::int32_t count(const Value &v)
{
    const std::int32_t n = toLong(required(v));
    if (n < 0)
        throw ScriptError(InvalidProcedureCall);
    return n;
}

// A start position, 1 or more.
std::int32_t position(const Value &v)
{
    const std::int32_t n = toLong(required(v));
    if (n < 1)
        throw ScriptError(InvalidProcedureCall);
    return n;
}

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

// The arguments of InStr and InStrB: [start,] string1, string2 [, compare]. The start is
// optional only as long as it is left off entirely: with three or more arguments the first three
// are start, string1 and string2, and none of them may be left out (only compare may).
struct SearchArguments
{
    std::int32_t start = 1;
    bool ignoreCase = false;
    bool null = false; // string1 or string2 is Null: the answer is Null
    std::string haystack, needle;

    SearchArguments(Args a, const char *function)
    {
        std::size_t first = 0;
        if (a.size() >= 3) {
            for (std::size_t i = 0; i < 3; ++i)
                if (a[i].isMissing())
                    throw ScriptError(ArgumentNotOptional, function);
            start = position(a[0]);
            first = 1;
        }
        ignoreCase = textCompareArgument(a, 3);
        null = a[first].isNull() || a[first + 1].isNull();
        if (!null) {
            haystack = toText(a[first]);
            needle = toText(a[first + 1]);
        }
    }
};

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

// --- UTF-16 units and bytes ------------------------------------------------------------------

Value fnAscW(CallContext &, Args a)
{
    const std::u16string units = toUtf16(textOf(a[0]));
    if (units.empty())
        throw ScriptError(InvalidProcedureCall);
    return Value::integer(static_cast<std::int16_t>(units[0]));
}

Value fnChrW(CallContext &, Args a)
{
    const std::int32_t code = toLong(required(a[0]));
    if (code < -32768 || code > 65535)
        throw ScriptError(InvalidProcedureCall);
    return Value::string(fromUtf16(std::u16string(1, static_cast<char16_t>(code & 0xFFFF))));
}

Value fnAscB(CallContext &, Args a)
{
    const std::string bytes = utf16Bytes(textOf(a[0]));
    if (bytes.empty())
        throw ScriptError(InvalidProcedureCall);
    return Value::integer(static_cast<unsigned char>(bytes[0]));
}

Value fnChrB(CallContext &, Args a)
{
    const std::int32_t code = toLong(required(a[0]));
    if (code < 0 || code > 255)
        throw ScriptError(InvalidProcedureCall);
    return Value::string(textFromUtf16Bytes(std::string(1, static_cast<char>(code))));
}

Value fnLenB(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    const std::string text = toText(a[0]);
    const bool odd = text.size() >= 2 && text[text.size() - 2] == OddByteMarker;
    const std::int64_t bytes = odd ? 2 * utf16Length(std::string_view(text).substr(0, text.size() - 2)) + 1
                                   : 2 * utf16Length(text);
    return Value::longValue(static_cast<std::int32_t>(bytes));
}

// Bytes [first, first + length) of the string's UTF-16 bytes, clamped to their end.
Value byteSlice(const Value &source, std::int64_t first, std::int64_t length)
{
    if (source.isNull())
        return Value::null();
    const std::string bytes = utf16Bytes(toText(source));
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (first >= size || length <= 0)
        return Value::string(std::string());
    const std::int64_t last = std::min(size, first + length);
    return Value::string(textFromUtf16Bytes(std::string_view(bytes).substr(static_cast<std::size_t>(first),
                                                                          static_cast<std::size_t>(last - first))));
}

Value fnLeftB(CallContext &, Args a) { return byteSlice(a[0], 0, count(a[1])); }

Value fnRightB(CallContext &, Args a)
{
    const std::int32_t n = count(a[1]);
    if (a[0].isNull())
        return Value::null();
    const auto size = static_cast<std::int64_t>(utf16Bytes(toText(a[0])).size());
    return byteSlice(a[0], std::max<std::int64_t>(0, size - n), n);
}

Value fnMidB(CallContext &, Args a)
{
    const std::int32_t start = position(a[1]);
    const std::int64_t length = a.size() > 2 ? count(a[2]) : std::numeric_limits<std::int32_t>::max();
    return byteSlice(a[0], start - 1, length);
}

// InStrB([start,] string1, string2 [, compare]): InStr over the UTF-16 bytes; byte positions.
Value fnInStrB(CallContext &, Args a)
{
    SearchArguments arguments(a, "INSTRB");
    if (arguments.null)
        return Value::null();
    const std::int32_t start = arguments.start;
    std::string &haystack = arguments.haystack, &needle = arguments.needle;
    if (arguments.ignoreCase) {
        haystack = foldCase(haystack);
        needle = foldCase(needle);
    }
    const std::string bytes = utf16Bytes(haystack), pattern = utf16Bytes(needle);
    if (start > static_cast<std::int64_t>(bytes.size()))
        return Value::longValue(0);
    if (pattern.empty())
        return Value::longValue(start);
    const std::size_t at = findFirst(bytes, pattern, static_cast<std::size_t>(start - 1));
    return Value::longValue(at == std::string::npos ? 0 : static_cast<std::int32_t>(at + 1));
}

// --- Escape and Unescape (the %XX and %uXXXX forms of web addresses) ---------------------------

bool keptByEscape(char16_t u)
{
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
           std::u16string_view(u"@*_+-./").find(u) != std::u16string_view::npos;
}

Value fnEscape(CallContext &context, Args a)
{
    if (a[0].isNull())
        return Value::null();
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (char16_t u : toUtf16(toText(a[0]))) {
        checkSize(context.budget, out.size());
        if (keptByEscape(u)) {
            out += static_cast<char>(u);
        } else if (u < 0x100) {
            out += '%';
            out += Hex[u >> 4];
            out += Hex[u & 0xF];
        } else {
            out += "%u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += Hex[(u >> shift) & 0xF];
        }
    }
    return Value::string(std::move(out));
}

int hexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The value of `digits` hex digits at units[at], or -1 when they are not all there.
int hexValue(std::u16string_view units, std::size_t at, std::size_t digits)
{
    if (at + digits > units.size())
        return -1;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const int d = hexDigit(units[at + i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

Value fnUnescape(CallContext &, Args a)
{
    if (a[0].isNull())
        return Value::null();
    const std::u16string units = toUtf16(toText(a[0]));
    std::u16string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == '%') {
            int code = -1;
            if (i + 1 < units.size() && units[i + 1] == 'u' && (code = hexValue(units, i + 2, 4)) >= 0) {
                out += static_cast<char16_t>(code);
                i += 5;
                continue;
            }
            if ((code = hexValue(units, i + 1, 2)) >= 0) {
                out += static_cast<char16_t>(code);
                i += 2;
                continue;
            }
        }
        out += units[i]; // anything else, a lone "%" too, stays as it is
    }
    return Value::string(fromUtf16(out));
}

constexpr std::array builtins{
    Builtin{"ASCB", 1, 1, fnAscB},
    Builtin{"ASCW", 1, 1, fnAscW},
    Builtin{"CHRB", 1, 1, fnChrB},
    Builtin{"CHRW", 1, 1, fnChrW},
    Builtin{"ESCAPE", 1, 1, fnEscape},
    Builtin{"FILTER", 2, 4, fnFilter},
    Builtin{"INSTR", 2, 4, fnInStr},
    Builtin{"INSTRB", 2, 4, fnInStrB},
    Builtin{"INSTRREV", 2, 4, fnInStrRev},
    Builtin{"JOIN", 1, 2, fnJoin},
    Builtin{"LEFTB", 2, 2, fnLeftB},
    Builtin{"LENB", 1, 1, fnLenB},
    Builtin{"MIDB", 2, 3, fnMidB},
    Builtin{"REPLACE", 3, 6, fnReplace},
    Builtin{"RIGHTB", 2, 2, fnRightB},
    Builtin{"SPLIT", 1, 4, fnSplit},
    Builtin{"STRCOMP", 2, 3, fnStrComp},
    Builtin{"UNESCAPE", 1, 1, fnUnescape},
};

} // namespace

std::span<const Builtin> stringBuiltins() { return builtins; }

} // namespace eval
