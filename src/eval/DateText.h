#pragma once

#include <optional>
#include <string_view>

namespace eval {

// Reads the text of a date literal (#1/2/2000#, #2000-01-02 3:04 PM#, #15:30#) as a date serial:
// days since 30 December 1899, the time of day as the fraction. No value for text that is no
// date. Two-digit years 0-29 mean 2000-2029, 30-99 mean 1930-1999.
std::optional<double> parseDateText(std::string_view text);

} // namespace eval
