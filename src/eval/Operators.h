#pragma once

#include "Value.h"

// The language's operators on variant values, with its subtype rules: Integer results widen
// to Long and Long results to Double where + - * overflow; "/" and "^" give Double; "\" and Mod
// round their operands to whole numbers; Null propagates; Empty is 0 or "".
// Each throws ScriptError where the language fails.
namespace eval {

enum class BinaryOp : std::uint8_t {
    Power, Multiply, Divide, IntDivide, Modulo, Add, Subtract, Concatenate,
    Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
    And, Or, Xor, Eqv, Imp,
};

// `left` is consumed, so that long chains of concatenation grow one string in place.
Value applyBinary(BinaryOp op, Value &&left, const Value &right);
Value negate(const Value &operand);
Value logicalNot(const Value &operand);

} // namespace eval
