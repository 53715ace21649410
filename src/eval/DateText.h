#pragma once

#include <optional>
#include <string_view>

namespace eval {

// Reads a date and/or time in the en-US forms the language accepts, for date literals
// (#1/2/2000#), CDate, DateValue, TimeValue and IsDate: "12/25/2026", "2026-12-25",
// "Dec 25 2026", "25 December 2026", "Friday, December 25, 2026", "12/25" (this year),
// "1:02:03 PM", "13:02", "1 PM", "2.5" (2:05), a date and a time in either order. Month and weekday
// names in any letter case, full or their first three letters. The result is a date serial:
// days since 30 December 1899, the time of day as the fraction. No value for text that is no
// date. Two-digit years 0-29 mean 2000-2029, 30-99 mean 1930-1999; a month/day order that
// cannot be a date is read as day/month.
std::optional<double> parseDateText(std::string_view text);

} // namespace eval
