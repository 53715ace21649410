// Character codes and bytes: Asc, Chr and their W and B forms, the B functions over a string's
// UTF-16 bytes, and Escape and Unescape (the %XX and %uXXXX forms of web addresses).
#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/EvalBudget.h"
#include "eval/Conversions.h"
#include "eval/ScriptError.h"
#include "eval/TextSearch.h"
#include "eval/Utf16Text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace eval {
namespace {

// --- Character codes -------------------------------------------------------------------------

Value fnAsc(CallContext &, Args a)
{
    std::string scratch;
    const std::string &s = textOf(a[0], scratch);
    if (s.empty())
        throw ScriptError(InvalidProcedureCall);
    auto u = static_cast<unsigned char>(s[0]);
    std::uint32_t code = u;
    if (u >= 0xC0) {
        int extra = u >= 0xF0 ? 3 : u >= 0xE0 ? 2 : 1;
        code = u & (0x3Fu >> extra);
        for (int i = 1; i <= extra && static_cast<std::size_t>(i) < s.size(); ++i)
            code = (code << 6) | (static_cast<unsigned char>(s[static_cast<std::size_t>(i)]) & 0x3Fu);
    }
    return Value::integer(static_cast<std::int16_t>(code <= 0x7FFF ? code : '?')); // beyond an Integer
}

Value fnChr(CallContext &, Args a)
{
    std::int32_t code = toLong(required(a[0]));
    if (code < 0 || code > 255)
        throw ScriptError(InvalidProcedureCall);
    std::string character;
    appendUtf8(character, static_cast<std::uint32_t>(code));
    return Value::string(std::move(character));
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
    Builtin{"ASC", 1, 1, fnAsc},
    Builtin{"ASCB", 1, 1, fnAscB},
    Builtin{"ASCW", 1, 1, fnAscW},
    Builtin{"CHR", 1, 1, fnChr},
    Builtin{"CHRB", 1, 1, fnChrB},
    Builtin{"CHRW", 1, 1, fnChrW},
    Builtin{"ESCAPE", 1, 1, fnEscape},
    Builtin{"INSTRB", 2, 4, fnInStrB},
    Builtin{"LEFTB", 2, 2, fnLeftB},
    Builtin{"LENB", 1, 1, fnLenB},
    Builtin{"MIDB", 2, 3, fnMidB},
    Builtin{"RIGHTB", 2, 2, fnRightB},
    Builtin{"UNESCAPE", 1, 1, fnUnescape},
};

} // namespace

std::span<const Builtin> encodingBuiltins() { return builtins; }

} // namespace eval
