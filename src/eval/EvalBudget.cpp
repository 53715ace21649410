#include "EvalBudget.h"

#include "ScriptError.h"

namespace eval {

void EvalBudget::checkTime()
{
    const auto now = std::chrono::steady_clock::now();
    if (!started_) {
        started_ = true;
        deadline_ = now + timeout_;
    } else if (now > deadline_) {
        throw ScriptError(EvaluationTimedOut);
    }
    if (checkpoint_ != nullptr && *checkpoint_)
        (*checkpoint_)();
}

std::size_t elementBytes(const Value &element)
{
    // A text that is not empty sits in a heap block of its own, beside its characters.
    constexpr std::size_t textBlockBytes = 48;
    if (element.isString() && !element.asString().empty())
        return sizeof(Value) + textBlockBytes + element.asString().size();
    if (element.isArray())
        return sizeof(Value) + arrayBytes(element);
    return sizeof(Value);
}

std::size_t arrayBytes(const Value &array)
{
    std::size_t bytes = 0;
    for (const Value &element : array.asArray())
        bytes += elementBytes(element);
    return bytes;
}

void EvalBudget::throwOutOfMemory()
{
    throw ScriptError(OutOfMemory);
}

} // namespace eval
