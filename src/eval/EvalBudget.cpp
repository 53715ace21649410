#include "EvalBudget.h"

#include "ScriptError.h"

namespace eval {

void EvalBudget::checkTime()
{
    const auto now = std::chrono::steady_clock::now();
    if (!started_) {
        started_ = true;
        deadline_ = now + timeout_;
        return;
    }
    if (now > deadline_)
        throw ScriptError(EvaluationTimedOut);
}

void EvalBudget::throwOutOfMemory()
{
    throw ScriptError(OutOfMemory);
}

} // namespace eval
