// Arrays inside an expression: made by Array, Split and Filter, read by indexing, Join,
// Filter and the bound functions. Every one of them is one-dimensional and zero-based.
#include "ArrayFunctions.h"

#include "Builtins.h"
#include "Conversions.h"
#include "EvalBudget.h"
#include "ScriptError.h"

#include <array>
#include <iterator>

namespace eval {
namespace {

using Args = std::span<Value>;

const Value &arrayArgument(const Value &v)
{
    if (!v.isArray())
        throw ScriptError(TypeMismatch); // Null and Empty too
    return v;
}

// The dimension argument of UBound and LBound: only 1 exists.
void checkDimension(Args a)
{
    if (a.size() < 2)
        return;
    if (a[1].isNull())
        throw ScriptError(InvalidUseOfNull);
    if (toLong(a[1]) != 1)
        throw ScriptError(SubscriptOutOfRange);
}

// Every element is a value to hold: one left out, as in Array(1, , 3), is not optional. The
// arguments are the call's own, dropped when it returns: the array takes them over, no copy.
Value fnArray(CallContext &, Args a)
{
    for (const Value &element : a)
        if (element.isMissing())
            throw ScriptError(ArgumentNotOptional, "ARRAY");
    return Value::array(std::vector<Value>(std::make_move_iterator(a.begin()), std::make_move_iterator(a.end())));
}

Value fnUBound(CallContext &, Args a)
{
    const Value &v = arrayArgument(a[0]);
    checkDimension(a);
    return Value::longValue(static_cast<std::int32_t>(v.asArray().size()) - 1);
}

Value fnLBound(CallContext &, Args a)
{
    arrayArgument(a[0]);
    checkDimension(a);
    return Value::longValue(0);
}

Value fnIsArray(CallContext &, Args a) { return Value::boolean(a[0].isArray()); }

constexpr std::array builtins{
    Builtin{"ARRAY", 0, 255, fnArray},
    Builtin{"ISARRAY", 1, 1, fnIsArray, true},
    Builtin{"LBOUND", 1, 2, fnLBound},
    Builtin{"UBOUND", 1, 2, fnUBound},
};

} // namespace

void ArrayBuilder::add(Value element)
{
    if (elements_.size() == MaxArrayElements)
        throw ScriptError(OutOfMemory);
    budget_.tick();
    // A vector that grows keeps up to as many spare slots as it fills.
    bytes_ += elementBytes(element) + sizeof(Value);
    budget_.allow(bytes_);
    elements_.push_back(std::move(element));
}

Value elementOf(Value array, std::span<const Value> subscripts)
{
    if (!array.isArray())
        throw ScriptError(TypeMismatch);
    if (subscripts.size() != 1)
        throw ScriptError(SubscriptOutOfRange);
    const Value &subscript = subscripts[0];
    if (subscript.isNull())
        throw ScriptError(TypeMismatch);
    const std::int32_t index = toLong(subscript);
    const std::vector<Value> &elements = array.asArray();
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        throw ScriptError(SubscriptOutOfRange);
    // The array is the caller's temporary: its element is taken, not copied.
    return std::move(array.mutableArray()[static_cast<std::size_t>(index)]);
}

std::span<const Builtin> arrayBuiltins() { return builtins; }

} // namespace eval
