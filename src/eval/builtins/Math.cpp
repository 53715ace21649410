#include "eval/Builtins.h"

#include "eval/Conversions.h"
#include "Dates.h"
#include "eval/EvalBudget.h"
#include "eval/NumberText.h"
#include "eval/NumericString.h"
#include "eval/RandomGenerator.h"
#include "eval/ScriptError.h"
#include "eval/Utf16Text.h"
#include "eval/TextCase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace eval {
namespace {

using Args = std::span<Value>;

double number(const Value &v) { return toDouble(v); }

Value checkedDouble(double d)
{
    if (!std::isfinite(d))
        throw ScriptError(Overflow);
    return Value::doubleValue(d);
}

// --- Numeric functions ---------------------------------------------------------------

Value fnAbs(CallContext &, Args a)
{
    const Value &v = a[0];
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: {
        std::int64_t n = v.type() == VarType::Long ? v.asLong() : toLong(v);
        n = n < 0 ? -n : n;
        if (v.type() == VarType::Byte)
            return Value::byte(static_cast<std::uint8_t>(n));
        if (v.type() != VarType::Long && n <= 32767)
            return Value::integer(static_cast<std::int16_t>(n));
        if (n <= std::numeric_limits<std::int32_t>::max())
            return Value::longValue(static_cast<std::int32_t>(n));
        return Value::doubleValue(static_cast<double>(n));
    }
    case VarType::Single: return Value::single(std::fabs(v.asSingle()));
    case VarType::Currency:
        if (v.asCurrency() == std::numeric_limits<std::int64_t>::min())
            throw ScriptError(Overflow);
        return Value::currency(v.asCurrency() < 0 ? -v.asCurrency() : v.asCurrency());
    default: return Value::doubleValue(std::fabs(number(v)));
    }
}

// q units of 1/10,000 * unit as a Currency amount; rounding up at the edge of the range
// overflows rather than wrap around to the other sign.
std::int64_t scaledCurrency(std::int64_t q, std::int64_t unit)
{
    std::int64_t scaled = 0;
    if (__builtin_mul_overflow(q, unit, &scaled))
        throw ScriptError(Overflow);
    return scaled;
}

// Fix and Int keep the subtype of whole numbers, Single, Double and Currency.
template <double (*Round)(double)>
Value wholePart(CallContext &, Args a)
{
    const Value &v = a[0];
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean: return Value::integer(v.asBoolean() ? -1 : 0);
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return v;
    case VarType::Single: return Value::single(static_cast<float>(Round(static_cast<double>(v.asSingle()))));
    case VarType::Currency: {
        std::int64_t cy = v.asCurrency(), q = cy / Value::CurrencyScale;
        if (Round(-0.5) == -1.0 && cy < 0 && cy % Value::CurrencyScale != 0)
            --q; // Int rounds down
        return Value::currency(scaledCurrency(q, Value::CurrencyScale));
    }
    case VarType::Date: return Value::date(Round(v.asDouble()));
    default: return Value::doubleValue(Round(number(v)));
    }
}

double truncate(double d) { return std::trunc(d); }
double floorOf(double d) { return std::floor(d); }

Value fnSgn(CallContext &, Args a)
{
    double d = a[0].type() == VarType::Currency ? static_cast<double>(a[0].asCurrency()) : number(a[0]);
    return Value::integer(static_cast<std::int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

Value fnAtn(CallContext &, Args a) { return Value::doubleValue(std::atan(number(a[0]))); }
Value fnCos(CallContext &, Args a) { return checkedDouble(std::cos(number(a[0]))); }
Value fnSin(CallContext &, Args a) { return checkedDouble(std::sin(number(a[0]))); }
Value fnTan(CallContext &, Args a) { return checkedDouble(std::tan(number(a[0]))); }
Value fnExp(CallContext &, Args a) { return checkedDouble(std::exp(number(a[0]))); }

Value fnLog(CallContext &, Args a)
{
    double d = number(a[0]);
    if (!(d > 0.0))
        throw ScriptError(InvalidProcedureCall);
    return Value::doubleValue(std::log(d));
}

Value fnSqr(CallContext &, Args a)
{
    double d = number(a[0]);
    if (d < 0.0)
        throw ScriptError(InvalidProcedureCall);
    return Value::doubleValue(std::sqrt(d));
}

Value fnRnd(CallContext &context, Args a)
{
    if (a.empty())
        return Value::single(context.random.next());
    return Value::single(context.random.next(toSingle(a[0])));
}

// Round halves to even, at the given number of decimals (0 when omitted).
Value fnRound(CallContext &, Args a)
{
    const Value &v = a[0];
    std::int32_t places = a.size() > 1 ? toLong(a[1]) : 0;
    if (places < 0)
        throw ScriptError(InvalidProcedureCall);
    auto roundTo = [places](double d) {
        if (places == 0)
            return roundHalfEven(d);
        if (places > 22)
            return d; // beyond the digits a double holds
        double scale = std::pow(10.0, places);
        double scaled = d * scale;
        if (!std::isfinite(scaled))
            return d;
        return roundHalfEven(scaled) / scale;
    };
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean: // a Boolean is whole already and stays one
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return v;
    case VarType::Single: return Value::single(static_cast<float>(roundTo(static_cast<double>(v.asSingle()))));
    case VarType::Currency: {
        if (places >= 4)
            return v;
        std::int64_t unit = 1;
        for (int i = places; i < 4; ++i)
            unit *= 10;
        std::int64_t cy = v.asCurrency(), q = cy / unit, r = cy % unit;
        std::int64_t twice = 2 * (r < 0 ? -r : r);
        if (twice > unit || (twice == unit && q % 2 != 0))
            q += r < 0 ? -1 : 1;
        return Value::currency(scaledCurrency(q, unit));
    }
    default: return Value::doubleValue(roundTo(number(v)));
    }
}

// --- Conversions -----------------------------------------------------------------------

const Value &required(const Value &v)
{
    if (v.isNull())
        throw ScriptError(InvalidUseOfNull);
    return v;
}

Value fnCBool(CallContext &, Args a) { return Value::boolean(toBoolean(required(a[0]))); }
Value fnCByte(CallContext &, Args a) { return Value::byte(toByte(required(a[0]))); }
Value fnCCur(CallContext &, Args a) { return Value::currency(toCurrency(required(a[0]))); }
Value fnCDbl(CallContext &, Args a) { return checkedDouble(toDouble(required(a[0]))); }
Value fnCInt(CallContext &, Args a) { return Value::integer(toInteger(required(a[0]))); }
Value fnCLng(CallContext &, Args a) { return Value::longValue(toLong(required(a[0]))); }
Value fnCSng(CallContext &, Args a) { return Value::single(toSingle(required(a[0]))); }
Value fnCStr(CallContext &, Args a) { return Value::string(toText(required(a[0]))); }

Value fnCDate(CallContext &, Args a) { return Value::date(toDateSerial(a[0])); }

// Hex and Oct write negative Integers in 16 bits (Hex(-1) is "FFFF"), all else in 32.
template <unsigned Radix>
Value radixText(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isNull())
        return Value::null();
    bool narrow = v.type() == VarType::Integer || v.type() == VarType::Boolean ||
                  v.type() == VarType::Byte || v.isEmpty();
    std::int32_t n = toLong(v);
    std::uint32_t bits = narrow ? static_cast<std::uint16_t>(n) : static_cast<std::uint32_t>(n);
    std::string text;
    do {
        text += "0123456789ABCDEF"[bits % Radix];
        bits /= Radix;
    } while (bits != 0);
    std::reverse(text.begin(), text.end());
    return Value::string(std::move(text));
}

// --- Strings (UTF-8 inside; positions and lengths count characters) ---------------------
//
// Every string function walks its text once: no index of character positions is built, no
// search looks twice at the same stretch, and what it builds is asked of the budget first.

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text of a value without copying it when it is a string already.
const std::string &textOf(const Value &v, std::string &scratch)
{
    if (v.isString())
        return v.asString();
    scratch = toText(required(v));
    return scratch;
}

std::int64_t count(const Value &v)
{
    std::int32_t n = toLong(required(v));
    if (n < 0)
        throw ScriptError(InvalidProcedureCall);
    return n;
}

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
    return Value::integer(static_cast<std::int16_t>(code <= 0x7FFF ? code : 63));
}

std::string encodeCharacter(std::uint32_t code)
{
    std::string out;
    appendUtf8(out, code);
    return out;
}

Value fnChr(CallContext &, Args a)
{
    std::int32_t code = toLong(required(a[0]));
    if (code < 0 || code > 255)
        throw ScriptError(InvalidProcedureCall);
    return Value::string(encodeCharacter(static_cast<std::uint32_t>(code)));
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

// --- Inspection -------------------------------------------------------------------------

Value fnIsNumeric(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isObject())
        return Value::boolean(!v.isNothing()); // Err reads as its Number
    if (v.isString())
        return Value::boolean(parseNumericString(v.asString()).status == ParsedNumber::Ok);
    return Value::boolean(isNumeric(v.type()) && v.type() != VarType::Date);
}

Value fnIsEmpty(CallContext &, Args a) { return Value::boolean(a[0].isEmpty()); }
Value fnIsNull(CallContext &, Args a) { return Value::boolean(a[0].isNull()); }

constexpr std::array builtins{
    Builtin{"ABS", 1, 1, fnAbs},
    Builtin{"ASC", 1, 1, fnAsc},
    Builtin{"ATN", 1, 1, fnAtn},
    Builtin{"CBOOL", 1, 1, fnCBool},
    Builtin{"CBYTE", 1, 1, fnCByte},
    Builtin{"CCUR", 1, 1, fnCCur},
    Builtin{"CDATE", 1, 1, fnCDate},
    Builtin{"CDBL", 1, 1, fnCDbl},
    Builtin{"CHR", 1, 1, fnChr},
    Builtin{"CINT", 1, 1, fnCInt},
    Builtin{"CLNG", 1, 1, fnCLng},
    Builtin{"COS", 1, 1, fnCos},
    Builtin{"CSNG", 1, 1, fnCSng},
    Builtin{"CSTR", 1, 1, fnCStr},
    Builtin{"EXP", 1, 1, fnExp},
    Builtin{"FIX", 1, 1, wholePart<truncate>},
    Builtin{"HEX", 1, 1, radixText<16>},
    Builtin{"INT", 1, 1, wholePart<floorOf>},
    Builtin{"ISEMPTY", 1, 1, fnIsEmpty, true},
    Builtin{"ISNULL", 1, 1, fnIsNull, true},
    Builtin{"ISNUMERIC", 1, 1, fnIsNumeric, true},
    Builtin{"LCASE", 1, 1, mapLetters<lowerCaseText>},
    Builtin{"LEFT", 2, 2, fnLeft},
    Builtin{"LEN", 1, 1, fnLen},
    Builtin{"LOG", 1, 1, fnLog},
    Builtin{"LTRIM", 1, 1, trimSpaces<true, false>},
    Builtin{"MID", 2, 3, fnMid},
    Builtin{"OCT", 1, 1, radixText<8>},
    Builtin{"RIGHT", 2, 2, fnRight},
    Builtin{"RND", 0, 1, fnRnd},
    Builtin{"ROUND", 1, 2, fnRound},
    Builtin{"RTRIM", 1, 1, trimSpaces<false, true>},
    Builtin{"SGN", 1, 1, fnSgn},
    Builtin{"SIN", 1, 1, fnSin},
    Builtin{"SPACE", 1, 1, fnSpace},
    Builtin{"SQR", 1, 1, fnSqr},
    Builtin{"STRING", 2, 2, fnString},
    Builtin{"STRREVERSE", 1, 1, fnStrReverse},
    Builtin{"TAN", 1, 1, fnTan},
    Builtin{"TRIM", 1, 1, trimSpaces<true, true>},
    Builtin{"UCASE", 1, 1, mapLetters<upperCaseText>},
};

} // namespace

std::span<const Builtin> coreBuiltins() { return builtins; }

std::string_view builtinDisplayName(const Builtin &builtin) { return builtin.name; }

} // namespace eval
