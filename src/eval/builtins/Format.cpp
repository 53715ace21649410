// FormatNumber, FormatCurrency, FormatPercent and FormatDateTime in the en-US forms: "." before the decimals,
// "," between groups of three digits, "$" before a currency amount, a "-" before a negative
// number and parentheses around a negative currency amount.
#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "Dates.h"
#include "eval/CalendarDate.h"
#include "eval/Conversions.h"
#include "eval/NumberText.h"
#include "eval/NumericString.h"
#include "eval/ScriptError.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace eval {
namespace {

// A number as exact decimal digits: the value is 0.digits times 10^exponent.
struct Decimal
{
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    int exponent = 0;
};

Decimal fromScientific(const char *begin, const char *end)
{
    // "-d.ddde+XX" as to_chars writes it.
    Decimal d;
    const char *p = begin;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int exponent = 0;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.')
            d.digits += *p;
    if (p != end) {
        const char *e = p + 1;
        if (e != end && *e == '+')
            ++e;
        std::from_chars(e, end, exponent);
    }
    d.exponent = exponent + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.negative = false;
    return d;
}

// The digits the language shows of a number: 15 significant digits of a Double (7 of a
// Single), every digit of a Currency amount.
Decimal decimalOf(const Value &v)
{
    char buffer[64];
    if (v.type() == VarType::Currency) {
        const std::int64_t cy = v.asCurrency();
        auto r = std::to_chars(buffer, buffer + sizeof buffer, cy);
        Decimal d;
        const char *p = buffer;
        if (*p == '-') {
            d.negative = true;
            ++p;
        }
        d.digits.assign(p, static_cast<const char *>(r.ptr));
        d.exponent = static_cast<int>(d.digits.size()) - 4;
        while (!d.digits.empty() && d.digits.back() == '0')
            d.digits.pop_back();
        if (d.digits.empty())
            d.negative = false;
        return d;
    }
    if (v.type() == VarType::Single) {
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v.asSingle(), std::chars_format::scientific, 6);
        return fromScientific(buffer, r.ptr);
    }
    const double value = toDouble(v);
    if (value == 0.0)
        return {};
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    return fromScientific(buffer, r.ptr);
}

// Integer and fraction digits rounded to `places` decimals, half away from zero.
void roundDecimal(const Decimal &d, int places, std::string &whole, std::string &fraction)
{
    // Every digit up to the last one kept, as one string: the whole part, then `places` decimals.
    const long long keep = static_cast<long long>(d.exponent) + places;
    std::string kept;
    bool roundUp = false;
    if (keep > 0) {
        for (long long i = 0; i < keep; ++i)
            kept += i < static_cast<long long>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
        roundUp = keep < static_cast<long long>(d.digits.size()) && d.digits[static_cast<std::size_t>(keep)] >= '5';
    } else {
        roundUp = keep == 0 && !d.digits.empty() && d.digits[0] >= '5';
    }
    const std::size_t total = static_cast<std::size_t>(places) + (d.exponent > 0 ? static_cast<std::size_t>(d.exponent) : 0);
    if (kept.size() < total) // the leading zeros of a value below one
        kept.insert(0, total - kept.size(), '0');
    if (roundUp) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0)
            kept.insert(0, 1, '1');
        else
            ++kept[i - 1];
    }
    whole = kept.substr(0, kept.size() - static_cast<std::size_t>(places));
    fraction = kept.substr(kept.size() - static_cast<std::size_t>(places));
    const std::size_t firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? std::string() : whole.substr(firstDigit);
}

struct Style
{
    int places = 2;
    bool leadingDigit = true;
    bool parentheses = false;
    bool grouping = true;
};

// A tristate argument: -1 is True, -2 (vbUseDefault) keeps the default, anything else False.
bool tristate(const Value &v, bool fallback)
{
    const std::int32_t n = toLong(v);
    return n == -2 ? fallback : n == -1;
}

// The value, checked first, then the optional arguments in order; Null is Type mismatch for
// the value and Invalid use of Null for the others.
Style styleOf(Args a, bool parenthesesByDefault)
{
    if (a[0].isNull())
        throw ScriptError(TypeMismatch);
    for (std::size_t i = 1; i < a.size(); ++i)
        if (a[i].isNull())
            throw ScriptError(InvalidUseOfNull);
    Style style;
    style.parentheses = parenthesesByDefault;
    if (given(a, 1)) {
        // Negative counts keep the default; the system's number formats hold at most 9 decimals.
        const std::int32_t places = toLong(a[1]);
        if (places > 9)
            throw ScriptError(InvalidProcedureCall);
        if (places >= 0)
            style.places = places;
    }
    if (given(a, 2))
        style.leadingDigit = tristate(a[2], true);
    if (given(a, 3))
        style.parentheses = tristate(a[3], parenthesesByDefault);
    if (given(a, 4))
        style.grouping = tristate(a[4], true);
    return style;
}

Value numericArgument(const Value &v)
{
    if (v.isString()) {
        const ParsedNumber parsed = parseNumericString(v.asString());
        if (parsed.status == ParsedNumber::OutOfRange)
            throw ScriptError(Overflow);
        if (parsed.status != ParsedNumber::Ok)
            throw ScriptError(TypeMismatch);
        return Value::doubleValue(parsed.value);
    }
    if (!isNumeric(v.type()))
        throw ScriptError(TypeMismatch);
    return v;
}

std::string grouped(const std::string &whole)
{
    std::string out;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i != 0 && (whole.size() - i) % 3 == 0)
            out += ',';
        out += whole[i];
    }
    return out;
}

std::string formatted(Decimal d, const Style &style, const char *prefix, const char *suffix)
{
    std::string whole, fraction;
    roundDecimal(d, style.places, whole, fraction);
    // A negative value keeps its sign even where its digits round to zero ("-0.00").
    const bool negative = d.negative;
    std::string number = prefix;
    if (whole.empty())
        number += style.leadingDigit ? "0" : "";
    else
        number += style.grouping ? grouped(whole) : whole;
    if (style.places > 0)
        number += "." + fraction;
    if (negative)
        number = style.parentheses ? "(" + number + ")" : "-" + number;
    return number + suffix; // a percent sign stands outside the parentheses: "(50)%"
}

Value fnFormatNumber(CallContext &, Args a)
{
    const Style style = styleOf(a, false);
    return Value::string(formatted(decimalOf(numericArgument(a[0])), style, "", ""));
}

Value fnFormatCurrency(CallContext &, Args a)
{
    const Style style = styleOf(a, true);
    return Value::string(formatted(decimalOf(numericArgument(a[0])), style, "$", ""));
}

Value fnFormatPercent(CallContext &, Args a)
{
    const Style style = styleOf(a, false);
    Decimal d = decimalOf(numericArgument(a[0]));
    if (!d.digits.empty())
        d.exponent += 2; // times 100, exactly
    return Value::string(formatted(d, style, "", "%"));
}

// --- FormatDateTime --------------------------------------------------------------------------

std::string twoDigits(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

Value fnFormatDateTime(CallContext &, Args a)
{
    if (a[0].isNull())
        throw ScriptError(TypeMismatch);
    std::int32_t format = 0;
    if (given(a, 1)) {
        format = toLong(required(a[1]));
        if (format < 0 || format > 4)
            throw ScriptError(InvalidProcedureCall);
    }
    const double serial = toDateSerial(a[0]);
    const DateParts p = splitDateSerial(serial);
    switch (format) {
    case 1: return Value::string(formatLongDate(serial));
    case 2:
        return Value::string(std::to_string(p.date.month) + "/" + std::to_string(p.date.day) + "/" +
                             std::to_string(p.date.year));
    case 3: {
        const double timeOnly = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
        return Value::string(formatDate(timeOnly));
    }
    case 4: return Value::string(twoDigits(p.hour) + ":" + twoDigits(p.minute));
    default: return Value::string(formatDate(serial));
    }
}

constexpr std::array builtins{
    Builtin{"FORMATCURRENCY", 1, 5, fnFormatCurrency},
    Builtin{"FORMATDATETIME", 1, 2, fnFormatDateTime},
    Builtin{"FORMATNUMBER", 1, 5, fnFormatNumber},
    Builtin{"FORMATPERCENT", 1, 5, fnFormatPercent},
};

} // namespace

std::span<const Builtin> formatBuiltins() { return builtins; }

} // namespace eval
