#pragma once

#include <array>

namespace app {

// One key of the keypad: its caption, and the text it puts at the caret. The operators and
// parentheses go in with a space on either side, so that the expression reads as typed.
struct KeypadKey
{
    const char *caption;
    const char *inserted;
};

// The keys of CommandNum, by index, left to right.
inline constexpr std::array<KeypadKey, 18> KeypadKeys{{
    {"0", "0"},   {"1", "1"},   {"2", "2"},   {"3", "3"},   {"4", "4"},   {"5", "5"},
    {"6", "6"},   {"7", "7"},   {"8", "8"},   {"9", "9"},   {".", "."},   {"+", " + "},
    {"-", " - "}, {"*", " * "}, {"/", " / "}, {"^", " ^ "}, {"(", " ( "}, {")", " ) "},
}};

// The index of the minus key, whose caption is set larger so that its short stroke reads.
inline constexpr int MinusKey = 12;

} // namespace app
