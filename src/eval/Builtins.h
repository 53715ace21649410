#pragma once

#include "Value.h"

#include <span>
#include <string>
#include <vector>
#include <string_view>

namespace eval {

class DialogPort;
class EvalBudget;
class RandomGenerator;

// What a built-in function may reach besides its arguments: the engine's state and ports.
struct CallContext
{
    RandomGenerator &random;
    EvalBudget &budget; // time and string room of this evaluation: see EvalBudget.h
    DialogPort *dialogs = nullptr;  // none: MsgBox and InputBox are refused
    std::int32_t *locale = nullptr; // the engine's locale id, for GetLocale and SetLocale
    int depth = 0;                  // nesting of the calling expression, which Eval continues
    // Names read as undefined variables (Empty), upper case, each once; none kept when null.
    std::vector<std::string> *undefinedNames = nullptr;
};

using BuiltinFunction = Value (*)(CallContext &, std::span<Value>);

struct Builtin
{
    const char *name; // upper case
    std::uint8_t minArguments;
    std::uint8_t maxArguments;
    BuiltinFunction call;
    // Whether the function sees objects (Nothing, Err) as they are; the others get an object's
    // default value, and Nothing, which has none, fails before the call.
    bool takesObjects = false;
};

// The language's built-in function of that name (any letter case), or nullptr. The functions
// live in the wing src/eval/builtins/, a file per group, registered by its BuiltinTable.cpp.
const Builtin *findBuiltin(std::string_view name);
// Every built-in function of every group, sorted by name: what tests walk to reach them all.
std::span<const Builtin> allBuiltins();
// For error texts: the function's name. The calculator upper-cases what it evaluates, so the
// language reports the name as it stands there ("SQR").
std::string_view builtinDisplayName(const Builtin &builtin);

} // namespace eval
