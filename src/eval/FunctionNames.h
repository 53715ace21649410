#pragma once

#include <span>
#include <string_view>

namespace eval {

// Every built-in function's name as the language's reference spells it ("DateAdd", "Sqr"),
// in alphabetical order.
std::span<const std::string_view> functionSpellings();

// For a name called as a function that is none: the function or operator a user most likely
// meant ("SQRT" gives "Sqr", "POW" gives "the ^ operator"), or empty text when nothing is
// close. Letter case does not count.
std::string_view nearestFunctionName(std::string_view name);

} // namespace eval
