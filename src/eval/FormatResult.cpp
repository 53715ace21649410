#include "FormatResult.h"

#include "DecimalPlaces.h"
#include "NumberText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace eval {
namespace {

// A number text as decimal digits: value = 0.d1d2d3... x 10^point, sign apart.
struct DecimalDigits
{
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    long point = 0;     // how many of the digits stand before the decimal point (may exceed or be < 0)
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The longest number text formatted on the stack; longer ones take the general road.
constexpr std::size_t Longest = 40;

// Reads "-1234.5", "1E+20", "9.00719925474099E+15", " .5 ". False for anything else.
bool readDigits(std::string_view text, DecimalDigits &out)
{
    std::size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    while (n > i && text[n - 1] == ' ')
        --n;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        out.negative = text[i++] == '-';
    // The whole part and the fraction are runs of digits: appended whole, leading zeros off.
    const char *const chars = text.data();
    const std::size_t wholeStart = i;
    while (i < n && isDigit(chars[i]))
        ++i;
    std::size_t first = wholeStart;
    while (first < i && chars[first] == '0')
        ++first;
    out.digits.append(chars + first, i - first);
    out.point = static_cast<long>(i - first);
    bool anyDigit = i > wholeStart;
    if (i < n && chars[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < n && isDigit(chars[i]))
            ++i;
        anyDigit = anyDigit || i > fractionStart;
        std::size_t from = fractionStart;
        if (out.digits.empty()) { // 0.005: the zeros after the point only move it
            while (from < i && chars[from] == '0')
                ++from;
            out.point = -static_cast<long>(from - fractionStart);
        }
        out.digits.append(chars + from, i - from);
    }
    if (!anyDigit)
        return false;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool minus = false;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            minus = text[i++] == '-';
        if (i >= n)
            return false;
        long exponent = 0;
        for (; i < n && isDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            // No number of the language comes near; this bounds the digits written out.
            if (exponent > 100000)
                return false;
        }
        out.point += minus ? -exponent : exponent;
    }
    if (i != n)
        return false;
    if (out.digits.empty())
        out.point = 0;
    return true;
}

// Rounds to `places` digits after the point, a 5 in the first dropped digit rounding up.
void roundDigits(DecimalDigits &d, int places)
{
    long keep = d.point + places;
    if (keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9')
            d.digits[--i] = '0';
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[i - 1];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.point = 0;
}

// Appends the formatted number F of the mask with `places` fraction digits to `out`.
void appendMasked(const DecimalDigits &d, int places, std::string &out)
{
    const long size = static_cast<long>(d.digits.size());
    auto digitAt = [&d, size](long i) { return i >= 0 && i < size ? d.digits[static_cast<std::size_t>(i)] : '0'; };
    // A value whose digits all rounded away shows as zero, never as "-0".
    if (d.negative && !d.digits.empty())
        out += '-';
    const long whole = d.point > 0 ? d.point : 0;
    for (long i = 0; i < whole; ++i) {
        if (places > 0 && i > 0 && (whole - i) % 3 == 0)
            out += ',';
        out += digitAt(i);
    }
    if (places == 0)
        return;
    out += '.';
    long last = d.point + places; // one past the last fraction digit that is not zero
    while (last > d.point && digitAt(last - 1) == '0')
        --last;
    for (long i = d.point; i < last; ++i)
        out += digitAt(i);
}

// Rounds the `count` digits at digits[1..] to their first `keep`, a 5 or more rounding away
// from zero; digits[0] is room for a carry out of the first digit, which moves the point one
// further. The index of the first digit kept: 0 after such a carry, else 1.
std::size_t roundDigits(char *digits, std::size_t &count, std::size_t &point, std::size_t keep)
{
    std::size_t first = 1;
    if (keep >= count)
        return first;
    const bool up = digits[1 + keep] >= '5';
    count = keep;
    if (up) {
        std::size_t k = keep;
        while (k > 0 && digits[k] == '9')
            digits[k--] = '0';
        if (k == 0) {
            digits[0] = '1';
            first = 0;
            ++point;
        } else {
            ++digits[k];
        }
    }
    return first;
}

// The result text of digits[1..1 + count) with the point after the first `point` of them,
// rounded at `places` digits after it; digits[0] is room for a carry.
void formatDigits(bool negative, char *digits, std::size_t count, std::size_t point, int places,
                  std::string &result)
{
    // Round at `places` digits after the point; digits[first..) are the kept digits.
    const std::size_t first = roundDigits(digits, count, point, point + static_cast<std::size_t>(places));
    const std::size_t end = 1 + count; // one past the last digit
    // Fraction digits without their trailing zeros, and whether anything is not zero.
    std::size_t fractionEnd = end;
    const std::size_t fractionStart = first + point;
    while (fractionEnd > fractionStart && digits[fractionEnd - 1] == '0')
        --fractionEnd;
    // A whole part starts with a digit that is not zero (leading zeros are never kept).
    bool nonZero = point > 0;
    for (std::size_t k = first; !nonZero && k < fractionEnd; ++k)
        nonZero = digits[k] != '0';
    char out[2 * Longest + 8];
    std::size_t n = 0;
    out[n++] = '=';
    out[n++] = ' ';
    if (negative && nonZero)
        out[n++] = '-';
    const std::size_t whole = point;
    if (whole == 0 && (places > 0 || !nonZero))
        out[n++] = '0'; // the leading zero, or the zero text of "##"
    // A thousands separator before every third digit from the point (the mask "##" has none).
    std::size_t untilSeparator = whole % 3 == 0 ? 3 : whole % 3;
    for (std::size_t k = 0; k < whole; ++k, --untilSeparator) {
        if (untilSeparator == 0) {
            if (places > 0)
                out[n++] = ',';
            untilSeparator = 3;
        }
        out[n++] = digits[first + k];
    }
    if (places > 0) {
        if (fractionEnd > fractionStart) {
            out[n++] = '.';
            for (std::size_t k = fractionStart; k < fractionEnd; ++k)
                out[n++] = digits[k];
        } else if (!nonZero) {
            out[n++] = '.'; // the setting's zero text: "= 0.00"
            for (int k = 0; k < places; ++k)
                out[n++] = '0';
        }
    }
    result.assign(out, n);
}

// The usual number text, a plain decimal of a few digits ("-1234.56789"), formatted in one
// pass over stack buffers: the same steps as below without building the digits on the heap.
// False for any other text (an exponent, blanks, a long one), which takes the general road.
bool formatPlain(std::string_view text, int places, std::string &result)
{
    if (text.empty() || text.size() > Longest)
        return false;
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative || text[0] == '+')
        ++i;
    char digits[Longest + 1];
    std::size_t count = 0, point = 0;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (count == 0 && text[i] == '0')
            continue; // leading zeros of the whole part
        digits[count++] = text[i];
    }
    point = count;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            digits[count++] = text[i];
        }
    if (i != text.size() || !anyDigit)
        return false;
    std::memmove(digits + 1, digits, count);
    formatDigits(negative, digits, count, point, places, result);
    return true;
}

// The result text of the decimal number `digits` x 10^-fraction (the sign apart) into `out`, as
// FormatResult writes the same number's text: rounded at `places` digits after the point (a 5
// in the first dropped digit rounding up), then as formatDigits lays it out. `places` is 0 to 9,
// or DecimalPlacesAuto, which rounds nothing and groups nothing. The text's length.
std::size_t formatScaled(bool negative, std::uint64_t digits, int fraction, int places, char *out)
{
    if (fraction > places) {
        const int dropped = fraction - places;
        if (dropped >= 20) {
            digits = 0; // below any half of what is kept
        } else {
            const std::uint64_t unit = powersOfTen[static_cast<std::size_t>(dropped)];
            const bool up = digits % unit >= unit / 2;
            digits = digits / unit + (up ? 1 : 0);
        }
        fraction = places;
    }
    while (fraction > 0 && digits % 10 == 0) {
        digits /= 10;
        --fraction;
    }
    const bool grouped = places > 0 && places <= 9;
    std::size_t n = 0;
    out[n++] = '=';
    out[n++] = ' ';
    if (negative && digits != 0)
        out[n++] = '-';
    // A whole number (most results of whole numbers) needs no division.
    std::uint64_t whole = digits, part = 0;
    if (fraction > 0) {
        whole = digits / powersOfTen[static_cast<std::size_t>(fraction)];
        part = digits % powersOfTen[static_cast<std::size_t>(fraction)];
    }
    // The whole part two digits at a time from its end, then copied in groups of three.
    // The digits end halfway along, so that 24 bytes from their start (the most there are, with
    // room to spare) can be copied at once, with no call for a length known only now.
    char wholeText[48] = {};
    char *const wholeEnd = wholeText + 24;
    const char *const first = writeDigitsBefore(wholeEnd, whole);
    const auto length = static_cast<std::size_t>(wholeEnd - first);
    if (!grouped || length <= 3) {
        std::memcpy(out + n, first, 24);
        n += length;
    } else {
        // A separator before every third digit from the point.
        std::size_t group = length % 3 == 0 ? 3 : length % 3;
        std::memcpy(out + n, first, group);
        n += group;
        for (; group < length; group += 3) {
            out[n++] = ',';
            std::memcpy(out + n, first + group, 3);
            n += 3;
        }
    }
    if (fraction > 0) {
        out[n++] = '.';
        for (auto k = static_cast<std::size_t>(fraction); k > 0; --k, part /= 10)
            out[n + k - 1] = static_cast<char>('0' + part % 10);
        n += static_cast<std::size_t>(fraction);
    } else if (digits == 0 && grouped) {
        out[n++] = '.'; // the setting's zero text: "= 0.00"
        for (int k = 0; k < places; ++k)
            out[n++] = '0';
    }
    return n;
}

// The longest text formatScaled writes: "= -", 20 digits and 6 separators, a point, 20 digits.
constexpr std::size_t LongestScaled = 64;

} // namespace

std::string FormatDoubleResult(double value, int decimalPlaces)
{
    // The usual Double: its 15 digits as one number, rounded and laid out as whole numbers.
    FixedRangeSignificand significand;
    if (decimalPlaces >= 0 && decimalPlaces <= 9 && fixedRangeSignificand(value, significand)) {
        char text[LongestScaled];
        return std::string(text, formatScaled(value < 0, significand.digits, 14 - significand.exponent,
                                              decimalPlaces, text));
    }
    return FormatResult(formatDouble(value), decimalPlaces);
}

std::string FormatDecimalResult(bool negative, std::uint64_t digits, int fractionDigits, int decimalPlaces)
{
    // A setting beyond 0 to 9 counts as its nearer end, as FormatResult has it; but automatic.
    const int places = decimalPlaces == DecimalPlacesAuto ? DecimalPlacesAuto : std::clamp(decimalPlaces, 0, 9);
    char text[LongestScaled];
    return std::string(text, formatScaled(negative, digits, fractionDigits, places, text));
}

std::string FormatResult(std::string_view numberText, int decimalPlaces)
{
    if (decimalPlaces >= 0 && decimalPlaces <= 9) {
        std::string plain;
        if (formatPlain(numberText, decimalPlaces, plain))
            return plain;
    }
    std::string r = "= ";
    DecimalDigits digits;
    if (decimalPlaces == DecimalPlacesAuto || !readDigits(numberText, digits)) {
        r += numberText;
    } else {
        int places = decimalPlaces < 0 ? 0 : decimalPlaces > 9 ? 9 : decimalPlaces;
        roundDigits(digits, places);
        appendMasked(digits, places, r);
        if (places == 0 && r == "= ")
            r = "= 0";
        else if (places > 0 && r == "= .")
            r = "= 0." + std::string(static_cast<std::size_t>(places), '0');
    }
    if (r.size() > 2 && r.back() == '.')
        r.pop_back();
    if (r.compare(0, 3, "= .") == 0)
        r.insert(2, "0");
    else if (r.compare(0, 4, "= -.") == 0)
        r.insert(3, "0");
    return r;
}

} // namespace eval
