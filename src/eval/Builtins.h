#pragma once

#include "Value.h"

#include <span>
#include <string_view>

namespace eval {

class RandomGenerator;

struct CallContext
{
    RandomGenerator &random;
    // Bit i set: argument i was left out of the call, as in FormatNumber(x, , , True); it is
    // passed as Empty, and the functions with optional arguments take their default for it.
    std::uint32_t omitted = 0;
    bool isOmitted(std::size_t index) const { return index < 32 && (omitted >> index & 1u) != 0; }
};

using BuiltinFunction = Value (*)(CallContext &, std::span<Value>);

struct Builtin
{
    const char *name; // upper case
    std::uint8_t minArguments;
    std::uint8_t maxArguments;
    BuiltinFunction call;
};

// Each group of functions lives in a file of its own and hands its table to the lookup
// (BuiltinTable.cpp), in any order.
std::span<const Builtin> coreBuiltins(); // numbers, conversions, basic strings: Builtins.cpp
std::span<const Builtin> dateBuiltins();   // dates and times: DateFunctions.cpp
std::span<const Builtin> formatBuiltins(); // FormatNumber, FormatCurrency, FormatPercent: FormatFunctions.cpp

// The language's built-in function of that name (any letter case), or nullptr.
const Builtin *findBuiltin(std::string_view name);
// For error texts: the function's name. The calculator upper-cases what it evaluates, so the
// language reports the name as it stands there ("SQR").
std::string_view builtinDisplayName(const Builtin &builtin);

} // namespace eval
