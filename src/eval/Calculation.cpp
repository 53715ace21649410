#include "Calculation.h"

#include "DecimalPlaces.h"
#include "FormatResult.h"
#include "NumberText.h"
#include "NumericString.h"
#include "ScriptControl.h"

namespace eval {

std::string rewriteExpression(std::string_view expression)
{
    std::string text;
    text.reserve(expression.size() + 8);
    for (std::size_t i = 0; i < expression.size(); ++i) {
        char c = expression[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        text += c;
        // Replace as the text is built: after upper-casing, "INT" ends in the T just added.
        std::size_t n = text.size();
        if (c == 'T' && n >= 3 && text[n - 2] == 'N' && text[n - 3] == 'I') {
            text.resize(n - 3);
            text += "Fix";
        }
    }
    return text;
}

Calculation calculateResultText(ScriptControl &engine, std::string_view expression, int decimalPlaces)
{
    Calculation calculation;
    engine.setLanguage("VBScript");
    EvalResult evaluated = engine.Eval(rewriteExpression(expression));
    if (!evaluated.ok) {
        calculation.error = std::move(evaluated.error);
        return calculation;
    }
    const Value &value = evaluated.value;
    std::optional<std::string> numberText = NumberText(value);
    if (!numberText) {
        calculation.error = ScriptError(InvalidUseOfNull);
        return calculation;
    }
    ParsedNumber number = parseNumericString(*numberText);
    if (number.status != ParsedNumber::Ok) {
        calculation.error = ScriptError(number.status == ParsedNumber::Overflow ? Overflow : TypeMismatch);
        return calculation;
    }
    calculation.ok = true;
    if (number.value == 0.0) {
        calculation.resultText = "= 0";
        return calculation;
    }
    // A string that reads as a number ("1,234", " 12", "&HFF") is formatted by its value.
    if (value.isString())
        numberText = formatDouble(number.value);
    calculation.resultText = FormatResult(*numberText, decimalPlaces);
    return calculation;
}

} // namespace eval
