#include "Calculation.h"

#include "Conversions.h"
#include "FormatResult.h"
#include "NumberText.h"
#include "NumericString.h"
#include "ObjectValues.h"
#include "ScriptControl.h"
#include "TextCase.h"

#include <cstdint>
#include <cstring>

namespace eval {

namespace {

// Whether upper-casing could change the text: a letter a to z, or any byte beyond ASCII.
// Eight bytes at a time, as this runs over every expression calculated.
bool mayChangeCase(std::string_view text)
{
    constexpr std::uint64_t ones = 0x0101010101010101u, highBits = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & highBits) != 0)
            return true;
        // Every byte is below 0x80 here, so these sums carry into no neighbour: a byte's high
        // bit says whether it is at least 'a' (0x61), and whether it is beyond 'z' (0x7A).
        const std::uint64_t fromA = word + ones * (0x80 - 'a');
        const std::uint64_t pastZ = word + ones * (0x80 - 'z' - 1);
        if ((fromA & ~pastZ & highBits) != 0)
            return true;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z') || (c & 0x80) != 0)
            return true;
    }
    return false;
}

} // namespace

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string rewriteExpression(std::string_view expression)
{
    std::string text = upperCaseText(expression);
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

namespace {

Calculation calculate(ScriptControl &engine, std::string_view text, int decimalPlaces, bool valueTexts)
{
    Calculation calculation;
    const std::string_view expression = trimSpaces(text);
    engine.setLanguage("VBScript");
    // Most expressions are digits and operators only: nothing to rewrite, nothing to copy.
    const bool unchanged = !mayChangeCase(expression) && expression.find("INT") == std::string_view::npos;
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
    if (valueTexts && (value.type() == VarType::String || value.type() == VarType::Date ||
                       value.type() == VarType::Boolean)) {
        calculation.ok = true;
        calculation.isText = true;
        calculation.resultText = "= " + toText(value);
        return calculation;
    }
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
            calculation.error = ScriptError(number.status == ParsedNumber::OutOfRange ? Overflow : TypeMismatch);
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

} // namespace

Calculation calculateResultText(ScriptControl &engine, std::string_view text, int decimalPlaces)
{
    return calculate(engine, text, decimalPlaces, false);
}

Calculation calculateValueText(ScriptControl &engine, std::string_view text, int decimalPlaces)
{
    return calculate(engine, text, decimalPlaces, true);
}

} // namespace eval
