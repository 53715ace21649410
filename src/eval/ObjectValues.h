#pragma once

#include "Value.h"

#include <span>
#include <string_view>

namespace eval {

// The objects an expression can reach: Nothing and the Err object. Err describes the last
// runtime error; an expression stops at its first one, so whatever reads Err finds it cleared:
// Number 0 and empty texts.
inline constexpr std::int32_t ErrObjectHandle = 1;
inline Value errObject() { return Value::object(ErrObjectHandle); }

// The value an object stands for where an operator or a function needs a plain value: Err's
// default property, Number. Nothing has none: "Object variable not set". Other values pass.
Value defaultValue(const Value &value);

// The Is operator: whether both operands are the same object. Anything but objects on either
// side is an error ("Object required").
bool sameObject(const Value &left, const Value &right);

// object.member or object.member(arguments). `objectName` names the object in error texts.
Value callMember(const Value &object, std::string_view objectName, std::string_view member,
                 std::span<Value> arguments);

} // namespace eval
