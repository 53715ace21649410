#pragma once

#include "Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace eval {

// The standard number-to-text conversion: "-" for negatives, "." as the point, no grouping,
// a "0" before a bare point, at most 15 significant digits with trailing fraction zeros dropped,
// and exponent notation (1E+20, 1E-05) from 1E+15 up and below 0.0001.
std::string formatDouble(double value);
// The same with at most 7 significant digits, for single precision (exponent from 1E+07 up).
std::string formatSingle(float value);
// Currency: up to four decimals, trailing zeros dropped ("3.3333", "-0.5", "12").
std::string formatCurrency(std::int64_t scaled);
// Date and time of a date serial, in the language's default US form ("1/2/2000 3:04:05 PM").
std::string formatDate(double serial);

// The value as text, as the language's CStr gives it; no text for a null value.
// Empty gives the empty text, Boolean "True" or "False", a String itself.
std::optional<std::string> NumberText(const Value &value);

} // namespace eval
