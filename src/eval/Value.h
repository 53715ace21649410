#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace eval {

// The variant subtypes an expression can produce, numbered as the language's VarType does.
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2, // 16-bit signed
    Long = 3,    // 32-bit signed
    Single = 4,
    Double = 5,
    Currency = 6, // 64-bit integer in units of 1/10,000
    Date = 7,     // days since 30 December 1899, time as the fraction
    String = 8,
    Object = 9, // Nothing, or the one object an expression can reach: Err
    Error = 10, // only as an argument left out: f(1, , 3)
    Boolean = 11,
    Byte = 17,
    Array = 8192 + 12, // one-dimensional, zero-based, of variants: all an expression can make
};

// What a String or an Array keeps on the heap.
struct HeapPart
{
    virtual ~HeapPart() = default;
    virtual std::unique_ptr<HeapPart> clone() const = 0;
};

struct TextPart final : HeapPart
{
    std::string text;
    explicit TextPart(std::string t = {}) : text(std::move(t)) {}
    std::unique_ptr<HeapPart> clone() const override { return std::make_unique<TextPart>(text); }
};

// One variant value: 24 bytes, and cheap to move whatever it holds. A String's text and an
// Array's elements live on the heap, so the numbers that make up nearly every calculation never
// carry their weight: moving or dropping one costs what it did before arrays existed.
class Value
{
public:
    static constexpr std::int64_t CurrencyScale = 10000;

    Value() = default; // Empty
    Value(const Value &other) : type_(other.type_), bits_(other.bits_)
    {
        if (other.heap_)
            heap_ = other.heap_->clone();
    }
    Value(Value &&other) noexcept = default;
    Value &operator=(const Value &other)
    {
        if (this != &other)
            *this = Value(other);
        return *this;
    }
    Value &operator=(Value &&other) noexcept = default;
    ~Value() = default;

    static Value null() { return Value(VarType::Null); }
    static Value boolean(bool b) { Value v(VarType::Boolean); v.bits_.b = b; return v; }
    static Value byte(std::uint8_t u) { Value v(VarType::Byte); v.bits_.u1 = u; return v; }
    static Value integer(std::int16_t i) { Value v(VarType::Integer); v.bits_.i2 = i; return v; }
    static Value longValue(std::int32_t i) { Value v(VarType::Long); v.bits_.i4 = i; return v; }
    static Value single(float f) { Value v(VarType::Single); v.bits_.r4 = f; return v; }
    static Value doubleValue(double d) { Value v(VarType::Double); v.bits_.r8 = d; return v; }
    // `scaled` is the amount times CurrencyScale.
    static Value currency(std::int64_t scaled) { Value v(VarType::Currency); v.bits_.cy = scaled; return v; }
    static Value date(double serial) { Value v(VarType::Date); v.bits_.r8 = serial; return v; }
    // An object reference; `handle` 0 is Nothing.
    static Value object(std::int32_t handle) { Value v(VarType::Object); v.bits_.i4 = handle; return v; }
    static Value nothing() { return object(0); }
    static Value missing() { return Value(VarType::Error); }
    static Value string(std::string s)
    {
        Value v(VarType::String);
        if (!s.empty()) // "" needs no heap block: arrays of empty pieces stay small
            v.heap_ = std::make_unique<TextPart>(std::move(s));
        return v;
    }
    static Value array(std::vector<Value> elements);

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isString() const { return type_ == VarType::String; }
    bool isObject() const { return type_ == VarType::Object; }
    bool isNothing() const { return type_ == VarType::Object && bits_.i4 == 0; }
    bool isMissing() const { return type_ == VarType::Error; }
    bool isArray() const { return type_ == VarType::Array; }

    bool asBoolean() const { return bits_.b; }
    std::uint8_t asByte() const { return bits_.u1; }
    std::int16_t asInteger() const { return bits_.i2; }
    std::int32_t asLong() const { return bits_.i4; }
    float asSingle() const { return bits_.r4; }
    double asDouble() const { return bits_.r8; } // Double and Date
    std::int64_t asCurrency() const { return bits_.cy; }
    std::int32_t objectHandle() const { return bits_.i4; }
    const std::string &asString() const
    {
        return type_ == VarType::String && heap_ ? static_cast<const TextPart &>(*heap_).text : emptyString();
    }
    const std::vector<Value> &asArray() const; // only for an Array
    std::vector<Value> &mutableArray();        // only for an Array
    std::string &mutableString() // only for a String
    {
        if (!heap_)
            heap_ = std::make_unique<TextPart>();
        return static_cast<TextPart &>(*heap_).text;
    }

private:
    explicit Value(VarType t) : type_(t) {}
    static const std::string &emptyString();

    VarType type_ = VarType::Empty;
    union Bits {
        bool b;
        std::uint8_t u1;
        std::int16_t i2;
        std::int32_t i4;
        float r4;
        double r8;
        std::int64_t cy = 0;
    } bits_; // copied whole, whichever member is in use
    std::unique_ptr<HeapPart> heap_; // a String's TextPart, an Array's ElementsPart
};

static_assert(sizeof(Value) == 24);

struct ElementsPart final : HeapPart
{
    std::vector<Value> elements;
    explicit ElementsPart(std::vector<Value> e) : elements(std::move(e)) {}
    std::unique_ptr<HeapPart> clone() const override { return std::make_unique<ElementsPart>(elements); }
};

inline Value Value::array(std::vector<Value> elements)
{
    Value v(VarType::Array);
    v.heap_ = std::make_unique<ElementsPart>(std::move(elements));
    return v;
}

inline const std::vector<Value> &Value::asArray() const
{
    static const std::vector<Value> none; // a moved-from Array
    return heap_ ? static_cast<const ElementsPart &>(*heap_).elements : none;
}

inline std::vector<Value> &Value::mutableArray()
{
    if (!heap_)
        heap_ = std::make_unique<ElementsPart>(std::vector<Value>{});
    return static_cast<ElementsPart &>(*heap_).elements;
}

// The language's name of a subtype ("Double"), as its TypeName function gives it.
const char *typeName(VarType type);

} // namespace eval
