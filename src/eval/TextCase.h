#pragma once

#include <string>
#include <string_view>

namespace eval {

// Letter case as the language's UCase and LCase change it: one UTF-16 unit at a time, by the
// simple one-to-one mappings, so the length never changes (ß stays ß, é becomes É, ς becomes
// Σ). Characters beyond the basic plane stay as they are. The tables are generated
// (CaseTable.cpp).
char16_t upperCaseUnit(char16_t unit);
char16_t lowerCaseUnit(char16_t unit);

// The same over UTF-8 text; bytes that are not UTF-8 pass through unchanged.
std::string upperCaseText(std::string_view text);
std::string lowerCaseText(std::string_view text);

} // namespace eval
