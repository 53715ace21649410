#pragma once

#include "Operators.h"
#include "Value.h"

#include <string>
#include <vector>

namespace eval {

struct Builtin;

// A parsed expression in postfix order, run on a value stack. Parsing the whole text first
// means a syntax error anywhere wins over a runtime error, as in the language.
struct Instruction
{
    enum Kind : std::uint8_t { Push, Binary, Negate, Not, Call, CallUnknown };
    Kind kind;
    BinaryOp op;             // for Binary
    std::uint16_t arguments; // for Call and CallUnknown
    std::uint32_t index;     // constant for Push, name for CallUnknown
    const Builtin *builtin;  // for Call
};

struct Program
{
    std::vector<Instruction> code;
    std::vector<Value> constants;
    std::vector<std::string> names;

    void clear()
    {
        code.clear();
        constants.clear();
        names.clear();
    }
};

} // namespace eval
