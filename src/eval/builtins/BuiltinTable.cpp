// The register of every group of built-in functions: one sorted table of all, for a binary
// search by name.
#include "eval/Builtins.h"

#include "BuiltinGroups.h"

#include <algorithm>
#include <array>
#include <vector>

namespace eval {
namespace {

using Group = std::span<const Builtin> (*)();

constexpr std::array groups{
    stringBuiltins,
    encodingBuiltins,
    mathBuiltins,
    conversionBuiltins,
    dateBuiltins,
    formatBuiltins,
    arrayBuiltins,
    otherBuiltins,
};

std::vector<Builtin> mergedTable()
{
    std::vector<Builtin> all;
    for (Group group : groups) {
        const std::span<const Builtin> table = group();
        all.insert(all.end(), table.begin(), table.end());
    }
    std::sort(all.begin(), all.end(),
              [](const Builtin &a, const Builtin &b) { return std::string_view(a.name) < b.name; });
    return all;
}

char toUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

} // namespace

std::span<const Builtin> allBuiltins()
{
    static const std::vector<Builtin> table = mergedTable();
    return table;
}

const Builtin *findBuiltin(std::string_view name)
{
    const std::span<const Builtin> table = allBuiltins();
    char upper[32];
    if (name.size() >= sizeof upper)
        return nullptr;
    for (std::size_t i = 0; i < name.size(); ++i)
        upper[i] = toUpperAscii(name[i]);
    const std::string_view key(upper, name.size());
    auto it = std::lower_bound(table.begin(), table.end(), key,
                               [](const Builtin &b, std::string_view k) { return std::string_view(b.name) < k; });
    if (it == table.end() || std::string_view(it->name) != key)
        return nullptr;
    return &*it;
}

std::string_view builtinDisplayName(const Builtin &builtin) { return builtin.name; }

} // namespace eval
