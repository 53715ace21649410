#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace eval {

// The variant subtypes an expression can produce, numbered as the language's VarType does.
enum class VarType : std::uint8_t {
    Empty = 0,
    Null = 1,
    Integer = 2, // 16-bit signed
    Long = 3,    // 32-bit signed
    Single = 4,
    Double = 5,
    Currency = 6, // 64-bit integer in units of 1/10,000
    Date = 7,     // days since 30 December 1899, time as the fraction
    String = 8,
    Boolean = 11,
    Byte = 17,
};

// One variant value. Small and cheap to copy for every subtype but String.
class Value
{
public:
    static constexpr std::int64_t CurrencyScale = 10000;

    Value() = default; // Empty

    static Value null() { return Value(VarType::Null); }
    static Value boolean(bool b) { Value v(VarType::Boolean); v.b_ = b; return v; }
    static Value byte(std::uint8_t u) { Value v(VarType::Byte); v.u1_ = u; return v; }
    static Value integer(std::int16_t i) { Value v(VarType::Integer); v.i2_ = i; return v; }
    static Value longValue(std::int32_t i) { Value v(VarType::Long); v.i4_ = i; return v; }
    static Value single(float f) { Value v(VarType::Single); v.r4_ = f; return v; }
    static Value doubleValue(double d) { Value v(VarType::Double); v.r8_ = d; return v; }
    // `scaled` is the amount times CurrencyScale.
    static Value currency(std::int64_t scaled) { Value v(VarType::Currency); v.cy_ = scaled; return v; }
    static Value date(double serial) { Value v(VarType::Date); v.r8_ = serial; return v; }
    static Value string(std::string s) { Value v(VarType::String); v.str_ = std::move(s); return v; }

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isString() const { return type_ == VarType::String; }

    bool asBoolean() const { return b_; }
    std::uint8_t asByte() const { return u1_; }
    std::int16_t asInteger() const { return i2_; }
    std::int32_t asLong() const { return i4_; }
    float asSingle() const { return r4_; }
    double asDouble() const { return r8_; } // Double and Date
    std::int64_t asCurrency() const { return cy_; }
    const std::string &asString() const { return str_; }
    std::string &mutableString() { return str_; }

private:
    explicit Value(VarType t) : type_(t) {}

    VarType type_ = VarType::Empty;
    union {
        bool b_;
        std::uint8_t u1_;
        std::int16_t i2_;
        std::int32_t i4_;
        float r4_;
        double r8_;
        std::int64_t cy_ = 0;
    };
    std::string str_;
};

// The language's name of a subtype ("Double"), as its TypeName function gives it.
const char *typeName(VarType type);

} // namespace eval
