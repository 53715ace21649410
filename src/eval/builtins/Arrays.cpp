// Arrays inside an expression: made by Array, Split and Filter, read by indexing (elementOf,
// beside the operators), Join, Filter and the bound functions. Every one of them is
// one-dimensional and zero-based.
#include "Arrays.h"

#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/Conversions.h"
#include "eval/EvalBudget.h"
#include "eval/ScriptError.h"

#include <array>
#include <iterator>

namespace eval {
namespace {

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

constexpr std::array builtins{
    Builtin{"ARRAY", 0, 255, fnArray},
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

std::span<const Builtin> arrayBuiltins() { return builtins; }

} // namespace eval
