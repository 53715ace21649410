#include "Calculation.h"

#include "FormatResult.h"
#include "NumberText.h"
#include "NumericString.h"
#include "ObjectValues.h"
#include "ScriptControl.h"

#include <algorithm>

namespace eval {

std::string rewriteExpression(std::string_view expression)
{
    std::string text(expression);
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    std::size_t at = text.find("INT");
    if (at == std::string::npos)
        return text; // the usual case: nothing to replace
    std::string rewritten;
    rewritten.reserve(text.size() + 8);
    std::size_t from = 0;
    for (; at != std::string::npos; at = text.find("INT", from)) {
        rewritten.append(text, from, at - from);
        rewritten += "Fix";
        from = at + 3;
    }
    rewritten.append(text, from, std::string::npos);
    return rewritten;
}

Calculation calculateResultText(ScriptControl &engine, std::string_view expression, int decimalPlaces)
{
    Calculation calculation;
    engine.setLanguage("VBScript");
    // Most expressions are digits and operators only: nothing to rewrite, nothing to copy.
    const bool unchanged = std::none_of(expression.begin(), expression.end(),
                                        [](char c) { return c >= 'a' && c <= 'z'; }) &&
                           expression.find("INT") == std::string_view::npos;
    EvalResult evaluated = unchanged ? engine.Eval(expression) : engine.Eval(rewriteExpression(expression));
    if (!evaluated.ok) {
        calculation.error = std::move(evaluated.error);
        return calculation;
    }
    if (evaluated.value.isObject()) {
        // An object has its default value for a text (Err: its Number); Nothing has none.
        try {
            evaluated.value = defaultValue(evaluated.value);
        } catch (const ScriptError &error) {
            calculation.error = error;
            return calculation;
        }
    }
    const Value &value = evaluated.value;
    std::optional<std::string> numberText = NumberText(value);
    if (!numberText) {
        calculation.error = ScriptError(value.isArray() ? TypeMismatch : InvalidUseOfNull);
        return calculation;
    }
    // The number subtypes' texts always read as numbers; only the others need reading back.
    bool zero = false;
    switch (value.type()) {
    case VarType::Byte: zero = value.asByte() == 0; break;
    case VarType::Integer: zero = value.asInteger() == 0; break;
    case VarType::Long: zero = value.asLong() == 0; break;
    case VarType::Single: zero = value.asSingle() == 0.0f; break;
    case VarType::Double: zero = value.asDouble() == 0.0; break;
    case VarType::Currency: zero = value.asCurrency() == 0; break;
    default: {
        ParsedNumber number = parseNumericString(*numberText);
        if (number.status != ParsedNumber::Ok) {
            calculation.error = ScriptError(number.status == ParsedNumber::Overflow ? Overflow : TypeMismatch);
            return calculation;
        }
        zero = number.value == 0.0;
        // A string that reads as a number ("1,234", " 12", "&HFF") is formatted by its value.
        numberText = formatDouble(number.value);
    }
    }
    calculation.ok = true;
    if (zero) {
        calculation.resultText = "= 0";
        return calculation;
    }
    calculation.resultText = FormatResult(*numberText, decimalPlaces);
    return calculation;
}

} // namespace eval
