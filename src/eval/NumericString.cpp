#include "NumericString.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace eval {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int radixDigit(char c, int radix)
{
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < radix ? d : -1;
}

// &HFFFF reads as -1 and &H8000 as -32768: radix forms are 16-bit while they fit, else 32-bit.
ParsedNumber parseRadix(std::string_view digits, int radix, bool negative)
{
    if (digits.empty())
        return {};
    std::uint64_t value = 0;
    for (char c : digits) {
        int d = radixDigit(c, radix);
        if (d < 0)
            return {};
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFu)
            return {ParsedNumber::Overflow, 0.0};
    }
    double result = value <= 0xFFFFu ? static_cast<double>(static_cast<std::int16_t>(value))
                                     : static_cast<double>(static_cast<std::int32_t>(value));
    return {ParsedNumber::Ok, negative ? -result : result};
}

// Decimal order of magnitude of a plain number text, to tell an underflow from an overflow.
long magnitude(const std::string &plain)
{
    std::size_t e = plain.find('e');
    std::string_view mantissa(plain.data(), e == std::string::npos ? plain.size() : e);
    long exponent = 0;
    if (e != std::string::npos) {
        std::string_view digits(plain.data() + e + 1, plain.size() - e - 1);
        bool minus = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits) {
            exponent = exponent * 10 + (c - '0');
            if (exponent > 100000000)
                break;
        }
        if (minus)
            exponent = -exponent;
    }
    long whole = 0, leadingZeros = 0;
    bool inFraction = false, significant = false;
    for (char c : mantissa) {
        if (c == '.') {
            inFraction = true;
        } else if (!inFraction) {
            significant = significant || c != '0';
            whole += significant ? 1 : 0;
        } else if (whole == 0) {
            if (c != '0')
                break;
            ++leadingZeros;
        }
    }
    return (whole > 0 ? whole : -leadingZeros) + exponent;
}

} // namespace

ParsedNumber parseNumericString(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() >= 2 && text[0] == '&') {
        char r = text[1];
        if (r == 'h' || r == 'H')
            return parseRadix(text.substr(2), 16, negative);
        if (r == 'o' || r == 'O')
            return parseRadix(text.substr(2), 8, negative);
    }

    // Decimal form. Commas between digits of the whole part group thousands and are dropped.
    std::string plain;
    plain.reserve(text.size());
    bool seenPoint = false, seenExponent = false, seenDigit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (isDigit(c)) {
            seenDigit = true;
            plain += c;
        } else if (c == ',' && !seenPoint && !seenExponent && seenDigit && i + 1 < text.size() &&
                   isDigit(text[i + 1])) {
            continue;
        } else if (c == '.' && !seenPoint && !seenExponent) {
            seenPoint = true;
            plain += c;
        } else if ((c == 'e' || c == 'E') && seenDigit && !seenExponent) {
            seenExponent = true;
            plain += 'e';
            if (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-'))
                plain += text[++i];
            if (i + 1 >= text.size() || !isDigit(text[i + 1]))
                return {};
        } else {
            return {};
        }
    }
    if (!seenDigit)
        return {};
    double value = 0.0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small underflows to zero quietly; too large is an overflow.
        if (magnitude(plain) < 0)
            return {ParsedNumber::Ok, 0.0};
        return {ParsedNumber::Overflow, 0.0};
    }
    if (ec != std::errc() || end != plain.data() + plain.size())
        return {};
    return {ParsedNumber::Ok, negative ? -value : value};
}

} // namespace eval
