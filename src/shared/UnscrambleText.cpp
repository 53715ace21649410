#include "UnscrambleText.h"

#include "WebAddressData.h"

#include "Windows1252.h"

#include <string>

namespace shared {

namespace {

Unscrambled failure(const char *why) { return {std::nullopt, QString::fromLatin1(why)}; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

Unscrambled UnscrambleText(std::string_view digits, std::string_view key)
{
    std::string t;
    for (std::size_t i = 1; i < digits.size(); i += 2)
        t += digits[i];
    if (t.empty())
        return failure("the scrambled text is empty");
    std::string bytes;
    std::size_t p = 0; // zero-based here
    std::size_t k = 0;
    do {
        ++k;
        if (!isDigit(t[p]))
            return failure("a length is not a digit");
        const std::size_t length = std::size_t(t[p] - '0');
        if (p + 1 + length > t.size())
            return failure("a number runs past the end");
        long v = 0;
        for (std::size_t i = p + 1; i <= p + length; ++i) {
            if (!isDigit(t[i]))
                return failure("a number holds a character that is not a digit");
            v = v * 10 + (t[i] - '0');
        }
        if (v > 100)
            v -= 357;
        v -= 51;
        if (k + 11 > key.size())
            return failure("the key is too short");
        v ^= static_cast<unsigned char>(key[k + 6]);
        v ^= static_cast<unsigned char>(key[k + 10]);
        if (v < 0 || v > 255)
            return failure("a character code lies outside 0 to 255");
        bytes += static_cast<char>(v);
        p += length + 1;
    } while (p < t.size());
    return {fromWindows1252(bytes.data(), qsizetype(bytes.size())), QString()};
}

Unscrambled webAddress() { return UnscrambleText(ScrambledWebAddress, UnscrambleKey); }

} // namespace shared
