#include "ScriptControl.h"

#include "Parser.h"
#include "Utf16Text.h"

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
        environment.undefinedNames = &result.undefinedNames;
        // Text from outside that is not UTF-8 would be counted differently by different
        // functions (a 0xFF byte reads as the odd-byte marker); it is mended first.
        const bool mended = !isUtf8(expression);
        const std::string mendedText = mended ? wellFormedText(expression) : std::string();
        Parser::Outcome outcome = Parser::evaluate(mended ? std::string_view(mendedText) : expression, environment);
        if (outcome.kind == Parser::Outcome::SyntaxFailure) {
            random_ = before;
            locale_ = localeBefore;
            result.syntaxError = true;
            result.undefinedNames.clear(); // nothing ran, so nothing was read
        }
        result.ok = outcome.kind == Parser::Outcome::Ok;
        result.value = std::move(outcome.value);
        result.error = std::move(outcome.error);
        result.where = outcome.where;
        result.length = outcome.length;
        result.notAFunction = outcome.notAFunction;
    } catch (const std::bad_alloc &) {
        result.error = ScriptError(OutOfMemory);
    } catch (const std::length_error &) {
        result.error = ScriptError(OutOfMemory);
    }
    return result;
}

} // namespace eval
