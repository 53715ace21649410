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
    return static_cast<double>(scaled) / static_cast<double>(Value::CurrencyScale);
}

std::int64_t currencyFromDouble(double value)
{
    double scaled = roundHalfEven(value * static_cast<double>(Value::CurrencyScale));
    // 2^63 is the first double beyond the 64-bit range.
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        throw ScriptError(Overflow);
    return static_cast<std::int64_t>(scaled);
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
        if (parsed.status == ParsedNumber::Overflow)
            throw ScriptError(Overflow);
        if (parsed.status != ParsedNumber::Ok)
            throw ScriptError(TypeMismatch);
        return parsed.value;
    }
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
    default: return currencyFromDouble(toDouble(value));
    }
}

bool toBoolean(const Value &value)
{
    switch (value.type()) {
    case VarType::Null: throw ScriptError(InvalidUseOfNull);
    case VarType::Boolean: return value.asBoolean();
    case VarType::String: {
        const std::string &s = value.asString();
        auto equalsIgnoringCase = [&s](const char *word) {
            std::size_t i = 0;
            for (; word[i] != '\0'; ++i)
                if (i >= s.size() || (s[i] | 0x20) != word[i])
                    return false;
            return i == s.size();
        };
        if (equalsIgnoringCase("true"))
            return true;
        if (equalsIgnoringCase("false"))
            return false;
        return toDouble(value) != 0.0;
    }
    case VarType::Currency: return value.asCurrency() != 0;
    default: return toDouble(value) != 0.0;
    }
}

std::string toText(const Value &value)
{
    if (value.isNull())
        throw ScriptError(InvalidUseOfNull);
    if (value.isArray())
        throw ScriptError(TypeMismatch);
    return *NumberText(value);
}

} // namespace eval
