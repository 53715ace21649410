#pragma once

#include "eval/Value.h"

#include <string>

namespace eval {

// A value as a date serial, as the date functions take their date argument: a Date as it is,
// a number as days, a string as a date text or else a number. Type mismatch for other text,
// Overflow outside the language's dates, Invalid use of Null for Null.
double toDateSerial(const Value &value);

// The en-US long date: "Friday, December 25, 2026".
std::string formatLongDate(double serial);

} // namespace eval
