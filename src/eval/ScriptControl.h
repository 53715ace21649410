#pragma once

#include "EvalBudget.h"
#include "RandomGenerator.h"
#include "ScriptError.h"
#include "Value.h"

#include <chrono>
#include <string>
#include <string_view>

namespace eval {

// The outcome of one evaluation: a value, or the error the language raises.
struct EvalResult
{
    bool ok = false;
    Value value;
    ScriptError error;
};

// The script engine behind the calculator: evaluates expressions of the VBScript expression
// language. One instance keeps its random sequence across evaluations, as the window's engine
// does for the life of the program; a fresh instance starts the sequence anew.
class ScriptControl
{
public:
    // Only "VBScript" (any letter case) is known; another language makes evaluation fail.
    void setLanguage(std::string_view language);
    const std::string &language() const { return language_; }

    EvalResult Eval(std::string_view expression);

    // How long one evaluation may run before it fails with "Evaluation timed out".
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    std::chrono::milliseconds timeout() const { return timeout_; }

    // Makes the instance ready for its first evaluation.
    void prepare() { ready_ = true; }
    bool isReady() const { return ready_; }

private:
    std::string language_ = "VBScript";
    bool ready_ = false;
    std::chrono::milliseconds timeout_ = EvalBudget::DefaultTimeout;
    RandomGenerator random_;
};

} // namespace eval
