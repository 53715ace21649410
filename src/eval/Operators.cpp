#include "Operators.h"

#include "Conversions.h"
#include "NumericString.h"
#include "NumberText.h"
#include "ScriptError.h"
#include "Utf16Text.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace eval {
namespace {

using std::int64_t;
// The product of two Currency amounts needs 128 bits before it is scaled back.
__extension__ typedef __int128 Wide;

bool isIntegerLike(VarType t)
{
    return t == VarType::Empty || t == VarType::Boolean || t == VarType::Byte || t == VarType::Integer;
}

// Integer results are kept in the narrowest of Byte, Integer, Long that the operands' type
// allows and the value fits; beyond Long they become Double.
Value wholeResult(int64_t n, VarType floor)
{
    if (floor == VarType::Byte && n >= 0 && n <= 255)
        return Value::byte(static_cast<std::uint8_t>(n));
    if (floor != VarType::Long && n >= std::numeric_limits<std::int16_t>::min() &&
        n <= std::numeric_limits<std::int16_t>::max())
        return Value::integer(static_cast<std::int16_t>(n));
    if (n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max())
        return Value::longValue(static_cast<std::int32_t>(n));
    return Value::doubleValue(static_cast<double>(n));
}

} // namespace

Value doubleResult(double d)
{
    if (!std::isfinite(d))
        throw ScriptError(Overflow);
    return Value::doubleValue(d);
}

namespace {

// A single-precision result that does not fit widens to Double.
Value singleResult(double d)
{
    if (std::fabs(d) <= static_cast<double>(FLT_MAX))
        return Value::single(static_cast<float>(d));
    return doubleResult(d);
}

int64_t wholeOf(const Value &v)
{
    switch (v.type()) {
    case VarType::Boolean: return v.asBoolean() ? -1 : 0;
    case VarType::Byte: return v.asByte();
    case VarType::Integer: return v.asInteger();
    case VarType::Long: return v.asLong();
    default: return 0;
    }
}

// The subtype + - * compute in, from the two operand subtypes.
enum class Arith { Byte, Integer, Long, Single, Double, Currency, Date };

Arith arithmeticType(BinaryOp op, VarType a, VarType b)
{
    auto either = [&](VarType t) { return a == t || b == t; };
    if (op == BinaryOp::Multiply) {
        // A product leaves Currency for Double as soon as a Double, Date, string or Single
        // takes part (Currency * Double is a Double), and Single for Double beside a Long.
        if (either(VarType::Date) || either(VarType::Double) || either(VarType::String))
            return Arith::Double;
        if (either(VarType::Single))
            return either(VarType::Long) || either(VarType::Currency) ? Arith::Double : Arith::Single;
    }
    if (either(VarType::Date))
        return Arith::Date;
    if (either(VarType::Currency))
        return Arith::Currency;
    if (either(VarType::Double) || either(VarType::String))
        return Arith::Double;
    if (either(VarType::Single))
        return either(VarType::Long) ? Arith::Double : Arith::Single;
    if (either(VarType::Long))
        return Arith::Long;
    if (a == VarType::Byte && b == VarType::Byte)
        return Arith::Byte;
    return Arith::Integer;
}

int64_t checkedCurrency(Wide scaled)
{
    if (scaled < std::numeric_limits<int64_t>::min() || scaled > std::numeric_limits<int64_t>::max())
        throw ScriptError(Overflow);
    return static_cast<int64_t>(scaled);
}

Value currencyArithmetic(BinaryOp op, const Value &left, const Value &right)
{
    int64_t a = toCurrency(left), b = toCurrency(right);
    int64_t r = 0;
    switch (op) {
    case BinaryOp::Add:
        if (__builtin_add_overflow(a, b, &r))
            throw ScriptError(Overflow);
        return Value::currency(r);
    case BinaryOp::Subtract:
        if (__builtin_sub_overflow(a, b, &r))
            throw ScriptError(Overflow);
        return Value::currency(r);
    default: {
        // Product of two amounts in 1/10,000, back to 1/10,000, rounded half to even.
        Wide product = static_cast<Wide>(a) * b;
        Wide q = product / Value::CurrencyScale, rem = product % Value::CurrencyScale;
        Wide twice = 2 * (rem < 0 ? -rem : rem);
        if (twice > Value::CurrencyScale || (twice == Value::CurrencyScale && q % 2 != 0))
            q += rem < 0 ? -1 : 1;
        return Value::currency(checkedCurrency(q));
    }
    }
}

Value arithmetic(BinaryOp op, Value &&left, const Value &right)
{
    if (left.isNull() || right.isNull())
        return Value::null();
    if (op == BinaryOp::Add) {
        // "+" joins two strings, and a string with Empty stays the string.
        if (left.isString() && (right.isString() || right.isEmpty())) {
            appendText(left.mutableString(), right.asString());
            return std::move(left);
        }
        if (left.isEmpty() && right.isString())
            return right;
    }
    VarType lt = left.type(), rt = right.type();
    switch (arithmeticType(op, lt, rt)) {
    case Arith::Byte:
    case Arith::Integer:
    case Arith::Long: {
        int64_t a = wholeOf(left), b = wholeOf(right);
        int64_t r = op == BinaryOp::Add ? a + b : op == BinaryOp::Subtract ? a - b : a * b;
        VarType floor = (lt == VarType::Byte && rt == VarType::Byte) ? VarType::Byte
                        : (lt == VarType::Long || rt == VarType::Long) ? VarType::Long
                                                                       : VarType::Integer;
        return wholeResult(r, floor);
    }
    case Arith::Single: {
        double a = toDouble(left), b = toDouble(right);
        return singleResult(op == BinaryOp::Add ? a + b : op == BinaryOp::Subtract ? a - b : a * b);
    }
    case Arith::Currency: return currencyArithmetic(op, left, right);
    case Arith::Date: {
        double a = toDouble(left), b = toDouble(right);
        if (op == BinaryOp::Multiply)
            return doubleResult(a * b);
        if (op == BinaryOp::Subtract && lt == VarType::Date && rt == VarType::Date)
            return doubleResult(a - b); // the days between two dates
        double r = op == BinaryOp::Add ? a + b : a - b;
        if (!(r >= -657434.0 && r < 2958466.0)) // 1 Jan 100 to 31 Dec 9999
            throw ScriptError(Overflow);
        return Value::date(r);
    }
    case Arith::Double:
    default: {
        double a = toDouble(left), b = toDouble(right);
        return doubleResult(op == BinaryOp::Add ? a + b : op == BinaryOp::Subtract ? a - b : a * b);
    }
    }
}

Value divide(const Value &left, const Value &right)
{
    if (left.isNull() || right.isNull())
        return Value::null();
    double a = toDouble(left), b = toDouble(right);
    if (b == 0.0)
        throw ScriptError(a == 0.0 ? Overflow : DivisionByZero); // 0/0 has no value: Overflow
    VarType lt = left.type(), rt = right.type();
    bool singleOperands = (lt == VarType::Single || isIntegerLike(lt)) &&
                          (rt == VarType::Single || isIntegerLike(rt)) &&
                          (lt == VarType::Single || rt == VarType::Single);
    return singleOperands ? singleResult(a / b) : doubleResult(a / b);
}

// "\" and Mod: operands rounded to whole numbers, Byte and Integer kept, all else as Long.
VarType wholeOperandType(VarType t)
{
    if (t == VarType::Byte)
        return VarType::Byte;
    if (isIntegerLike(t))
        return VarType::Integer;
    return VarType::Long;
}

Value integerDivision(BinaryOp op, const Value &left, const Value &right)
{
    if (left.isNull() || right.isNull())
        return Value::null();
    int64_t a = toLong(left), b = toLong(right);
    if (b == 0)
        throw ScriptError(DivisionByZero);
    VarType lt = wholeOperandType(left.type()), rt = wholeOperandType(right.type());
    VarType floor = lt == VarType::Byte && rt == VarType::Byte ? VarType::Byte
                    : lt == VarType::Long || rt == VarType::Long ? VarType::Long
                                                                 : VarType::Integer;
    int64_t r = op == BinaryOp::IntDivide ? a / b : a % b; // both truncate toward zero
    return wholeResult(r, floor);
}

Value power(const Value &left, const Value &right)
{
    if (left.isNull() || right.isNull())
        return Value::null();
    double a = toDouble(left), b = toDouble(right);
    if (a == 0.0 && b < 0.0)
        throw ScriptError(DivisionByZero);
    if (a < 0.0 && b != std::trunc(b))
        throw ScriptError(InvalidProcedureCall);
    // A whole number to a small whole power (12 ^ 2, 5 ^ 3): while every product is a whole
    // number below 2^53 it is exact, and so is pow's result then (within one half of a unit in
    // the last place of a value that has a double of its own), at a fraction of pow's cost.
    constexpr double exactWholes = 9007199254740992.0; // 2^53
    // (Whole is told by a round trip through an integer: trunc may be a call.)
    if (b >= 1.0 && b <= 64.0 && static_cast<double>(static_cast<int>(b)) == b && std::fabs(a) < exactWholes &&
        static_cast<double>(static_cast<std::int64_t>(a)) == a) {
        double product = a;
        bool exact = true;
        for (int i = static_cast<int>(b); exact && i > 1; --i) {
            product *= a;
            exact = std::fabs(product) < exactWholes;
        }
        if (exact)
            return doubleResult(product);
    }
    return doubleResult(std::pow(a, b));
}

Value concatenate(Value &&left, const Value &right)
{
    if (left.isNull() && right.isNull())
        return Value::null();
    if (!left.isString())
        left = Value::string(left.isNull() ? std::string() : toText(left));
    if (!right.isNull()) {
        if (right.isString())
            appendText(left.mutableString(), right.asString());
        else
            appendText(left.mutableString(), toText(right));
    }
    return std::move(left);
}

int sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

int compareNumbers(const Value &left, const Value &right)
{
    const VarType lt = left.type(), rt = right.type();
    if (lt == VarType::Currency || rt == VarType::Currency) {
        // Exact in 1/10,000 where neither side needs a fraction finer than that.
        auto exact = [](VarType t) { return t == VarType::Currency || isIntegerLike(t) || t == VarType::Long; };
        if (exact(lt) && exact(rt)) {
            const int64_t a = toCurrency(left), b = toCurrency(right);
            return a < b ? -1 : a > b ? 1 : 0;
        }
    }
    const double a = toDouble(left), b = toDouble(right);
    if (lt == VarType::Single || rt == VarType::Single) {
        // Beside a Single, a Double, Date or Currency compares in single precision where it fits:
        // CSng(0.1) = 0.1 is True.
        const VarType other = lt == VarType::Single ? rt : lt;
        const double o = lt == VarType::Single ? b : a;
        if ((other == VarType::Double || other == VarType::Date || other == VarType::Currency) &&
            std::fabs(o) <= static_cast<double>(FLT_MAX)) {
            const float fa = static_cast<float>(a), fb = static_cast<float>(b);
            return fa < fb ? -1 : fa > fb ? 1 : 0;
        }
    }
    return a < b ? -1 : a > b ? 1 : 0;
}

// A string read as the number it is compared with; Type mismatch where it reads as none.
double stringAsNumber(const std::string &text)
{
    const ParsedNumber parsed = parseNumericString(text);
    if (parsed.status == ParsedNumber::OutOfRange)
        throw ScriptError(Overflow);
    if (parsed.status != ParsedNumber::Ok)
        throw ScriptError(TypeMismatch);
    return parsed.value;
}

// -1, 0 or 1. A string against a non-string depends on how each side was written: a number
// literal reads the string as a number; a string literal compares with the other side's text;
// two computed values put every number before every string. Empty is 0 beside a number and ""
// beside a string.
int compareValues(const Value &left, const Value &right, bool leftLiteral, bool rightLiteral)
{
    const bool ls = left.isString(), rs = right.isString();
    if (!ls && !rs)
        return compareNumbers(left, right);
    if (ls && rs)
        return sign(left.asString().compare(right.asString()));
    const Value &text = ls ? left : right;
    const Value &other = ls ? right : left;
    const bool textLiteral = ls ? leftLiteral : rightLiteral;
    const bool otherLiteral = ls ? rightLiteral : leftLiteral;
    int c = 1; // the string against the other side
    if (other.isEmpty()) {
        c = text.asString().empty() ? 0 : 1;
    } else if (otherLiteral) {
        const double a = stringAsNumber(text.asString()), b = toDouble(other);
        c = a < b ? -1 : a > b ? 1 : 0;
    } else if (textLiteral) {
        c = sign(text.asString().compare(toText(other)));
    }
    return ls ? c : -c;
}

Value comparison(BinaryOp op, const Value &left, const Value &right, bool leftLiteral, bool rightLiteral)
{
    if (left.isNull() || right.isNull())
        return Value::null();
    int c = compareValues(left, right, leftLiteral, rightLiteral);
    switch (op) {
    case BinaryOp::Equal: return Value::boolean(c == 0);
    case BinaryOp::NotEqual: return Value::boolean(c != 0);
    case BinaryOp::Less: return Value::boolean(c < 0);
    case BinaryOp::Greater: return Value::boolean(c > 0);
    case BinaryOp::LessEqual: return Value::boolean(c <= 0);
    default: return Value::boolean(c >= 0);
    }
}

// The subtype of a bitwise result: Boolean for two Booleans, Byte for two Bytes, Integer for
// Integer-sized operands, Long for anything else (rounded, with Overflow beyond Long). Empty
// counts as a Long here, unlike in arithmetic: Empty And Empty is a Long.
VarType logicalType(VarType a, VarType b)
{
    if (a == VarType::Boolean && b == VarType::Boolean)
        return VarType::Boolean;
    if (a == VarType::Byte && b == VarType::Byte)
        return VarType::Byte;
    auto narrow = [](VarType t) { return t == VarType::Boolean || t == VarType::Byte || t == VarType::Integer; };
    if (narrow(a) && narrow(b))
        return VarType::Integer;
    return VarType::Long;
}

Value logicalResult(int64_t bits, VarType type)
{
    switch (type) {
    case VarType::Boolean: return Value::boolean(bits != 0);
    case VarType::Byte: return Value::byte(static_cast<std::uint8_t>(bits & 0xFF));
    case VarType::Integer: return Value::integer(static_cast<std::int16_t>(bits));
    default: return Value::longValue(static_cast<std::int32_t>(bits));
    }
}

// An operand of a bitwise operator: its bits, and the subtype it counts as.
struct LogicalOperand
{
    int64_t bits;
    VarType type;
};

// Under Not a string is read as a number (Not "0" is the Long -1), or else as a Boolean word.
LogicalOperand notOperand(const Value &v)
{
    if (v.isString() && parseNumericString(v.asString()).status == ParsedNumber::NotNumeric) {
        if (std::optional<bool> word = booleanWord(v.asString()))
            return {*word ? -1 : 0, VarType::Boolean};
    }
    return isIntegerLike(v.type()) ? LogicalOperand{wholeOf(v), v.type()} : LogicalOperand{toLong(v), v.type()};
}

// Beside another operand a string is read as under Not, but ranks as a Boolean in the result's
// subtype: "1" And 255 is the Integer 1, "True" And "5" the Boolean True.
LogicalOperand logicalOperand(const Value &v)
{
    if (isIntegerLike(v.type()))
        return {wholeOf(v), v.type()};
    if (v.isString())
        return {notOperand(v).bits, VarType::Boolean};
    return {toLong(v), v.type()};
}

// An operand converted to the result's subtype before the bits meet: a Boolean is all or no
// bits ("1" And "2" is True), and a string too wide for an Integer result overflows.
int64_t fitTo(int64_t bits, VarType type)
{
    if (type == VarType::Boolean)
        return bits != 0 ? -1 : 0;
    if (type == VarType::Integer && (bits < -32768 || bits > 32767))
        throw ScriptError(Overflow);
    return bits;
}

int64_t logicalBits(BinaryOp op, int64_t a, int64_t b)
{
    switch (op) {
    case BinaryOp::And: return a & b;
    case BinaryOp::Or: return a | b;
    case BinaryOp::Xor: return a ^ b;
    case BinaryOp::Eqv: return ~(a ^ b);
    default: return ~a | b; // Imp
    }
}

// Null is "unknown": the result is known only where the other operand decides it alone.
Value logicalWithNull(BinaryOp op, const Value &left, const Value &right)
{
    bool leftNull = left.isNull();
    const Value &knownValue = leftNull ? right : left;
    if (knownValue.isNull())
        return Value::null();
    const LogicalOperand known = logicalOperand(knownValue);
    const VarType type = known.type == VarType::Boolean ? VarType::Boolean : logicalType(known.type, known.type);
    const int64_t k = fitTo(known.bits, type);
    switch (op) {
    case BinaryOp::And:
        return k == 0 ? logicalResult(0, type) : Value::null();
    case BinaryOp::Or:
        return k == -1 ? logicalResult(-1, type) : Value::null();
    case BinaryOp::Imp:
        if (leftNull) // Null Imp True is True
            return k == -1 ? logicalResult(-1, type) : Value::null();
        if (type == VarType::Byte) // a Byte keeps its width: the complement of its bits
            return logicalResult(~k, type);
        return k == 0 ? logicalResult(-1, type) : Value::null(); // False Imp Null is True
    default: return Value::null();
    }
}

Value logical(BinaryOp op, const Value &left, const Value &right)
{
    if (left.isNull() || right.isNull())
        return logicalWithNull(op, left, right);
    const LogicalOperand a = logicalOperand(left), b = logicalOperand(right);
    const VarType type = logicalType(a.type, b.type);
    return logicalResult(logicalBits(op, fitTo(a.bits, type), fitTo(b.bits, type)), type);
}

} // namespace

namespace {

// Integer, Long and Double: the subtypes of number literals and of nearly every result.
bool isPlainNumber(VarType t) { return t == VarType::Integer || t == VarType::Long || t == VarType::Double; }

double plainDouble(const Value &v)
{
    return v.type() == VarType::Double ? v.asDouble() : v.type() == VarType::Integer ? v.asInteger() : v.asLong();
}

} // namespace

Value applyBinary(BinaryOp op, Value &&left, const Value &right)
{
    // The calculator's everyday case, + - * / on the plain number subtypes, without the general
    // dispatch: what arithmetic and divide give for them. A Double on either side makes a
    // Double; whole numbers stay whole under + - * as the wider of the two allows.
    const VarType lt = left.type(), rt = right.type();
    if (isPlainNumber(lt) && isPlainNumber(rt)) {
        if (lt == VarType::Double || rt == VarType::Double) {
            const double a = plainDouble(left), b = plainDouble(right);
            switch (op) {
            case BinaryOp::Add: return doubleResult(a + b);
            case BinaryOp::Subtract: return doubleResult(a - b);
            case BinaryOp::Multiply: return doubleResult(a * b);
            case BinaryOp::Divide:
                if (b != 0.0)
                    return doubleResult(a / b);
                break;
            default: break;
            }
        } else {
            const int64_t a = wholeOf(left), b = wholeOf(right);
            const VarType floor = lt == VarType::Long || rt == VarType::Long ? VarType::Long : VarType::Integer;
            switch (op) {
            case BinaryOp::Add: return wholeResult(a + b, floor);
            case BinaryOp::Subtract: return wholeResult(a - b, floor);
            case BinaryOp::Multiply: return wholeResult(a * b, floor);
            case BinaryOp::Divide:
                if (b != 0)
                    return doubleResult(static_cast<double>(a) / static_cast<double>(b));
                break;
            default: break;
            }
        }
    }
    if (left.isArray() || right.isArray())
        throw ScriptError(TypeMismatch); // no operator takes a whole array
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply: return arithmetic(op, std::move(left), right);
    case BinaryOp::Divide: return divide(left, right);
    case BinaryOp::IntDivide:
    case BinaryOp::Modulo: return integerDivision(op, left, right);
    case BinaryOp::Power: return power(left, right);
    case BinaryOp::Concatenate: return concatenate(std::move(left), right);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::Greater:
    case BinaryOp::LessEqual:
    case BinaryOp::GreaterEqual: return comparison(op, left, right, false, false);
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor:
    case BinaryOp::Eqv:
    case BinaryOp::Imp: return logical(op, left, right);
    }
    throw ScriptError(SyntaxError);
}

Value negate(const Value &v)
{
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value::integer(0);
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer: return wholeResult(-wholeOf(v), VarType::Integer);
    case VarType::Long: return wholeResult(-wholeOf(v), VarType::Long);
    case VarType::Single: return Value::single(-v.asSingle());
    case VarType::Currency:
        if (v.asCurrency() == std::numeric_limits<int64_t>::min())
            throw ScriptError(Overflow);
        return Value::currency(-v.asCurrency());
    case VarType::Date: return Value::date(-v.asDouble());
    default: return Value::doubleValue(-toDouble(v));
    }
}

Value logicalNot(const Value &v)
{
    if (v.isNull())
        return Value::null();
    const LogicalOperand operand = notOperand(v);
    return logicalResult(~operand.bits, logicalType(operand.type, operand.type));
}

Value applyComparison(BinaryOp op, const Value &left, const Value &right, bool leftLiteral, bool rightLiteral)
{
    return comparison(op, left, right, leftLiteral, rightLiteral);
}

Value elementOf(Value array, std::span<const Value> subscripts)
{
    if (!array.isArray())
        throw ScriptError(TypeMismatch);
    if (subscripts.size() != 1)
        throw ScriptError(SubscriptOutOfRange);
    const Value &subscript = subscripts[0];
    if (subscript.isNull())
        throw ScriptError(TypeMismatch);
    const std::int32_t index = toLong(subscript);
    const std::vector<Value> &elements = array.asArray();
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        throw ScriptError(SubscriptOutOfRange);
    // The array is the caller's temporary: its element is taken, not copied.
    return std::move(array.mutableArray()[static_cast<std::size_t>(index)]);
}

} // namespace eval
