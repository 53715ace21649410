#pragma once

namespace eval {

// The decimal-places setting: 0 to 9 fixed places, or automatic.
constexpr int DecimalPlacesAuto = 99;
constexpr int DecimalPlacesAtStart = 2;

} // namespace eval
