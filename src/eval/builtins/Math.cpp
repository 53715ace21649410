// The numeric functions: Abs, Sgn, Fix, Int, Round, the square root, the logarithm and the
// exponential, the trigonometric functions and Rnd.
#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/Conversions.h"
#include "eval/NumberText.h"
#include "eval/Operators.h"
#include "eval/RandomGenerator.h"
#include "eval/ScriptError.h"

#include <array>
#include <cmath>
#include <limits>

namespace eval {
namespace {

double number(const Value &v) { return toDouble(v); }

// --- Numeric functions ---------------------------------------------------------------

Value fnAbs(CallContext &, Args a)
{
    const Value &v = a[0];
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: {
        std::int64_t n = v.type() == VarType::Long ? v.asLong() : toLong(v);
        n = n < 0 ? -n : n;
        if (v.type() == VarType::Byte)
            return Value::byte(static_cast<std::uint8_t>(n));
        if (v.type() != VarType::Long && n <= 32767)
            return Value::integer(static_cast<std::int16_t>(n));
        if (n <= std::numeric_limits<std::int32_t>::max())
            return Value::longValue(static_cast<std::int32_t>(n));
        return Value::doubleValue(static_cast<double>(n));
    }
    case VarType::Single: return Value::single(std::fabs(v.asSingle()));
    case VarType::Currency:
        if (v.asCurrency() == std::numeric_limits<std::int64_t>::min())
            throw ScriptError(Overflow);
        return Value::currency(v.asCurrency() < 0 ? -v.asCurrency() : v.asCurrency());
    default: return Value::doubleValue(std::fabs(number(v)));
    }
}

// q units of 1/10,000 * unit as a Currency amount; rounding up at the edge of the range
// overflows rather than wrap around to the other sign.
std::int64_t scaledCurrency(std::int64_t q, std::int64_t unit)
{
    std::int64_t scaled = 0;
    if (__builtin_mul_overflow(q, unit, &scaled))
        throw ScriptError(Overflow);
    return scaled;
}

// Fix and Int keep the subtype of whole numbers, Single, Double and Currency.
template <double (*Round)(double)>
Value wholePart(CallContext &, Args a)
{
    const Value &v = a[0];
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean: return Value::integer(v.asBoolean() ? -1 : 0);
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return v;
    case VarType::Single: return Value::single(static_cast<float>(Round(static_cast<double>(v.asSingle()))));
    case VarType::Currency: {
        std::int64_t cy = v.asCurrency(), q = cy / Value::CurrencyScale;
        if (Round(-0.5) == -1.0 && cy < 0 && cy % Value::CurrencyScale != 0)
            --q; // Int rounds down
        return Value::currency(scaledCurrency(q, Value::CurrencyScale));
    }
    case VarType::Date: return Value::date(Round(v.asDouble()));
    default: return Value::doubleValue(Round(number(v)));
    }
}

double truncate(double d) { return std::trunc(d); }
double floorOf(double d) { return std::floor(d); }

Value fnSgn(CallContext &, Args a)
{
    double d = a[0].type() == VarType::Currency ? static_cast<double>(a[0].asCurrency()) : number(a[0]);
    return Value::integer(static_cast<std::int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

Value fnAtn(CallContext &, Args a) { return Value::doubleValue(std::atan(number(a[0]))); }
Value fnCos(CallContext &, Args a) { return doubleResult(std::cos(number(a[0]))); }
Value fnSin(CallContext &, Args a) { return doubleResult(std::sin(number(a[0]))); }
Value fnTan(CallContext &, Args a) { return doubleResult(std::tan(number(a[0]))); }
Value fnExp(CallContext &, Args a) { return doubleResult(std::exp(number(a[0]))); }

Value fnLog(CallContext &, Args a)
{
    double d = number(a[0]);
    if (!(d > 0.0))
        throw ScriptError(InvalidProcedureCall);
    return Value::doubleValue(std::log(d));
}

Value fnSqr(CallContext &, Args a)
{
    double d = number(a[0]);
    if (d < 0.0)
        throw ScriptError(InvalidProcedureCall);
    return Value::doubleValue(std::sqrt(d));
}

Value fnRnd(CallContext &context, Args a)
{
    if (a.empty())
        return Value::single(context.random.next());
    return Value::single(context.random.next(toSingle(a[0])));
}

// Round halves to even, at the given number of decimals (0 when omitted).
Value fnRound(CallContext &, Args a)
{
    const Value &v = a[0];
    std::int32_t places = a.size() > 1 ? toLong(a[1]) : 0;
    if (places < 0)
        throw ScriptError(InvalidProcedureCall);
    auto roundTo = [places](double d) {
        if (places == 0)
            return roundHalfEven(d);
        if (places > 22)
            return d; // beyond the digits a double holds
        double scale = std::pow(10.0, places);
        double scaled = d * scale;
        if (!std::isfinite(scaled))
            return d;
        return roundHalfEven(scaled) / scale;
    };
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean: // a Boolean is whole already and stays one
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return v;
    case VarType::Single: return Value::single(static_cast<float>(roundTo(static_cast<double>(v.asSingle()))));
    case VarType::Currency: {
        if (places >= 4)
            return v;
        std::int64_t unit = 1;
        for (int i = places; i < 4; ++i)
            unit *= 10;
        std::int64_t cy = v.asCurrency(), q = cy / unit, r = cy % unit;
        std::int64_t twice = 2 * (r < 0 ? -r : r);
        if (twice > unit || (twice == unit && q % 2 != 0))
            q += r < 0 ? -1 : 1;
        return Value::currency(scaledCurrency(q, unit));
    }
    default: return Value::doubleValue(roundTo(number(v)));
    }
}

constexpr std::array builtins{
    Builtin{"ABS", 1, 1, fnAbs},
    Builtin{"ATN", 1, 1, fnAtn},
    Builtin{"COS", 1, 1, fnCos},
    Builtin{"EXP", 1, 1, fnExp},
    Builtin{"FIX", 1, 1, wholePart<truncate>},
    Builtin{"INT", 1, 1, wholePart<floorOf>},
    Builtin{"LOG", 1, 1, fnLog},
    Builtin{"RND", 0, 1, fnRnd},
    Builtin{"ROUND", 1, 2, fnRound},
    Builtin{"SGN", 1, 1, fnSgn},
    Builtin{"SIN", 1, 1, fnSin},
    Builtin{"SQR", 1, 1, fnSqr},
    Builtin{"TAN", 1, 1, fnTan},
};

} // namespace

std::span<const Builtin> mathBuiltins() { return builtins; }

} // namespace eval
