#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace eval {

// The en-US names, as MonthName and WeekdayName write them and as date texts may give them.
inline constexpr std::array<const char *, 12> monthNames{
    "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};
inline constexpr std::array<const char *, 7> weekdayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
                                                          "Thursday", "Friday", "Saturday"};

// Reads a date and/or time as the en-US system reads date texts, for date literals
// (#1/2/2000#), CDate, DateValue, TimeValue and IsDate: "12/25/2026", "2026-12-25",
// "Dec 25 2026", "25 December 2026", "Friday, December 25, 2026", "12/25" (this year),
// "1:02:03 PM", "13:02", "1 PM", "2.5" (2:05 AM: a point separates the parts of a time), a
// date and a time in either order. Month and weekday names in any letter case, full or by
// their first three letters. Numbers read as month/day/year first; where that is no date, as
// year/month/day, then day/month/year; two numbers as month/day of this year, else day/month,
// else a month and a year. Two-digit years 0-29 mean 2000-2029, 30-99 mean 1930-1999. The
// result is a date serial: days since 30 December 1899, the time of day as the fraction; no
// value for text that is no date.
std::optional<double> parseDateText(std::string_view text);

} // namespace eval
