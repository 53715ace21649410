#include "NumberText.h"

#include "CalendarDate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace eval {
namespace {

// to_chars writes "1e+20"; the language writes "1E+20". It never depends on the C locale.
template <typename Real>
std::string formatGeneral(Real value, int precision)
{
    if (value == 0)
        return "0"; // also for negative zero
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                precision);
    for (char *p = buffer; p != result.ptr; ++p)
        if (*p == 'e')
            *p = 'E';
    return std::string(buffer, result.ptr);
}

template <typename Int>
std::string formatInteger(Int value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Days since 1 January 1970 to a civil date (proleptic Gregorian).
void civilFromDays(long long z, long long &year, unsigned &month, unsigned &day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

__extension__ typedef unsigned __int128 Wide;

} // namespace

// The 15-digit general form of a double between 0.0001 and 1E+15, exactly and without
// to_chars: the double is m x 2^e; m x 5^k x 2^(e+k) is the value times 10^k, which 128 bits
// hold whole for the powers this range needs, so rounding it to 15 digits (half to even, as
// printf does on an exact tie) is one shift. False outside the range: to_chars then.

bool fixedRangeSignificand(double value, FixedRangeSignificand &out)
{
    static constexpr std::uint64_t powersOfFive[23] = {
        1ull, 5ull, 25ull, 125ull, 625ull, 3125ull, 15625ull, 78125ull, 390625ull, 1953125ull,
        9765625ull, 48828125ull, 244140625ull, 1220703125ull, 6103515625ull, 30517578125ull,
        152587890625ull, 762939453125ull, 3814697265625ull, 19073486328125ull,
        95367431640625ull, 476837158203125ull, 2384185791015625ull};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15))
        return false;
    // magnitude = mantissa x 2^e, read from the bits (the range holds normal numbers only).
    std::uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = biased - 1075;
    // The decimal exponent, first from the binary one (78913 / 2^18 is log10(2) closely enough
    // for these exponents), then corrected by what the digits say.
    int decimalExponent = ((biased - 1023) * 78913) >> 18;
    std::uint64_t digits = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 14 - decimalExponent;
        if (k < 0 || k > 22 || e + k >= 0)
            return false;
        const Wide scaled = static_cast<Wide>(mantissa) * powersOfFive[k];
        const int shift = -(e + k);
        if (shift >= 127)
            return false;
        const Wide one = 1;
        digits = static_cast<std::uint64_t>(scaled >> shift);
        const Wide rest = scaled & ((one << shift) - 1), half = one << (shift - 1);
        if (rest > half || (rest == half && (digits & 1) != 0))
            ++digits;
        if (digits >= 1000000000000000ull)
            ++decimalExponent;
        else if (digits < 100000000000000ull)
            --decimalExponent;
        else
            break;
        digits = 0;
    }
    if (digits == 0 || decimalExponent < -4 || decimalExponent >= 15)
        return false;
    out.digits = digits;
    out.exponent = decimalExponent;
    return true;
}

namespace {

// The digits of a fixed-range Double's text: digits[0..count) with trailing zeros dropped,
// the first standing for 10^exponent.
struct FixedRangeDigits
{
    char digits[15];
    int count;
    int exponent;
};

bool fixedRangeDigits(double value, FixedRangeDigits &out)
{
    FixedRangeSignificand significand;
    if (!fixedRangeSignificand(value, significand))
        return false;
    std::uint64_t digits = significand.digits;
    // Trailing zeros off the number first (at most 14 of its 15 digits: 8, 4, 2 and 1 of them
    // at a time), then the digits left written two at a time from the end.
    int count = 15;
    constexpr std::uint64_t chunks[] = {100000000, 10000, 100, 10};
    constexpr int chunkZeros[] = {8, 4, 2, 1};
    for (int c = 0; c < 4; ++c) {
        if (digits % chunks[c] == 0) {
            digits /= chunks[c];
            count -= chunkZeros[c];
        }
    }
    writeDigitsBefore(out.digits + count, digits);
    out.count = count;
    out.exponent = significand.exponent;
    return true;
}

bool formatFixedRange(double value, std::string &out)
{
    FixedRangeDigits d;
    if (!fixedRangeDigits(value, d))
        return false;
    const char *const text = d.digits;
    const int count = d.count, decimalExponent = d.exponent;
    out.clear();
    if (value < 0)
        out += '-';
    if (decimalExponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-decimalExponent - 1), '0');
        out.append(text, static_cast<std::size_t>(count));
        return true;
    }
    const int whole = decimalExponent + 1;
    out.append(text, static_cast<std::size_t>(whole < count ? whole : count));
    if (count <= whole) {
        out.append(static_cast<std::size_t>(whole - count), '0');
    } else {
        out += '.';
        out.append(text + whole, static_cast<std::size_t>(count - whole));
    }
    return true;
}

// The leading significant digits of a positive finite value, rounded on its exact decimal
// expansion, and the power of ten of the first digit. to_chars rounds a tie to even; the
// language's own conversion rounds it away from zero (the Single 654322.25 writes "654322.3").
struct Significand
{
    char digits[16];
    int count;    // trailing zeros dropped
    int exponent; // the value is d.ddd x 10^exponent
};

// "d.ddde-XX" into its digits and exponent.
int scientificParts(const char *text, const char *end, char *digits, int most)
{
    int n = 0;
    const char *p = text;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.' && n < most)
            digits[n++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    return exponent;
}

Significand roundSignificand(double magnitude, int precision)
{
    Significand out{};
    char buffer[40];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                           precision - 1);
    out.exponent = scientificParts(buffer, r.ptr, out.digits, precision);
    out.count = precision;
    // A tie shows as a 5 and a 0 in the two digits after the kept ones; the exact expansion
    // (at most 767 significant digits for a double) tells a true tie from a near one.
    char wider[40], widerDigits[20];
    r = std::to_chars(wider, wider + sizeof wider, magnitude, std::chars_format::scientific, precision + 1);
    scientificParts(wider, r.ptr, widerDigits, precision + 2);
    if (widerDigits[precision] == '5' && widerDigits[precision + 1] == '0') {
        static thread_local char exact[800];
        r = std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific, 767);
        const char *e = std::find(static_cast<const char *>(exact), static_cast<const char *>(r.ptr), 'e');
        // Digits sit at 0 and from 2 on (after the point): index precision + 1 is the 5.
        if (std::all_of(static_cast<const char *>(exact) + precision + 2, e, [](char c) { return c == '0'; })) {
            out.exponent = scientificParts(exact, r.ptr, out.digits, precision);
            int i = precision - 1;
            for (; i >= 0 && out.digits[i] == '9'; --i)
                out.digits[i] = '0';
            if (i >= 0) {
                ++out.digits[i];
            } else {
                out.digits[0] = '1';
                ++out.exponent;
            }
        }
    }
    while (out.count > 1 && out.digits[out.count - 1] == '0')
        --out.count;
    return out;
}

// The fixed form while the value is below `limit` and its rounded digits reach at most
// `precision` places after the point; else the exponent form. The limit is tested on the value
// itself: 999999999999999.9 rounds to 16 digits and still writes "1000000000000000".
std::string languageText(double value, int precision, double limit)
{
    if (value == 0)
        return "0"; // also for negative zero
    if (!std::isfinite(value))
        return formatGeneral(value, precision);
    const double magnitude = std::fabs(value);
    const Significand s = roundSignificand(magnitude, precision);
    std::string out = value < 0 ? "-" : "";
    const int places = s.count - 1 - s.exponent;
    if (magnitude < limit && places <= precision) {
        if (s.exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-s.exponent - 1), '0');
            out.append(s.digits, static_cast<std::size_t>(s.count));
        } else {
            const int whole = s.exponent + 1;
            out.append(s.digits, static_cast<std::size_t>(std::min(whole, s.count)));
            out.append(static_cast<std::size_t>(std::max(whole - s.count, 0)), '0');
            if (places > 0) {
                out += '.';
                out.append(s.digits + whole, static_cast<std::size_t>(places));
            }
        }
        return out;
    }
    out += s.digits[0];
    if (s.count > 1) {
        out += '.';
        out.append(s.digits + 1, static_cast<std::size_t>(s.count - 1));
    }
    out += s.exponent < 0 ? "E-" : "E+";
    const int e = std::abs(s.exponent);
    if (e < 10)
        out += '0';
    out += std::to_string(e);
    return out;
}

} // namespace

std::string languageDoubleText(double value) { return languageText(value, 15, 1e15); }

std::string languageSingleText(float value) { return languageText(value, 7, 1e7); }

std::string formatDouble(double value)
{
    std::string text;
    if (formatFixedRange(value, text))
        return text;
    return formatGeneral(value, 15);
}

std::string formatSingle(float value) { return formatGeneral(value, 7); }

std::string formatCurrency(std::int64_t scaled)
{
    bool negative = scaled < 0;
    // Magnitude as unsigned, so that the most negative amount does not overflow.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled)
                                       : static_cast<std::uint64_t>(scaled);
    std::uint64_t whole = magnitude / 10000, fraction = magnitude % 10000;
    std::string text = negative ? "-" : "";
    text += formatInteger(whole);
    if (fraction != 0) {
        char digits[5] = {'0', '0', '0', '0', '\0'};
        for (int i = 3; i >= 0; --i, fraction /= 10)
            digits[i] = static_cast<char>('0' + fraction % 10);
        std::string f(digits);
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        text += '.';
        text += f;
    }
    return text;
}

std::string formatDate(double serial)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6)
        return formatDouble(serial);
    const DayAndTime rounded = roundedDayAndTime(serial);
    const long long wholeDays = rounded.day, seconds = rounded.seconds;
    std::string text;
    if (wholeDays != 0) {
        long long year;
        unsigned month, day;
        // Day 0 of the serial is 30 December 1899, 25,569 days before 1 January 1970.
        civilFromDays(wholeDays - 25569, year, month, day);
        text = std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
    }
    if (seconds != 0 || wholeDays == 0) {
        long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
        long long hour12 = hour % 12 == 0 ? 12 : hour % 12;
        char buffer[32];
        auto two = [](long long n, char *out) {
            out[0] = static_cast<char>('0' + n / 10);
            out[1] = static_cast<char>('0' + n % 10);
        };
        std::string h = std::to_string(hour12);
        two(minute, buffer);
        two(second, buffer + 2);
        if (!text.empty())
            text += ' ';
        text += h + ":" + std::string(buffer, 2) + ":" + std::string(buffer + 2, 2) +
                (hour < 12 ? " AM" : " PM");
    }
    return text;
}

std::optional<std::string> NumberText(const Value &value)
{
    switch (value.type()) {
    case VarType::Null: return std::nullopt;
    case VarType::Empty: return std::string();
    case VarType::Boolean: return std::string(value.asBoolean() ? "True" : "False");
    case VarType::Byte: return formatInteger(value.asByte());
    case VarType::Integer: return formatInteger(value.asInteger());
    case VarType::Long: return formatInteger(value.asLong());
    case VarType::Single: return formatSingle(value.asSingle());
    case VarType::Double: return formatDouble(value.asDouble());
    case VarType::Currency: return formatCurrency(value.asCurrency());
    case VarType::Date: return formatDate(value.asDouble());
    case VarType::String: return value.asString();
    case VarType::Object: break; // the parser takes an object's default value before this
    case VarType::Error: break;
    case VarType::Array: return std::nullopt; // no text, so never a number for the result box
    }
    return std::nullopt;
}

} // namespace eval
