#pragma once

#include "Value.h"

#include <span>

// The language's operators on variant values, with its subtype rules: Integer results widen
// to Long and Long results to Double where + - * overflow; Currency stays exact in + - and in a
// product with whole numbers, and fails with Overflow beyond its range; "/" and "^" give Double;
// "\" and Mod round their operands to whole numbers; Null propagates; Empty is 0 or "".
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

// = <> < > <= >=
constexpr bool isComparison(BinaryOp op) { return op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual; }
// A comparison that knows which sides are literals of the text ("42", 42, #1/1/2000#; not
// -42, (1 + 1) or a function's result): a number or date literal reads a string as a number
// ("42" = 42 is True, "abc" = 5 fails with Type mismatch), a string literal compares with the
// other side's text ("5" = CInt(5) is True); two computed values put numbers before strings.
Value applyComparison(BinaryOp op, const Value &left, const Value &right, bool leftLiteral, bool rightLiteral);
Value logicalNot(const Value &operand);

// A Double result, as the operators and the numeric functions give it: Overflow when the value
// is infinite or not a number.
Value doubleResult(double d);

// array(i): the element at a subscript, as an expression indexes an array value. Type mismatch
// for a value that is no array; Subscript out of range for a subscript beyond its bounds or
// for any count of subscripts but one (every array an expression makes has one dimension).
Value elementOf(Value array, std::span<const Value> subscripts);

} // namespace eval
