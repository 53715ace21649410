#include "FormatResult.h"

#include "DecimalPlaces.h"

#include <cstddef>

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
    bool anyDigit = false, afterPoint = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (out.digits.empty() && c == '0') {
                if (afterPoint)
                    --out.point;
                continue;
            }
            out.digits += c;
            if (!afterPoint)
                ++out.point;
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
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

std::string masked(const DecimalDigits &d, int places)
{
    std::string whole;
    for (long i = 0; i < d.point; ++i)
        whole += i < static_cast<long>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
    std::string fraction;
    for (long i = d.point; i < d.point + places; ++i)
        fraction += i >= 0 && i < static_cast<long>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();

    std::string f;
    f.reserve(whole.size() * 4 / 3 + fraction.size() + 3);
    // A value whose digits all rounded away shows as zero, never as "-0".
    if (d.negative && !d.digits.empty())
        f += '-';
    if (places == 0) {
        f += whole;
        return f;
    }
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            f += ',';
        f += whole[i];
    }
    f += '.';
    f += fraction;
    return f;
}

} // namespace

std::string FormatResult(std::string_view numberText, int decimalPlaces)
{
    std::string r = "= ";
    DecimalDigits digits;
    if (decimalPlaces == DecimalPlacesAuto || !readDigits(numberText, digits)) {
        r += numberText;
    } else {
        int places = decimalPlaces < 0 ? 0 : decimalPlaces > 9 ? 9 : decimalPlaces;
        roundDigits(digits, places);
        r += masked(digits, places);
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
