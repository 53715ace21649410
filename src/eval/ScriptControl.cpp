#include "ScriptControl.h"

#include "Parser.h"

#include <new>
#include <stdexcept>

namespace eval {

void ScriptControl::setLanguage(std::string_view language)
{
    if (language_ != language) // set before every calculation: usually the same
        language_ = std::string(language);
}

EvalResult ScriptControl::Eval(std::string_view expression)
{
    prepare();
    EvalResult result;
    auto sameLetters = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if ((a[i] | 0x20) != (b[i] | 0x20))
                return false;
        return true;
    };
    if (!sameLetters(language_, "VBScript")) {
        result.error = ScriptError(InvalidProcedureCall);
        return result;
    }
    // A text that does not compile runs nothing: the random sequence is as it was.
    const RandomGenerator before = random_;
    const std::int32_t localeBefore = locale_;
    try {
        EvalBudget budget(timeout_);
        budget.setCheckpoint(&checkpoint_);
        CallContext environment{random_, budget, dialogs_, &locale_};
        Parser::Outcome outcome = Parser::evaluate(expression, environment);
        if (outcome.kind == Parser::Outcome::SyntaxFailure) {
            random_ = before;
            locale_ = localeBefore;
        }
        result.ok = outcome.kind == Parser::Outcome::Ok;
        result.value = std::move(outcome.value);
        result.error = std::move(outcome.error);
    } catch (const std::bad_alloc &) {
        result.error = ScriptError(OutOfMemory);
    } catch (const std::length_error &) {
        result.error = ScriptError(OutOfMemory);
    }
    return result;
}

} // namespace eval
