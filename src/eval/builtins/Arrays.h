#pragma once

#include <cstddef>

namespace eval {

// Beyond this many elements an array fails as out of memory: each costs a variant and its text.
constexpr std::size_t MaxArrayElements = 2000000;

} // namespace eval
