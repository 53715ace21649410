#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The engine keeps text as UTF-8 while the language counts UTF-16 units: positions and lengths
// are converted here, by one pass over the text and never an index of it. A lone surrogate
// (half of a character beyond the basic plane, as Mid can cut one) travels as its own
// three-byte sequence.
namespace eval {

// The text's length in UTF-16 units.
std::int64_t utf16Length(std::string_view text);
// Where UTF-16 unit `unit` (zero-based) begins in the text: text.size() past the end; the end
// of a character beyond the basic plane when the unit is its second half.
std::size_t byteOffsetOfUnit(std::string_view text, std::int64_t unit);
// UTF-16 units in the text before a byte offset.
std::int64_t unitsBefore(std::string_view text, std::size_t byteOffset);

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF): what text from outside must be.
bool isUtf8(std::string_view text);
// The text with every malformed byte sequence replaced by U+FFFD, keeping the engine's own
// lone surrogates: text from outside can then hold no byte the engine gives a meaning of
// its own (the odd-byte marker below), and every function counts it alike.
std::string wellFormedText(std::string_view text);

// One character (or a lone surrogate, which travels as its own sequence) onto UTF-8 text.
void appendUtf8(std::string &out, char32_t code);

std::u16string toUtf16(std::string_view text);
std::string fromUtf16(std::u16string_view units);

// The byte functions see a string as its UTF-16LE bytes, of which there may be an odd number
// (ChrB(65) is one byte). UTF-8 cannot say that, so an odd last byte is kept after this
// marker, a byte that never occurs in UTF-8.
constexpr char OddByteMarker = '\xFF';
std::string utf16Bytes(std::string_view text);
std::string textFromUtf16Bytes(std::string_view bytes);

// Appends `more` as the language joins strings, unit to unit and byte to byte: a lone high
// surrogate at the end meets a lone low one at the start as one character, and an odd last
// byte pairs with the first byte that follows. Costs nothing beyond the append otherwise.
void appendText(std::string &out, std::string_view more);

// The lower-case form of one UTF-16 unit, as the language's text comparison sees letters:
// Latin, Greek, Cyrillic and the full-width Latin letters. Never changes a UTF-8 length.
char16_t lowerUnit(char16_t unit);
// The whole text folded so; every byte offset stays where it was.
std::string foldCase(std::string_view text);

} // namespace eval
