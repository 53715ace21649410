// The conversions: CBool to CStr, CDate, and Hex and Oct, which write a number in base 16 or 8.
#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "Dates.h"
#include "eval/Conversions.h"
#include "eval/Operators.h"
#include "eval/ScriptError.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace eval {
namespace {

// --- Conversions -----------------------------------------------------------------------

Value fnCBool(CallContext &, Args a) { return Value::boolean(toBoolean(required(a[0]))); }
Value fnCByte(CallContext &, Args a) { return Value::byte(toByte(required(a[0]))); }
Value fnCCur(CallContext &, Args a) { return Value::currency(toCurrency(required(a[0]))); }
Value fnCDbl(CallContext &, Args a) { return doubleResult(toDouble(required(a[0]))); }
Value fnCInt(CallContext &, Args a) { return Value::integer(toInteger(required(a[0]))); }
Value fnCLng(CallContext &, Args a) { return Value::longValue(toLong(required(a[0]))); }
Value fnCSng(CallContext &, Args a) { return Value::single(toSingle(required(a[0]))); }
Value fnCStr(CallContext &, Args a) { return Value::string(toText(required(a[0]))); }

Value fnCDate(CallContext &, Args a) { return Value::date(toDateSerial(a[0])); }

// Hex and Oct write negative Integers in 16 bits (Hex(-1) is "FFFF"), all else in 32.
template <unsigned Radix>
Value radixText(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isNull())
        return Value::null();
    bool narrow = v.type() == VarType::Integer || v.type() == VarType::Boolean ||
                  v.type() == VarType::Byte || v.isEmpty();
    std::int32_t n = toLong(v);
    std::uint32_t bits = narrow ? static_cast<std::uint16_t>(n) : static_cast<std::uint32_t>(n);
    std::string text;
    do {
        text += "0123456789ABCDEF"[bits % Radix];
        bits /= Radix;
    } while (bits != 0);
    std::reverse(text.begin(), text.end());
    return Value::string(std::move(text));
}

constexpr std::array builtins{
    Builtin{"CBOOL", 1, 1, fnCBool},
    Builtin{"CBYTE", 1, 1, fnCByte},
    Builtin{"CCUR", 1, 1, fnCCur},
    Builtin{"CDATE", 1, 1, fnCDate},
    Builtin{"CDBL", 1, 1, fnCDbl},
    Builtin{"CINT", 1, 1, fnCInt},
    Builtin{"CLNG", 1, 1, fnCLng},
    Builtin{"CSNG", 1, 1, fnCSng},
    Builtin{"CSTR", 1, 1, fnCStr},
    Builtin{"HEX", 1, 1, radixText<16>},
    Builtin{"OCT", 1, 1, radixText<8>},
};

} // namespace

std::span<const Builtin> conversionBuiltins() { return builtins; }

} // namespace eval
