#include "NumericString.h"

#include <algorithm>
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
            return {ParsedNumber::OutOfRange, 0.0};
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

// The forms a number text may take, once blanks and sign are off: a radix form (&H, &O) or
// decimal digits, rewritten plain ("1,234.5" becomes "1234.5", "1E3" becomes "1e3").
struct Spelling
{
    enum Form { Invalid, Radix, Decimal };
    Form form = Invalid;
    bool negative = false;
    int radix = 10;
    std::string_view radixDigits;
    std::string plain;
};

Spelling spell(std::string_view text)
{
    Spelling out;
    // Before the digits, in any order: blanks, one sign, one currency sign "$", and an opening
    // parenthesis that a closing one after the digits matches to make the number negative, as
    // the system's number reading of the en-US locale has them ("$1,234.50", "(5)").
    bool signed_ = false, currency = false, parenthesised = false;
    for (;;) {
        if (!text.empty() && isBlank(text.front())) {
        } else if (!text.empty() && (text.front() == '+' || text.front() == '-') && !signed_) {
            signed_ = true;
            out.negative = text.front() == '-';
        } else if (!text.empty() && text.front() == '$' && !currency) {
            currency = true;
        } else if (!text.empty() && text.front() == '(' && !parenthesised) {
            parenthesised = true;
        } else {
            break;
        }
        text.remove_prefix(1);
    }
    // After the digits: blanks, the closing parenthesis, or the sign when none led ("5-" is -5,
    // "-5-" is no number).
    bool closed = false, trailingSign = false;
    for (;;) {
        if (!text.empty() && isBlank(text.back())) {
        } else if (!text.empty() && text.back() == ')' && parenthesised && !closed) {
            closed = true;
        } else if (!text.empty() && (text.back() == '+' || text.back() == '-') && !signed_ &&
                   !trailingSign) {
            trailingSign = true;
            out.negative = text.back() == '-';
        } else {
            break;
        }
        text.remove_suffix(1);
    }
    if (parenthesised != closed || (parenthesised && (signed_ || trailingSign)))
        return out;
    if (parenthesised)
        out.negative = true;
    if (text.size() >= 2 && text[0] == '&' && !currency && !parenthesised) {
        char r = text[1];
        if (r == 'h' || r == 'H' || r == 'o' || r == 'O') {
            out.form = Spelling::Radix;
            out.radix = (r == 'h' || r == 'H') ? 16 : 8;
            out.radixDigits = text.substr(2);
            return out;
        }
    }

    // Decimal form. Commas between digits of the whole part group thousands and are dropped.
    std::string &plain = out.plain;
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
                return out;
        } else {
            return out;
        }
    }
    if (seenDigit)
        out.form = Spelling::Decimal;
    return out;
}

// Plain decimal digits with an optional point and exponent ("123.45", "1e5"), without a sign.
ParsedCurrency currencyFromPlainText(std::string_view plain, bool negative)
{
    std::size_t e = plain.find_first_of("eE");
    std::string_view mantissa = plain.substr(0, e);
    long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = plain.substr(e + 1);
        bool minus = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 1000000L); // far beyond any amount
        if (minus)
            exponent = -exponent;
    }
    std::string digits;
    digits.reserve(mantissa.size());
    long wholeCount = -1;
    for (char c : mantissa) {
        if (c == '.')
            wholeCount = static_cast<long>(digits.size());
        else if (isDigit(c))
            digits += c;
        else
            return {};
    }
    if (digits.empty())
        return {};
    if (digits.find_first_not_of('0') == std::string::npos)
        return {ParsedNumber::Ok, 0};
    if (wholeCount < 0)
        wholeCount = static_cast<long>(digits.size());
    // The amount in 1/10,000 is the digits up to four places past the point; the rest rounds.
    const long kept = wholeCount + exponent + 4;
    const auto size = static_cast<long>(digits.size());
    constexpr std::uint64_t limit = 9223372036854775808ull; // 2^63, the magnitude of the least amount
    std::uint64_t units = 0;
    for (long i = 0; i < kept; ++i) {
        const unsigned d = i < size ? static_cast<unsigned>(digits[static_cast<std::size_t>(i)] - '0') : 0;
        if (units > (limit - d) / 10)
            return {ParsedNumber::OutOfRange, 0};
        units = units * 10 + d;
    }
    if (kept >= 0 && kept < size) {
        const char first = digits[static_cast<std::size_t>(kept)];
        const bool restNonZero =
            digits.find_first_not_of('0', static_cast<std::size_t>(kept) + 1) != std::string::npos;
        if (first > '5' || (first == '5' && (restNonZero || units % 2 != 0)))
            ++units;
    }
    if (units > limit || (units == limit && !negative))
        return {ParsedNumber::OutOfRange, 0};
    // Through unsigned arithmetic, so that -2^63 itself never overflows.
    const std::uint64_t bits = negative ? 0 - units : units;
    return {ParsedNumber::Ok, static_cast<std::int64_t>(bits)};
}

} // namespace

ParsedNumber parseNumericString(std::string_view text)
{
    const Spelling spelling = spell(text);
    if (spelling.form == Spelling::Radix)
        return parseRadix(spelling.radixDigits, spelling.radix, spelling.negative);
    if (spelling.form != Spelling::Decimal)
        return {};
    const std::string &plain = spelling.plain;
    double value = 0.0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small underflows to zero quietly; too large is an overflow.
        if (magnitude(plain) < 0)
            return {ParsedNumber::Ok, 0.0};
        return {ParsedNumber::OutOfRange, 0.0};
    }
    if (ec != std::errc() || end != plain.data() + plain.size())
        return {};
    return {ParsedNumber::Ok, spelling.negative ? -value : value};
}

ParsedCurrency parseCurrencyString(std::string_view text)
{
    const Spelling spelling = spell(text);
    if (spelling.form == Spelling::Radix) {
        // Radix forms are whole numbers of at most 32 bits: they always fit.
        ParsedNumber n = parseRadix(spelling.radixDigits, spelling.radix, spelling.negative);
        return {n.status, static_cast<std::int64_t>(n.value) * 10000};
    }
    if (spelling.form != Spelling::Decimal)
        return {};
    return currencyFromPlainText(spelling.plain, spelling.negative);
}

} // namespace eval
