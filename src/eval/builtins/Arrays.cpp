// Arrays inside an expression: made by Array, Split and Filter, read by indexing (elementOf,
// beside the operators), Join, Filter and the bound functions. Every one of them is
// one-dimensional and zero-based.
#include "Arrays.h"

#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/Conversions.h"
#include "eval/ScriptError.h"

#include <array>

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

Value fnArray(CallContext &, Args a) { return Value::array(std::vector<Value>(a.begin(), a.end())); }

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

std::span<const Builtin> arrayBuiltins() { return builtins; }

} // namespace eval
