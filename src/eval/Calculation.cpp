#include "Calculation.h"

#include "Conversions.h"
#include "FormatResult.h"
#include "FunctionNames.h"
#include "NumberText.h"
#include "NumericString.h"
#include "ObjectValues.h"
#include "ScriptControl.h"
#include "TextCase.h"
#include "Utf16Text.h"

#include <cstdint>
#include <cstring>

namespace eval {

namespace {

// What one pass over an expression tells: whether upper-casing could change it (a letter a to
// z, or any byte beyond ASCII), and whether it is ASCII alone, so UTF-8 without checking more.
struct TextScan
{
    bool mayChangeCase = false;
    bool ascii = true;
    bool hasI = false; // an "I", so perhaps an "INT" to rewrite
};

// The text's bytes as few words: eight at a time, and the last bytes once more as one word (of
// the text's last eight, or of two overlapping pieces of a shorter text). A byte may be seen
// twice, which no question asked of them minds.
template <typename Word>
void forEachWord(std::string_view text, Word &&word)
{
    const char *const data = text.data();
    const std::size_t size = text.size();
    const auto load = [data](std::size_t at, std::size_t bytes) {
        std::uint64_t w = 0;
        std::memcpy(&w, data + at, bytes); // bytes is a constant at each use
        return w;
    };
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8)
        word(load(i, 8));
    if (i == size)
        return;
    if (size >= 8)
        word(load(size - 8, 8));
    else if (size >= 4)
        word(load(0, 4) | load(size - 4, 4) << 32);
    else if (size >= 2)
        word(load(0, 2) | load(size - 2, 2) << 16);
    else
        word(load(0, 1));
}

constexpr std::uint64_t ones = 0x0101010101010101u, highBits = 0x8080808080808080u;

// A byte's high bit here says whether it is from 'a' to 'z' (0x61 to 0x7A), where every byte of
// `word` is below 0x80: then these sums carry into no neighbour. The other bits say nothing.
constexpr std::uint64_t lowerCaseBits(std::uint64_t word)
{
    return (word + ones * (0x80 - 'a')) & ~(word + ones * (0x80 - 'z' - 1));
}

TextScan scanText(std::string_view text)
{
    // Each word adds its bytes' high bits to these; which say something only while every byte
    // is below 0x80, as then the sums carry into no neighbour.
    std::uint64_t beyondAscii = 0, lowerCase = 0, upperI = 0;
    forEachWord(text, [&](std::uint64_t word) {
        beyondAscii |= word;
        lowerCase |= lowerCaseBits(word);
        // 'I' is the byte that the xor makes zero, the one that adding 0x7F leaves below 0x80.
        upperI |= ~((word ^ (ones * 'I')) + ones * 0x7F);
    });
    if ((beyondAscii & highBits) != 0)
        return {true, false, true};
    return {(lowerCase & highBits) != 0, true, (upperI & highBits) != 0};
}

// A text as a reason shows it: at most 40 bytes of it, then "...", never inside a character.
std::string shortened(std::string text)
{
    constexpr std::size_t shownBytes = 40;
    if (text.size() <= shownBytes + 3)
        return text;
    std::size_t cut = shownBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut) + "...";
}

// The value a user sees named in a reason: its kind and, for a text or a date, the text
// itself (a long one cut short).
std::string describeValue(const Value &value)
{
    switch (value.type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return std::string("the Boolean ") + (value.asBoolean() ? "True" : "False");
    case VarType::Date: return "the date " + toText(value);
    case VarType::Array: return "an array";
    case VarType::Object: return "an object";
    case VarType::String: return "the text " + shortened(value.asString());
    default: return toText(value);
    }
}

// Where the engine's byte range in the text it evaluated lies in the text the caller gave:
// upper-casing and "Fix" for "INT" keep every UTF-16 unit where it stood, so units map one to
// one once the leading spaces are counted back in.
void placeError(Calculation &calculation, std::string_view given, std::string_view expression,
                std::string_view evaluated, std::size_t where, std::size_t length)
{
    if (where == std::string_view::npos || where > evaluated.size())
        return;
    const std::int64_t leading = unitsBefore(given, std::size_t(expression.data() - given.data()));
    const std::int64_t start = unitsBefore(evaluated, where);
    const std::int64_t end = unitsBefore(evaluated, std::min(evaluated.size(), where + length));
    calculation.errorPosition = int(leading + start);
    calculation.errorLength = int(end - start);
}

} // namespace

std::string undefinedNamesText(const std::vector<std::string> &names)
{
    if (names.empty())
        return {};
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += shortened(names[i]);
    }
    return text + (names.size() == 1 ? " is not a name the language knows; it counted as 0"
                                     : " are not names the language knows; they counted as 0");
}

std::string explainCalculation(const Calculation &c)
{
    std::string reason;
    if (!c.ok) {
        const std::string number = std::to_string(c.error.number);
        if (!c.notAFunction.empty()) {
            reason = shortened(c.notAFunction) + " is not a function";
            reason += c.nearestName.empty() ? " of the language" : "; did you mean " + c.nearestName + "?";
            reason += std::string(" (") + errorDescription(c.error.number) + ", error " + number + ")";
        } else if (!c.valueText.empty()) {
            reason = c.error.description + ": the value is " + c.valueText + " (error " + number + ")";
        } else {
            reason = c.error.description;
            if (c.syntaxError && c.errorPosition >= 0)
                reason += " at character " + std::to_string(c.errorPosition + 1);
            // A cancelled calculation has no number of the language to show.
            if (c.error.number >= 0)
                reason += " (error " + number + ")";
        }
    } else if (!c.valueText.empty()) {
        reason = c.valueText + ", read as a number";
    }
    const std::string names = undefinedNamesText(c.undefinedNames);
    if (!names.empty())
        reason += (reason.empty() ? "" : ". ") + names;
    return reason;
}

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

// rewriteExpression for ASCII text, where every character stays one byte: into `out`, which
// has room for the text's length, without building a string.
void rewriteAscii(std::string_view text, char *out)
{
    const std::size_t size = text.size();
    // Eight letters at a time, as in scanText; the last eight bytes again, as upper-casing them
    // twice changes nothing more.
    const auto upperEight = [&](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        word ^= (lowerCaseBits(word) & highBits) >> 2; // 0x80 >> 2 is the case bit
        std::memcpy(out + at, &word, sizeof word);
    };
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8)
        upperEight(i);
    if (i < size && size >= 8) {
        upperEight(size - 8);
    } else {
        for (; i < size; ++i) {
            const char c = text[i];
            out[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        }
    }
    const std::string_view upper(out, size);
    for (std::size_t at = upper.find("INT"); at != std::string_view::npos; at = upper.find("INT", at + 3))
        std::memcpy(out + at, "Fix", 3);
}

// Inlined into each of its two roads, so that the setting of valueTexts is known in each.
[[gnu::always_inline]] inline Calculation calculate(ScriptControl &engine, std::string_view text, int decimalPlaces, bool valueTexts)
{
    Calculation calculation;
    const std::string_view expression = trimSpaces(text);
    engine.setLanguage("VBScript");
    // Most expressions are digits and operators only: nothing to rewrite, nothing to copy.
    const TextScan scan = scanText(expression);
    const bool unchanged = !scan.mayChangeCase && (!scan.hasI || expression.find("INT") == std::string_view::npos);
    // A short ASCII text is rewritten on the stack.
    char shortText[256];
    std::string rewritten;
    std::string_view evaluatedText = expression;
    if (!unchanged && scan.ascii && expression.size() <= sizeof shortText) {
        rewriteAscii(expression, shortText);
        evaluatedText = std::string_view(shortText, expression.size());
    } else if (!unchanged) {
        rewritten = rewriteExpression(expression);
        evaluatedText = rewritten;
    }
    // ASCII stays ASCII upper-cased: UTF-8 that the engine need not check again.
    EvalResult evaluated = scan.ascii ? engine.evalUtf8(evaluatedText) : engine.Eval(evaluatedText);
    if (!evaluated.undefinedNames.empty())
        calculation.undefinedNames = std::move(evaluated.undefinedNames);
    if (!evaluated.ok) {
        calculation.error = std::move(evaluated.error);
        calculation.syntaxError = evaluated.syntaxError;
        placeError(calculation, text, expression, evaluatedText, evaluated.where, evaluated.length);
        if (evaluated.notAFunction && calculation.errorPosition >= 0) {
            // The name as the user spelled it, upper-cased: "Print" reads as PRFIX to the engine.
            const std::size_t from = byteOffsetOfUnit(text, calculation.errorPosition);
            const std::size_t to = byteOffsetOfUnit(text, calculation.errorPosition + calculation.errorLength);
            calculation.notAFunction = upperCaseText(text.substr(from, to - from));
            calculation.nearestName = std::string(nearestFunctionName(calculation.notAFunction));
        }
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
    if (value.type() == VarType::Double) { // the usual result: formatted from its digits
        calculation.ok = true;
        const double number = value.asDouble();
        calculation.resultText = number == 0.0 ? "= 0" : FormatDoubleResult(number, decimalPlaces);
        return calculation;
    }
    // Whole numbers and Currency amounts likewise, from their digits rather than their text.
    std::int64_t whole = 0;
    int fractionDigits = 0;
    switch (value.type()) {
    case VarType::Byte: whole = value.asByte(); break;
    case VarType::Integer: whole = value.asInteger(); break;
    case VarType::Long: whole = value.asLong(); break;
    case VarType::Currency: whole = value.asCurrency(); fractionDigits = 4; break;
    default: fractionDigits = -1; break;
    }
    if (fractionDigits >= 0) {
        calculation.ok = true;
        // The magnitude as unsigned, so that the most negative amount does not overflow.
        const std::uint64_t magnitude = whole < 0 ? 0 - static_cast<std::uint64_t>(whole) : static_cast<std::uint64_t>(whole);
        calculation.resultText = whole == 0 ? "= 0" : FormatDecimalResult(whole < 0, magnitude, fractionDigits, decimalPlaces);
        return calculation;
    }
    std::optional<std::string> numberText = NumberText(value);
    if (!numberText) {
        calculation.error = ScriptError(value.isArray() ? TypeMismatch : InvalidUseOfNull);
        calculation.valueText = describeValue(value);
        return calculation;
    }
    // A Single's text always reads as a number; only the other subtypes need reading back.
    bool zero = false;
    switch (value.type()) {
    case VarType::Single: zero = value.asSingle() == 0.0f; break;
    default: {
        ParsedNumber number = parseNumericString(*numberText);
        if (number.status != ParsedNumber::Ok) {
            calculation.error = ScriptError(number.status == ParsedNumber::OutOfRange ? Overflow : TypeMismatch);
            calculation.valueText = describeValue(value);
            return calculation;
        }
        if (value.isString())
            calculation.valueText = describeValue(value);
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
