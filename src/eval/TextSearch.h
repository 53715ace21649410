#pragma once

#include <cstddef>
#include <string_view>

// Substring search that stays linear in the length of the text whatever the text and the
// pattern are (a naive search takes the product of the two lengths on "aaa...ab").
namespace eval {

// Byte offset of the first occurrence of `needle` starting at or after `from`; npos if none.
std::size_t findFirst(std::string_view haystack, std::string_view needle, std::size_t from);
// Byte offset of the last occurrence of `needle` that ends at or before `end`; npos if none.
std::size_t findLast(std::string_view haystack, std::string_view needle, std::size_t end);

} // namespace eval
