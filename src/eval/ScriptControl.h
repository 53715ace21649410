#pragma once

#include "EvalBudget.h"
#include "RandomGenerator.h"
#include "ScriptError.h"
#include "Value.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include <utility>

namespace eval {

class DialogPort;

// The outcome of one evaluation: a value, or the error the language raises.
struct EvalResult
{
    bool ok = false;
    Value value;
    ScriptError error;
    bool syntaxError = false; // the text did not compile: nothing of it ran
    // Where the failure lies, in bytes of the text evaluated: the token a syntax error stopped
    // at, or the name called as a function that is none (`notAFunction`); npos otherwise.
    std::size_t where = std::string_view::npos;
    std::size_t length = 0;
    bool notAFunction = false;
    // Names read as variables never assigned, which are Empty: upper case, each once, in the
    // order met, at most 16; none when the text did not compile.
    std::vector<std::string> undefinedNames;
};

// The script engine behind the calculator: evaluates expressions of the VBScript expression
// language. One instance keeps its random sequence across evaluations, as the window's engine
// does for the life of the program; a fresh instance starts the sequence anew.
class ScriptControl
{
public:
    // Only "VBScript" (any letter case) is known; another language makes evaluation fail.
    void setLanguage(std::string_view language)
    {
        if (language != language_) // set before every calculation: usually the same
            changeLanguage(language);
    }
    const std::string &language() const { return language_; }

    EvalResult Eval(std::string_view expression);
    // The same for a text the caller knows to be UTF-8, which is not checked again.
    EvalResult evalUtf8(std::string_view expression);

    // Where MsgBox and InputBox reach the user; without one (the default) they are refused.
    // The port must outlive the engine or be replaced first.
    void setDialogPort(DialogPort *dialogs) { dialogs_ = dialogs; }

    // The locale id SetLocale last chose (en-US, 1033, at first). Only GetLocale reads it:
    // numbers and dates keep the en-US forms whatever it says.
    std::int32_t locale() const { return locale_; }
    // How long one evaluation may run before it fails with "Evaluation timed out".
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    std::chrono::milliseconds timeout() const { return timeout_; }

    // Run now and then during an evaluation (see EvalBudget::setCheckpoint); it may throw a
    // ScriptError to stop the evaluation with that error.
    void setCheckpoint(std::function<void()> checkpoint) { checkpoint_ = std::move(checkpoint); }

private:
    void changeLanguage(std::string_view language);
    EvalResult evaluate(std::string_view expression, bool knownUtf8);

    std::string language_ = "VBScript";
    bool isVBScript_ = true; // language_ names VBScript, in any letter case
    std::chrono::milliseconds timeout_ = EvalBudget::DefaultTimeout;
    RandomGenerator random_;
    DialogPort *dialogs_ = nullptr;
    std::function<void()> checkpoint_;
    std::int32_t locale_ = 1033;
};

} // namespace eval
