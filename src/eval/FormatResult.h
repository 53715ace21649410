#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace eval {

// The result text ("= 1,234.57") for a number text and a decimal-places setting.
// 0 places: the mask "##", no separators. 1 to 9: "#,###." and that many "#", so thousands are
// grouped and trailing fraction zeros dropped. Rounding works on the decimal digits of the
// text, a 5 rounding away from zero (2.675 -> 2.68). A result whose digits all round away is
// the setting's zero text ("= 0", "= 0.00"), without a minus sign. DecimalPlacesAuto writes the
// number text unchanged.
std::string FormatResult(std::string_view numberText, int decimalPlaces);
// The same for a Double's number text (formatDouble), without writing that text out first.
std::string FormatDoubleResult(double value, int decimalPlaces);
// The same for the number `digits` x 10^-fractionDigits, less than zero when `negative`: the
// text of a whole number (no fraction digits) or of a Currency amount (four, less trailing
// zeros), without writing it out first. fractionDigits is at most 19.
std::string FormatDecimalResult(bool negative, std::uint64_t digits, int fractionDigits, int decimalPlaces);

} // namespace eval
