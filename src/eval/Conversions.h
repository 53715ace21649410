#pragma once

#include "Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The language's conversions between subtypes. Each throws ScriptError where the language
// fails: Type mismatch for a string that is no number, Overflow beyond the target's range,
// Invalid use of Null where a value is required.
namespace eval {

// Half to even, as the language rounds a fraction to a whole number (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

bool isNumeric(VarType type); // Byte to Currency, Boolean, Date, Empty: usable without parsing

double toDouble(const Value &value);
float toSingle(const Value &value);
std::int32_t toLong(const Value &value);
std::int16_t toInteger(const Value &value);
std::uint8_t toByte(const Value &value);
std::int64_t toCurrency(const Value &value); // in units of 1/10,000
bool toBoolean(const Value &value);
std::string toText(const Value &value); // CStr

// A double as a Currency amount, rounded half to even at the fourth decimal of its binary
// value; Overflow beyond the Currency range.
std::int64_t currencyFromDouble(double value);
double currencyToDouble(std::int64_t scaled);

// The words a string may hold for a Boolean: "True" and "False" in any letter case, "#TRUE#"
// and "#FALSE#".
std::optional<bool> booleanWord(std::string_view text);

} // namespace eval
