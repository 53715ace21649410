#pragma once

#include "Value.h"

#include <optional>
#include <string_view>

namespace eval {

// The language's named constant of that name (any letter case), with its subtype: vbRed is the
// Long 255, vbTrue the Integer -1, vbCrLf a String. Nothing for any other name.
std::optional<Value> findConstant(std::string_view name);

} // namespace eval
