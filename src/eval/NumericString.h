#pragma once

#include <cstdint>
#include <string_view>

namespace eval {

// How the language reads a string as a number when it coerces one ("12" + 1, CDbl(" 1.5E3 ")):
// blanks around, an optional sign before the digits or after them ("5-" is -5), a "$",
// parentheses for a negative amount, decimal digits (commas may group the whole part), a point,
// an exponent, or &H / &O radix forms.
struct ParsedNumber
{
    enum Status { Ok, NotNumeric, OutOfRange };
    Status status = NotNumeric;
    double value = 0.0;
};

ParsedNumber parseNumericString(std::string_view text);

// A Currency amount in units of 1/10,000, read exactly from the decimal digits (no detour
// through a double, so "922337203685477.5807" is the largest amount to the last digit); a fifth
// decimal and beyond round half to even.
struct ParsedCurrency
{
    ParsedNumber::Status status = ParsedNumber::NotNumeric;
    std::int64_t scaled = 0;
};

// The text as the language reads it for CCur: the forms parseNumericString accepts.
ParsedCurrency parseCurrencyString(std::string_view text);

} // namespace eval
