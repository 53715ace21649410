#include "Arguments.h"

#include "eval/Conversions.h"
#include "eval/EvalBudget.h"
#include "eval/ScriptError.h"

namespace eval {
namespace {

// The compare argument: vbBinaryCompare (0) or vbTextCompare (1), rounded as a whole number.
bool textCompare(const Value &v)
{
    const std::int32_t mode = toLong(required(v));
    if (mode != 0 && mode != 1)
        throw ScriptError(InvalidProcedureCall);
    return mode == 1;
}

} // namespace

const Value &required(const Value &v)
{
    if (v.isNull())
        throw ScriptError(InvalidUseOfNull);
    return v;
}

bool given(Args a, std::size_t i) { return i < a.size() && !a[i].isMissing(); }

std::string textOf(const Value &v) { return toText(required(v)); }

const std::string &textOf(const Value &v, std::string &scratch)
{
    if (v.isString())
        return v.asString();
    scratch = toText(required(v));
    return scratch;
}

std::int32_t count(const Value &v)
{
    const std::int32_t n = toLong(required(v));
    if (n < 0)
        throw ScriptError(InvalidProcedureCall);
    return n;
}

std::int32_t position(const Value &v)
{
    const std::int32_t n = toLong(required(v));
    if (n < 1)
        throw ScriptError(InvalidProcedureCall);
    return n;
}

bool textCompareArgument(Args a, std::size_t index) { return given(a, index) && textCompare(a[index]); }

void checkSize(EvalBudget &budget, std::size_t bytes)
{
    budget.tick();
    if (bytes > EvalBudget::MaxStringBytes || bytes + budget.held() > EvalBudget::MaxLiveBytes)
        budget.allowString(bytes); // fails
}

SearchArguments::SearchArguments(Args a, const char *function)
{
    std::size_t first = 0;
    if (a.size() >= 3) {
        for (std::size_t i = 0; i < 3; ++i)
            if (a[i].isMissing())
                throw ScriptError(ArgumentNotOptional, function);
        start = position(a[0]);
        first = 1;
    }
    ignoreCase = textCompareArgument(a, 3);
    null = a[first].isNull() || a[first + 1].isNull();
    if (!null) {
        haystack = toText(a[first]);
        needle = toText(a[first + 1]);
    }
}

} // namespace eval
