#pragma once

// The rules by which every group of built-in functions reads its arguments, in one place.
#include "eval/Value.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace eval {

class EvalBudget;

// A built-in's arguments, as the parser hands them over (optional ones may be missing).
using Args = std::span<Value>;

// An argument that must have a value: Null is Invalid use of Null.
const Value &required(const Value &v);

// An optional argument given, not left out as in Replace(t, "a", "b", , 1).
bool given(Args a, std::size_t i);

// A text argument; Null is Invalid use of Null.
std::string textOf(const Value &v);
// The same without copying a string argument: `scratch` holds the text of any other value.
const std::string &textOf(const Value &v, std::string &scratch);

// A count or length argument: a whole number, not negative.
std::int32_t count(const Value &v);

// A start position, 1 or more.
std::int32_t position(const Value &v);

// The compare argument at `index`, when given: vbBinaryCompare (0, the default) or
// vbTextCompare (1), rounded as a whole number; true for a text comparison.
bool textCompareArgument(Args a, std::size_t index);

// A text these functions build may grow past its inputs (Replace, Join, Escape): each step asks
// the evaluation's budget, so that it fails as out of memory within the same bounds as every
// other string, and a long loop still reads the clock now and then.
void checkSize(EvalBudget &budget, std::size_t bytes);

// The arguments of InStr and InStrB: [start,] string1, string2 [, compare]. The start is
// optional only as long as it is left off entirely: with three or more arguments the first three
// are start, string1 and string2, and none of them may be left out (only compare may).
struct SearchArguments
{
    std::int32_t start = 1;
    bool ignoreCase = false;
    bool null = false; // string1 or string2 is Null: the answer is Null
    std::string haystack, needle;

    SearchArguments(Args a, const char *function);
};

} // namespace eval
