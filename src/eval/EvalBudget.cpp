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

std::size_t arrayBytes(const Value &array)
{
    // Each element is a variant, and a text that is not empty sits in a heap block of its own.
    constexpr std::size_t textBlockBytes = 48;
    std::size_t bytes = 0;
    for (const Value &element : array.asArray()) {
        bytes += sizeof(Value);
        if (element.isString() && !element.asString().empty())
            bytes += textBlockBytes + element.asString().size();
        else if (element.isArray())
            bytes += arrayBytes(element);
    }
    return bytes;
}

void EvalBudget::throwOutOfMemory()
{
    throw ScriptError(OutOfMemory);
}

} // namespace eval
