#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace shared {

struct Unscrambled
{
    std::optional<QString> text; // no value when the data does not follow the layout
    QString error;
};

// Turns the scrambled digit string back into text. The digits at even positions (one-based)
// form T; T is read as numbers, each a length digit followed by that many digits. For the k-th
// number v: 357 off when above 100, then 51 off, then exclusive or with the key's characters at
// positions k + 7 and k + 11; v is the code of the next character. Malformed data (a missing or
// non-digit length, a value outside 0-255, a key too short) fails with a reason; it never reads
// outside the strings.
Unscrambled UnscrambleText(std::string_view digits, std::string_view key);

// The project's web address, from the shipped data.
Unscrambled webAddress();

} // namespace shared
