#pragma once

#include "eval/Value.h"

#include <span>

namespace eval {

// Beyond this many elements an array fails as out of memory: each costs a variant and its text.
constexpr std::size_t MaxArrayElements = 2000000;

// array(i): the element at a subscript, as an expression indexes an array value. Type mismatch
// for a value that is no array; Subscript out of range for a subscript beyond its bounds or
// for any count of subscripts but one (every array an expression makes has one dimension).
Value elementOf(const Value &array, std::span<const Value> subscripts);

} // namespace eval
