#include "Utf16Text.h"

#include <cstring>

namespace eval {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// One character from position i (advanced past it). A malformed byte reads as itself, so no
// input can stop the decoding.
char32_t decode(std::string_view s, std::size_t &i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    const int extra = lead >= 0xF0 && lead <= 0xF4   ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : 0;
    if (extra == 0 || s.size() - i <= static_cast<std::size_t>(extra)) {
        ++i;
        return lead;
    }
    char32_t code = lead & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if (!isContinuation(c)) {
            ++i;
            return lead;
        }
        code = (code << 6) | (c & 0x3Fu);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return code;
}

// The length of the well-formed sequence at position i, or 0. Lone surrogates (ED A0..BF xx)
// count as well-formed when `surrogates` is set.
std::size_t sequenceLength(std::string_view s, std::size_t i, bool surrogates)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80)
        return 1;
    const std::size_t rest = s.size() - i;
    if (lead >= 0xC2 && lead <= 0xDF)
        return rest >= 2 && isContinuation(at(i + 1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (rest < 3 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)))
            return 0;
        const unsigned char second = at(i + 1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0 && !surrogates))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (rest < 4 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)) || !isContinuation(at(i + 3)))
            return 0;
        const unsigned char second = at(i + 1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

bool wellFormed(std::string_view text, bool surrogates)
{
    for (std::size_t i = 0; i < text.size();) {
        // Every expression passes here: ASCII eight bytes at a time.
        if (std::uint64_t word; i + 8 <= text.size()) {
            std::memcpy(&word, text.data() + i, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = sequenceLength(text, i, surrogates);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

int unitsOfLead(unsigned char c) { return isContinuation(c) ? 0 : c >= 0xF0 ? 2 : 1; }

} // namespace

bool isUtf8(std::string_view text)
{
    // Each expression is checked here, and nearly all are ASCII: whole words, then the last
    // eight bytes as one word again rather than byte by byte. Anything else is read in full
    // from the first word that is not ASCII, where a character starts.
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    const std::size_t size = text.size();
    if (size < 8) {
        // A short text as one word of two overlapping pieces (a byte read twice changes nothing).
        const auto load = [&text](std::size_t at, std::size_t bytes) {
            std::uint64_t piece = 0;
            std::memcpy(&piece, text.data() + at, bytes); // bytes is a constant at each use
            return piece;
        };
        const std::uint64_t all = size >= 4   ? load(0, 4) | load(size - 4, 4) << 32
                                  : size >= 2 ? load(0, 2) | load(size - 2, 2) << 16
                                  : size == 1 ? load(0, 1)
                                              : 0;
        return (all & highBits) == 0 || wellFormed(text, false);
    }
    std::uint64_t word;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & highBits) != 0)
            return wellFormed(text.substr(i), false);
    }
    std::memcpy(&word, text.data() + size - 8, sizeof word);
    return (word & highBits) == 0 || wellFormed(text.substr(i), false);
}

std::string wellFormedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceLength(text, i, true);
        if (n > 0) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        // One replacement for the lead byte and the continuation bytes that follow it.
        out += "\xEF\xBF\xBD";
        ++i;
        while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i])))
            ++i;
    }
    return out;
}

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}


std::int64_t utf16Length(std::string_view text)
{
    // An odd last byte is no whole unit.
    if (text.size() >= 2 && text[text.size() - 2] == OddByteMarker)
        text.remove_suffix(2);
    std::int64_t n = 0;
    for (char c : text)
        n += unitsOfLead(static_cast<unsigned char>(c));
    return n;
}

std::size_t byteOffsetOfUnit(std::string_view text, std::int64_t unit)
{
    std::int64_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int units = unitsOfLead(static_cast<unsigned char>(text[i]));
        if (units == 0)
            continue;
        if (seen == unit)
            return i;
        seen += units;
        if (seen > unit) { // the unit is the second half of this character
            std::size_t end = i + 1;
            while (end < text.size() && isContinuation(static_cast<unsigned char>(text[end])))
                ++end;
            return end;
        }
    }
    return text.size();
}

std::int64_t unitsBefore(std::string_view text, std::size_t byteOffset)
{
    return utf16Length(text.substr(0, byteOffset));
}

std::u16string toUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t code = decode(text, i);
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string fromUtf16(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

std::string utf16Bytes(std::string_view text)
{
    std::string_view whole = text;
    const bool odd = text.size() >= 2 && text[text.size() - 2] == OddByteMarker;
    if (odd)
        whole = text.substr(0, text.size() - 2);
    const std::u16string units = toUtf16(whole);
    std::string bytes;
    bytes.reserve(units.size() * 2 + 1);
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    if (odd)
        bytes += text.back();
    return bytes;
}

std::string textFromUtf16Bytes(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    std::string text = fromUtf16(units);
    if (bytes.size() % 2 != 0) {
        text += OddByteMarker;
        text += bytes.back();
    }
    return text;
}

void appendText(std::string &out, std::string_view more)
{
    const std::size_t n = out.size();
    if (n >= 2 && out[n - 2] == OddByteMarker && !more.empty()) {
        const char odd = out[n - 1];
        out.resize(n - 2);
        out += textFromUtf16Bytes(odd + utf16Bytes(more));
        return;
    }
    // Surrogates travel as ED A0..AF xx (high) and ED B0..BF xx (low).
    auto at = [](std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (n >= 3 && more.size() >= 3 && at(out, n - 3) == 0xED && (at(out, n - 2) & 0xF0) == 0xA0 &&
        at(more, 0) == 0xED && (at(more, 1) & 0xF0) == 0xB0) {
        const char16_t pair[2] = {
            static_cast<char16_t>(0xD000 | ((at(out, n - 2) & 0x3F) << 6) | (at(out, n - 1) & 0x3F)),
            static_cast<char16_t>(0xD000 | ((at(more, 1) & 0x3F) << 6) | (at(more, 2) & 0x3F))};
        out.resize(n - 3);
        out += fromUtf16(std::u16string_view(pair, 2));
        out.append(more.substr(3));
        return;
    }
    out.append(more);
}

char16_t lowerUnit(char16_t u)
{
    if (u < 0x80)
        return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u + 32) : u;
    if ((u >= 0xC0 && u <= 0xDE && u != 0xD7) || (u >= 0x391 && u <= 0x3AB && u != 0x3A2) ||
        (u >= 0x410 && u <= 0x42F) || (u >= 0xFF21 && u <= 0xFF3A))
        return static_cast<char16_t>(u + 32);
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<char16_t>(u + 80);
    if (u == 0x178)
        return 0xFF;
    // Latin Extended-A pairs capital and small letters side by side.
    if ((u >= 0x100 && u <= 0x137 && u % 2 == 0 && u != 0x130) || (u >= 0x14A && u <= 0x177 && u % 2 == 0) ||
        (u >= 0x139 && u <= 0x148 && u % 2 == 1) || (u >= 0x179 && u <= 0x17E && u % 2 == 1))
        return static_cast<char16_t>(u + 1);
    return u;
}

std::string foldCase(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const auto lead = static_cast<unsigned char>(out[i]);
        if (lead < 0x80) {
            if (lead >= 'A' && lead <= 'Z')
                out[i] = static_cast<char>(lead + 32);
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t code = decode(out, i);
        if (code >= 0x10000 || i - start < 2)
            continue;
        const char16_t lower = lowerUnit(static_cast<char16_t>(code));
        if (lower != code) {
            std::string encoded;
            appendUtf8(encoded, lower);
            if (encoded.size() == i - start) // always so for the letters above
                out.replace(start, encoded.size(), encoded);
        }
    }
    return out;
}

} // namespace eval
