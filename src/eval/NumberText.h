#pragma once

#include "Value.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace eval {

// The result box's number text of a Double (%.15G): "-" for negatives, "." as the point, no
// grouping, a "0" before a bare point, at most 15 significant digits with trailing fraction zeros
// dropped, and exponent notation (1E+20, 1E-05) from 1E+15 up and below 0.0001.
std::string formatDouble(double value);
// 10^0 to 10^19, every power of ten that 64 bits hold.
inline constexpr std::array<std::uint64_t, 20> powersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t &p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();
// "00" to "99", for writing digits two at a time.
inline constexpr std::array<char, 200> digitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();
// Writes the decimal digits of `value` (no leading zeros; "0" for zero) so that they end just
// before `end`, two at a time from the last; where they start.
inline char *writeDigitsBefore(char *end, std::uint64_t value)
{
    for (; value >= 100; value /= 100) {
        end -= 2;
        std::memcpy(end, digitPairs.data() + 2 * (value % 100), 2);
    }
    if (value >= 10) {
        end -= 2;
        std::memcpy(end, digitPairs.data() + 2 * value, 2);
    } else {
        *--end = static_cast<char>('0' + value);
    }
    return end;
}
// The 15 significant digits of that text for a Double from 0.0001 up to 1E+15 (the fixed
// form), without building it: one number from 10^14 to 10^15 - 1, trailing zeros kept, whose
// first digit stands for 10^exponent; the sign is the value's. False outside that range (or
// for zero).
struct FixedRangeSignificand
{
    std::uint64_t digits;
    int exponent;
};
bool fixedRangeSignificand(double value, FixedRangeSignificand &out);
// The same with at most 7 significant digits, for single precision (exponent from 1E+07 up).
std::string formatSingle(float value);
// A Double as the language writes it for CStr, "&", Len and the string functions, which differs
// from the form above: 15 significant digits rounded, a tie away from zero; the fixed form below
// 1E+15 when it needs at most 15 digits after the point (0.00001, 0.000000000000001), else the
// exponent form (1.23091190267348E-03, 3.33333333333333E-02, 1E-16, 1E+15).
std::string languageDoubleText(double value);
// The same for a Single: 7 digits, and at most 7 after the point below 1E+07 (3.333333E-02).
std::string languageSingleText(float value);
// Currency: up to four decimals, trailing zeros dropped ("3.3333", "-0.5", "12").
std::string formatCurrency(std::int64_t scaled);
// Date and time of a date serial, in the language's default US form ("1/2/2000 3:04:05 PM").
std::string formatDate(double serial);

// The value's number text for the result box; no text for a null value. Empty gives the empty
// text, Boolean "True" or "False", a String itself. The language's own text (CStr) is toText in
// Conversions.h: the same but for Doubles and Singles, which it writes as above.
std::optional<std::string> NumberText(const Value &value);

} // namespace eval
