#include "TextSearch.h"

#include <cstdint>
#include <cstring>
#include <string.h> // memmem
#include <vector>

namespace eval {
namespace {

// Up to this length the library's simple search is bounded by this many steps per byte.
constexpr std::size_t ShortNeedle = 32;

// Knuth-Morris-Pratt over the text read backwards: the first match found is the last one.
std::size_t lastByPrefixTable(std::string_view text, std::string_view needle)
{
    const std::size_t m = needle.size();
    auto reversed = [&](std::size_t i) { return needle[m - 1 - i]; };
    std::vector<std::uint32_t> border(m, 0);
    for (std::size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && reversed(i) != reversed(k))
            k = border[k - 1];
        if (reversed(i) == reversed(k))
            ++k;
        border[i] = static_cast<std::uint32_t>(k);
    }
    std::size_t k = 0;
    for (std::size_t j = 0; j < text.size(); ++j) {
        const char c = text[text.size() - 1 - j];
        while (k > 0 && c != reversed(k))
            k = border[k - 1];
        if (c == reversed(k))
            ++k;
        if (k == m)
            return text.size() - 1 - j;
    }
    return std::string_view::npos;
}

} // namespace

std::size_t findFirst(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (from > haystack.size())
        return std::string_view::npos;
    if (needle.size() <= ShortNeedle)
        return haystack.find(needle, from);
    // glibc's memmem is the two-way search: linear time, constant space.
    const void *at = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return at == nullptr ? std::string_view::npos : static_cast<std::size_t>(static_cast<const char *>(at) - haystack.data());
}

std::size_t findLast(std::string_view haystack, std::string_view needle, std::size_t end)
{
    const std::string_view text = haystack.substr(0, end);
    if (needle.size() > text.size())
        return std::string_view::npos;
    if (needle.size() <= ShortNeedle)
        return text.rfind(needle);
    return lastByPrefixTable(text, needle);
}

} // namespace eval
