#include "Conversions.h"

#include "NumberText.h"
#include "NumericString.h"
#include "ScriptError.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace eval {

double roundHalfEven(double value)
{
    // nearbyint rounds in the current rounding mode; nothing here changes it from to-nearest-even.
    return std::nearbyint(value);
}

bool isNumeric(VarType type)
{
    switch (type) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
        return true;
    default:
        return false;
    }
}

double currencyToDouble(std::int64_t scaled)
{
    // The whole part is exact in a double (below 2^53); only the four decimals round, once.
    const std::int64_t whole = scaled / Value::CurrencyScale, fraction = scaled % Value::CurrencyScale;
    return static_cast<double>(whole) +
           static_cast<double>(fraction) / static_cast<double>(Value::CurrencyScale);
}

std::int64_t currencyFromDouble(double value)
{
    // As the language's own conversion on its x87 floating point: the product with 10,000 in
    // extended precision (a 64-bit mantissa, so 123456789012345 stays exact rather than become
    // ...012345.0112 as in a double), then rounded half to even to a whole number of 1/10,000.
    const long double scaled = std::nearbyint(static_cast<long double>(value) * 10000.0L);
    if (!(scaled >= -9223372036854775808.0L && scaled < 9223372036854775808.0L))
        throw ScriptError(Overflow);
    return static_cast<std::int64_t>(scaled);
}

std::optional<bool> booleanWord(std::string_view text)
{
    auto equalsIgnoringCase = [text](std::string_view word) {
        if (text.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
            if (c != word[i])
                return false;
        }
        return true;
    };
    // The literal forms "#TRUE#" and "#FALSE#" are read as written, upper case.
    if (equalsIgnoringCase("true") || text == "#TRUE#")
        return true;
    if (equalsIgnoringCase("false") || text == "#FALSE#")
        return false;
    return std::nullopt;
}

double toDouble(const Value &value)
{
    switch (value.type()) {
    case VarType::Empty: return 0.0;
    case VarType::Null: throw ScriptError(InvalidUseOfNull);
    case VarType::Boolean: return value.asBoolean() ? -1.0 : 0.0;
    case VarType::Byte: return value.asByte();
    case VarType::Integer: return value.asInteger();
    case VarType::Long: return value.asLong();
    case VarType::Single: return static_cast<double>(value.asSingle());
    case VarType::Double:
    case VarType::Date: return value.asDouble();
    case VarType::Currency: return currencyToDouble(value.asCurrency());
    case VarType::String: {
        ParsedNumber parsed = parseNumericString(value.asString());
        if (parsed.status == ParsedNumber::OutOfRange)
            throw ScriptError(Overflow);
        if (parsed.status != ParsedNumber::Ok)
            throw ScriptError(TypeMismatch);
        return parsed.value;
    }
    case VarType::Object: break; // the parser takes an object's default value before this
    case VarType::Error: break;  // an argument left out, where the function needs one
    case VarType::Array: break;
    }
    throw ScriptError(TypeMismatch);
}

float toSingle(const Value &value)
{
    if (value.type() == VarType::Single)
        return value.asSingle();
    double d = toDouble(value);
    if (std::fabs(d) > static_cast<double>(FLT_MAX))
        throw ScriptError(Overflow);
    return static_cast<float>(d);
}

namespace {

std::int64_t wholeNumber(const Value &value)
{
    switch (value.type()) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return value.asBoolean() ? -1 : 0;
    case VarType::Byte: return value.asByte();
    case VarType::Integer: return value.asInteger();
    case VarType::Long: return value.asLong();
    case VarType::Currency: {
        std::int64_t cy = value.asCurrency();
        std::int64_t q = cy / Value::CurrencyScale, r = cy % Value::CurrencyScale;
        std::int64_t twice = 2 * (r < 0 ? -r : r);
        if (twice > Value::CurrencyScale || (twice == Value::CurrencyScale && q % 2 != 0))
            q += r < 0 ? -1 : 1;
        return q;
    }
    default: {
        double r = roundHalfEven(toDouble(value));
        if (!(r >= -9.0e18 && r <= 9.0e18))
            throw ScriptError(Overflow);
        return static_cast<std::int64_t>(r);
    }
    }
}

} // namespace

std::int32_t toLong(const Value &value)
{
    std::int64_t n = wholeNumber(value);
    if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
        throw ScriptError(Overflow);
    return static_cast<std::int32_t>(n);
}

std::int16_t toInteger(const Value &value)
{
    std::int64_t n = wholeNumber(value);
    if (n < std::numeric_limits<std::int16_t>::min() || n > std::numeric_limits<std::int16_t>::max())
        throw ScriptError(Overflow);
    return static_cast<std::int16_t>(n);
}

std::uint8_t toByte(const Value &value)
{
    if (value.type() == VarType::Boolean)
        return value.asBoolean() ? 255 : 0; // True is all bits set, as a byte 255
    std::int64_t n = wholeNumber(value);
    if (n < 0 || n > 255)
        throw ScriptError(Overflow);
    return static_cast<std::uint8_t>(n);
}

std::int64_t toCurrency(const Value &value)
{
    switch (value.type()) {
    case VarType::Currency: return value.asCurrency();
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return wholeNumber(value) * Value::CurrencyScale;
    case VarType::Null: throw ScriptError(InvalidUseOfNull);
    case VarType::String: {
        const ParsedCurrency parsed = parseCurrencyString(value.asString());
        if (parsed.status == ParsedNumber::OutOfRange)
            throw ScriptError(Overflow);
        if (parsed.status != ParsedNumber::Ok)
            throw ScriptError(TypeMismatch);
        return parsed.scaled;
    }
    default: return currencyFromDouble(toDouble(value));
    }
}

bool toBoolean(const Value &value)
{
    switch (value.type()) {
    case VarType::Null: throw ScriptError(InvalidUseOfNull);
    case VarType::Boolean: return value.asBoolean();
    case VarType::String:
        if (std::optional<bool> word = booleanWord(value.asString()))
            return *word;
        return toDouble(value) != 0.0;
    case VarType::Currency: return value.asCurrency() != 0;
    default: return toDouble(value) != 0.0;
    }
}

std::string toText(const Value &value)
{
    if (value.isNull())
        throw ScriptError(InvalidUseOfNull);
    // The language writes its floating-point numbers its own way; the result box does not.
    if (value.type() == VarType::Double)
        return languageDoubleText(value.asDouble());
    if (value.type() == VarType::Single)
        return languageSingleText(value.asSingle());
    // An array, and anything else without a text (an argument left out), is no string.
    std::optional<std::string> text = NumberText(value);
    if (!text)
        throw ScriptError(TypeMismatch);
    return std::move(*text);
}

} // namespace eval
