#pragma once

#include <string_view>

namespace eval {

// How the language reads a string as a number when it coerces one ("12" + 1, CDbl(" 1.5E3 ")):
// blanks around, an optional sign, decimal digits (commas may group the whole part), a point,
// an exponent, or &H / &O radix forms.
struct ParsedNumber
{
    enum Status { Ok, NotNumeric, Overflow };
    Status status = NotNumeric;
    double value = 0.0;
};

ParsedNumber parseNumericString(std::string_view text);

} // namespace eval
