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

// Each group of functions lives in a file of its own and hands its table to the lookup
// (BuiltinTable.cpp), in any order.
std::span<const Builtin> coreBuiltins(); // numbers, conversions, basic strings: Builtins.cpp
std::span<const Builtin> dateBuiltins();   // dates and times: DateFunctions.cpp
std::span<const Builtin> formatBuiltins(); // FormatNumber, FormatCurrency, FormatPercent: FormatFunctions.cpp
std::span<const Builtin> otherBuiltins(); // objects, Eval, dialogs, engine and locale: OtherFunctions.cpp
std::span<const Builtin> stringBuiltins(); // searching, splitting, bytes, escapes: StringFunctions.cpp
std::span<const Builtin> arrayBuiltins(); // Array, bounds, IsArray: ArrayFunctions.cpp

// The language's built-in function of that name (any letter case), or nullptr.
const Builtin *findBuiltin(std::string_view name);
// Every built-in function of every group, sorted by name: what tests walk to reach them all.
std::span<const Builtin> allBuiltins();
// For error texts: the function's name. The calculator upper-cases what it evaluates, so the
// language reports the name as it stands there ("SQR").
std::string_view builtinDisplayName(const Builtin &builtin);

} // namespace eval
