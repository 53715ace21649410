#pragma once

#include "Value.h"

#include <span>
#include <string_view>

namespace eval {

class EvalBudget;
class RandomGenerator;

struct CallContext
{
    RandomGenerator &random;
    EvalBudget &budget; // time and string room of this evaluation: see EvalBudget.h
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

// The language's built-in function of that name (any letter case), or nullptr.
const Builtin *findBuiltin(std::string_view name);
// For error texts: the function's name. The calculator upper-cases what it evaluates, so the
// language reports the name as it stands there ("SQR").
std::string_view builtinDisplayName(const Builtin &builtin);

} // namespace eval
