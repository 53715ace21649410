#include "ScriptControl.h"

#include "Parser.h"
#include "Utf16Text.h"

#include <new>
#include <stdexcept>

namespace eval {

void ScriptControl::changeLanguage(std::string_view language)
{
    language_ = std::string(language);
    // Told once here rather than on every Eval.
    isVBScript_ = language.size() == 8;
    for (std::size_t i = 0; isVBScript_ && i < language.size(); ++i)
        isVBScript_ = (language[i] | 0x20) == ("vbscript"[i] | 0x20);
}

// Both roads in one body, each a copy of its own: no call between them.
[[gnu::always_inline]] inline EvalResult ScriptControl::evaluate(std::string_view expression, bool knownUtf8)
{
    EvalResult result;
    if (!isVBScript_) {
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
        // (The mended text lives to the end of the statement: nothing of the outcome points into it.)
        Parser::Outcome outcome = knownUtf8 || isUtf8(expression)
                                      ? Parser::evaluate(expression, environment)
                                      : Parser::evaluate(wellFormedText(expression), environment);
        if (outcome.kind == Parser::Outcome::SyntaxFailure) {
            random_ = before;
            locale_ = localeBefore;
            result.syntaxError = true;
            result.undefinedNames.clear(); // nothing ran, so nothing was read
        }
        result.ok = outcome.kind == Parser::Outcome::Ok;
        result.value = std::move(outcome.value);
        if (!result.ok) // a success has no error to move
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

EvalResult ScriptControl::Eval(std::string_view expression)
{
    return evaluate(expression, false);
}

EvalResult ScriptControl::evalUtf8(std::string_view expression)
{
    return evaluate(expression, true);
}

} // namespace eval
