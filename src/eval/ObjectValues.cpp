#include "ObjectValues.h"

#include "Conversions.h"
#include "ScriptError.h"

#include <string>

namespace eval {
namespace {

bool sameLetters(std::string_view a, std::string_view upperB)
{
    if (a.size() != upperB.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        if (c != upperB[i])
            return false;
    }
    return true;
}

// Err.Raise(number [, source [, description [, helpfile [, helpcontext]]]]): raises that error.
[[noreturn]] void raise(std::span<Value> a)
{
    if (a.empty() || a.size() > 5)
        throw ScriptError(WrongNumberOfArguments);
    if (a[0].isNull())
        throw ScriptError(InvalidUseOfNull);
    const std::int32_t number = toLong(a[0]);
    if (number == 0)
        throw ScriptError(InvalidProcedureCall);
    ScriptError error;
    error.number = number;
    if (a.size() >= 3 && !a[2].isEmpty() && !a[2].isMissing()) {
        if (a[2].isNull())
            throw ScriptError(InvalidUseOfNull);
        error.description = toText(a[2]);
    } else {
        const char *known = errorDescription(number);
        error.description = *known ? known : "Unknown runtime error";
    }
    throw error;
}

} // namespace

Value defaultValue(const Value &value)
{
    if (!value.isObject())
        return value;
    if (value.isNothing())
        throw ScriptError(ObjectVariableNotSet);
    return Value::longValue(0); // Err.Number
}

bool sameObject(const Value &left, const Value &right)
{
    if (!left.isObject() || !right.isObject())
        throw ScriptError(ObjectRequired);
    return left.objectHandle() == right.objectHandle();
}

Value callMember(const Value &object, std::string_view objectName, std::string_view member,
                 std::span<Value> arguments)
{
    if (!object.isObject() || object.isNothing())
        throw ScriptError(ObjectRequired, std::string(objectName));
    auto noArguments = [&](Value v) {
        if (!arguments.empty())
            throw ScriptError(WrongNumberOfArguments, std::string(objectName) + "." + std::string(member));
        return v;
    };
    if (sameLetters(member, "NUMBER") || sameLetters(member, "HELPCONTEXT"))
        return noArguments(Value::longValue(0));
    if (sameLetters(member, "DESCRIPTION") || sameLetters(member, "SOURCE") || sameLetters(member, "HELPFILE"))
        return noArguments(Value::string(std::string()));
    if (sameLetters(member, "CLEAR"))
        return noArguments(Value());
    if (sameLetters(member, "RAISE"))
        raise(arguments);
    throw ScriptError(ObjectLacksMember, std::string(objectName) + "." + std::string(member));
}

} // namespace eval
