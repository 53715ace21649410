#include "TextCase.h"

#include "Utf16Text.h"

#include <cstdint>
#include <cstring>

namespace eval {
namespace {

constexpr std::uint64_t ones = 0x0101010101010101u, highBits = 0x8080808080808080u;

std::uint64_t loadWord(const char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

template <char16_t (*Map)(char16_t), char First, char Last>
std::string mapText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            // A run of ASCII at once, eight bytes at a time: long texts are mostly that, and
            // every expression with a lower-case name passes here.
            std::size_t end = i + 1;
            while (end + 8 <= size && (loadWord(text.data() + end) & highBits) == 0)
                end += 8;
            while (end < size && static_cast<unsigned char>(text[end]) < 0x80)
                ++end;
            const std::size_t at = out.size();
            out.append(text, i, end - i);
            char *const chars = out.data();
            std::size_t k = at;
            const std::size_t n = out.size();
            for (; k + 8 <= n; k += 8) {
                // Every byte is below 0x80, so these sums carry into no neighbour: a byte's
                // high bit says whether it is at least First, and whether it is beyond Last.
                const std::uint64_t word = loadWord(chars + k);
                const std::uint64_t fromFirst = word + ones * static_cast<std::uint8_t>(0x80 - First);
                const std::uint64_t pastLast = word + ones * static_cast<std::uint8_t>(0x80 - Last - 1);
                const std::uint64_t mapped = word ^ ((fromFirst & ~pastLast & highBits) >> 2); // 0x80 >> 2 is the case bit
                std::memcpy(chars + k, &mapped, sizeof mapped);
            }
            for (; k < n; ++k) {
                const auto a = static_cast<unsigned char>(chars[k]);
                chars[k] = static_cast<char>(
                    a ^ (static_cast<unsigned char>(a - First) <= Last - First ? 0x20 : 0));
            }
            i = end;
            continue;
        }
        // Two- and three-byte sequences hold the basic plane; anything else is copied as is.
        std::size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : 0;
        char16_t unit = 0;
        if (length != 0 && i + length <= size) {
            unit = static_cast<char16_t>(c & (length == 2 ? 0x1F : 0x0F));
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if (!isContinuation(next)) {
                    length = 0;
                    break;
                }
                unit = static_cast<char16_t>((unit << 6) | (next & 0x3F));
            }
            // Overlong forms and lone surrogates are not characters: leave them alone.
            if (length == 3 && (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)))
                length = 0;
        } else {
            length = 0;
        }
        if (length == 0) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        appendUtf8(out, Map(unit));
        i += length;
    }
    return out;
}

} // namespace

std::string upperCaseText(std::string_view text)
{
    return mapText<upperCaseUnit, 'a', 'z'>(text);
}
std::string lowerCaseText(std::string_view text)
{
    return mapText<lowerCaseUnit, 'A', 'Z'>(text);
}

} // namespace eval
