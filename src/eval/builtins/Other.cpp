// The language's other functions: the Is functions and the subtype of a value, Eval, the dialogs, the engine's identity
// and locale, RGB, and the functions that reach outside the engine, which it refuses.
#include "eval/Builtins.h"

#include "Arguments.h"
#include "BuiltinGroups.h"
#include "eval/Conversions.h"
#include "eval/DateText.h"
#include "eval/DialogPort.h"
#include "eval/NumericString.h"
#include "eval/ObjectValues.h"
#include "eval/Parser.h"
#include "eval/RandomGenerator.h"
#include "eval/ScriptError.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace eval {
namespace {

// The engine follows version 5.8 of the language. The build number of 5.8 differs between
// Windows releases and their updates; 18702 is the one the language's reference pages show in
// their example output, and the one given here.
constexpr std::int32_t MajorVersion = 5;
constexpr std::int32_t MinorVersion = 8;
constexpr std::int32_t BuildVersion = 18702;

// The locale whose forms the engine writes numbers and dates in.
constexpr std::int32_t EnglishUnitedStates = 1033;

// The title MsgBox and InputBox show when the expression gives none: the engine's name, as the
// script engine titles its own boxes.
constexpr std::string_view EngineTitle = "VBScript";

// MsgBox and InputBox show at most this many characters of the prompt, as the language's
// reference gives for both.
constexpr std::size_t MaxPromptCharacters = 1024;

// The first `limit` characters of a UTF-8 text.
std::string clipped(std::string s, std::size_t limit)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == limit) {
            s.resize(i);
            break;
        }
    }
    return s;
}

// --- Objects and subtypes ---------------------------------------------------------------

Value fnIsObject(CallContext &, Args a) { return Value::boolean(a[0].isObject()); }
Value fnIsArray(CallContext &, Args a) { return Value::boolean(a[0].isArray()); }

Value fnIsNumeric(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isObject())
        return Value::boolean(!v.isNothing()); // Err reads as its Number
    if (v.isString())
        return Value::boolean(parseNumericString(v.asString()).status == ParsedNumber::Ok);
    return Value::boolean(isNumeric(v.type()) && v.type() != VarType::Date);
}

Value fnIsEmpty(CallContext &, Args a) { return Value::boolean(a[0].isEmpty()); }
Value fnIsNull(CallContext &, Args a) { return Value::boolean(a[0].isNull()); }

Value fnIsDate(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.type() == VarType::Date)
        return Value::boolean(true);
    if (v.isString())
        return Value::boolean(parseDateText(v.asString()).has_value());
    return Value::boolean(false);
}


Value fnTypeName(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isObject())
        return Value::string(v.isNothing() ? "Nothing" : "Object");
    return Value::string(typeName(v.type()));
}

// An object with a default property reports that property's subtype (Err: Number, a Long).
Value fnVarType(CallContext &, Args a)
{
    const Value &v = a[0];
    if (v.isObject() && !v.isNothing())
        return Value::integer(static_cast<std::int16_t>(defaultValue(v).type()));
    return Value::integer(static_cast<std::int16_t>(v.type()));
}

// --- Eval ----------------------------------------------------------------------------------

// Evaluates the text as an expression with the same engine: its nesting continues the caller's,
// and its errors, syntax errors included, are the caller's runtime errors.
Value fnEval(CallContext &context, Args a)
{
    const std::string source = textOf(a[0]);
    const RandomGenerator before = context.random;
    const std::int32_t localeBefore = context.locale ? *context.locale : EnglishUnitedStates;
    Parser::Outcome outcome = Parser::evaluate(source, context);
    if (outcome.kind == Parser::Outcome::Ok)
        return std::move(outcome.value);
    if (outcome.kind == Parser::Outcome::SyntaxFailure) {
        // A text that does not compile runs nothing.
        context.random = before;
        if (context.locale)
            *context.locale = localeBefore;
    }
    throw outcome.error;
}

// --- Dialogs -------------------------------------------------------------------------------

// Without a window there is no user to ask: the call fails as it does where the language runs
// in a host without a user interface, such as a web server's pages ("Permission denied").
DialogPort &dialogs(CallContext &context, const char *function)
{
    if (context.dialogs == nullptr)
        throw ScriptError(PermissionDenied, function);
    return *context.dialogs;
}

// MsgBox(prompt [, buttons [, title [, helpfile, context]]])
Value fnMsgBox(CallContext &context, Args a)
{
    DialogPort &port = dialogs(context, "MSGBOX");
    MessageRequest request;
    request.prompt = clipped(textOf(a[0]), MaxPromptCharacters);
    const std::int32_t style = given(a, 1) ? toLong(required(a[1])) : 0;
    request.title = given(a, 2) ? textOf(a[2]) : std::string(EngineTitle);
    if (given(a, 3))
        textOf(a[3]); // the help file: no help here, but it must be a text
    if (given(a, 4))
        toLong(required(a[4]));
    request.buttons = style & 0xF;
    if (request.buttons > 5)
        throw ScriptError(InvalidProcedureCall);
    request.icon = style & 0x70;
    if (request.icon > 64)
        request.icon = 0;
    request.defaultButton = (style >> 8) & 0xF;
    if (request.defaultButton > 3)
        request.defaultButton = 0;
    const int button = context.budget.whileWaiting([&] { return port.showMessage(request); });
    return Value::integer(static_cast<std::int16_t>(button));
}

// InputBox(prompt [, title [, default [, xpos [, ypos [, helpfile, context]]]]]): the typed
// text, or "" when the user cancels.
Value fnInputBox(CallContext &context, Args a)
{
    DialogPort &port = dialogs(context, "INPUTBOX");
    InputRequest request;
    request.prompt = clipped(textOf(a[0]), MaxPromptCharacters);
    request.title = given(a, 1) ? textOf(a[1]) : std::string(EngineTitle);
    if (given(a, 2))
        request.defaultText = textOf(a[2]);
    for (std::size_t i = 3; i < a.size(); ++i) {
        // Position and help: the window places its dialog itself and has no help, but each
        // must be of its kind.
        if (!given(a, i))
            continue;
        if (i == 5)
            textOf(a[i]);
        else
            toLong(required(a[i]));
    }
    std::optional<std::string> typed = context.budget.whileWaiting([&] { return port.askText(request); });
    return Value::string(typed ? std::move(*typed) : std::string());
}

// --- The engine ----------------------------------------------------------------------------

Value fnScriptEngine(CallContext &, Args) { return Value::string("VBScript"); }
Value fnMajorVersion(CallContext &, Args) { return Value::longValue(MajorVersion); }
Value fnMinorVersion(CallContext &, Args) { return Value::longValue(MinorVersion); }
Value fnBuildVersion(CallContext &, Args) { return Value::longValue(BuildVersion); }

// --- Locale --------------------------------------------------------------------------------

struct Locale
{
    std::string_view tag; // lower case
    std::int32_t id;
};

// The locales SetLocale knows by tag or by number.
constexpr std::array locales{
    Locale{"af", 1078},    Locale{"sq", 1052},    Locale{"ar-sa", 1025}, Locale{"ar-iq", 2049},
    Locale{"ar-eg", 3073}, Locale{"ar-ly", 4097}, Locale{"ar-dz", 5121}, Locale{"ar-ma", 6145},
    Locale{"ar-tn", 7169}, Locale{"ar-om", 8193}, Locale{"ar-ye", 9217}, Locale{"ar-sy", 10241},
    Locale{"ar-jo", 11265}, Locale{"ar-lb", 12289}, Locale{"ar-kw", 13313}, Locale{"ar-ae", 14337},
    Locale{"ar-bh", 15361}, Locale{"ar-qa", 16385}, Locale{"hy", 1067},  Locale{"eu", 1069},
    Locale{"be", 1059},    Locale{"bg", 1026},    Locale{"ca", 1027},    Locale{"zh-tw", 1028},
    Locale{"zh-cn", 2052}, Locale{"zh-hk", 3076}, Locale{"zh-sg", 4100}, Locale{"hr", 1050},
    Locale{"cs", 1029},    Locale{"da", 1030},    Locale{"nl", 1043},    Locale{"nl-be", 2067},
    Locale{"en", 1033},    Locale{"en-us", 1033}, Locale{"en-gb", 2057}, Locale{"en-au", 3081},
    Locale{"en-ca", 4105}, Locale{"en-nz", 5129}, Locale{"en-ie", 6153}, Locale{"en-za", 7177},
    Locale{"en-jm", 8201}, Locale{"en-bz", 10249}, Locale{"en-tt", 11273}, Locale{"et", 1061},
    Locale{"fo", 1080},    Locale{"fa", 1065},    Locale{"fi", 1035},    Locale{"fr", 1036},
    Locale{"fr-be", 2060}, Locale{"fr-ca", 3084}, Locale{"fr-ch", 4108}, Locale{"fr-lu", 5132},
    Locale{"gd", 1084},    Locale{"de", 1031},    Locale{"de-ch", 2055}, Locale{"de-at", 3079},
    Locale{"de-lu", 4103}, Locale{"de-li", 5127}, Locale{"el", 1032},    Locale{"he", 1037},
    Locale{"hi", 1081},    Locale{"hu", 1038},    Locale{"is", 1039},    Locale{"id", 1057},
    Locale{"it", 1040},    Locale{"it-ch", 2064}, Locale{"ja", 1041},    Locale{"ko", 1042},
    Locale{"lv", 1062},    Locale{"lt", 1063},    Locale{"mk", 1071},    Locale{"ms", 1086},
    Locale{"mt", 1082},    Locale{"no", 1044},    Locale{"pl", 1045},    Locale{"pt", 2070},
    Locale{"pt-br", 1046}, Locale{"ro", 1048},    Locale{"ru", 1049},    Locale{"sk", 1051},
    Locale{"sl", 1060},    Locale{"es", 1034},    Locale{"es-mx", 2058}, Locale{"es-ar", 11274},
    Locale{"sv", 1053},    Locale{"sv-fi", 2077}, Locale{"th", 1054},    Locale{"tr", 1055},
    Locale{"uk", 1058},    Locale{"ur", 1056},    Locale{"vi", 1066},
};

std::int32_t localeFromNumber(std::int32_t id)
{
    if (id == 0 || id == 1024 || id == 2048)
        return EnglishUnitedStates; // the system's and the user's default
    for (const Locale &l : locales)
        if (l.id == id)
            return id;
    throw ScriptError(InvalidProcedureCall);
}

std::int32_t localeFrom(const Value &v)
{
    if (!v.isString())
        return localeFromNumber(toLong(v));
    std::string tag = v.asString();
    std::transform(tag.begin(), tag.end(), tag.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    for (const Locale &l : locales)
        if (l.tag == tag)
            return l.id;
    const ParsedNumber number = parseNumericString(tag);
    if (number.status != ParsedNumber::Ok || number.value != static_cast<double>(static_cast<std::int32_t>(number.value)))
        throw ScriptError(InvalidProcedureCall);
    return localeFromNumber(static_cast<std::int32_t>(number.value));
}

Value fnGetLocale(CallContext &context, Args)
{
    return Value::longValue(context.locale ? *context.locale : EnglishUnitedStates);
}

// SetLocale([lcid]): chooses the locale (no argument: the default) and returns the one before.
Value fnSetLocale(CallContext &context, Args a)
{
    const std::int32_t previous = context.locale ? *context.locale : EnglishUnitedStates;
    const std::int32_t chosen = a.empty() ? EnglishUnitedStates : localeFrom(required(a[0]));
    if (context.locale)
        *context.locale = chosen;
    return Value::longValue(previous);
}

// --- Colours -------------------------------------------------------------------------------

std::int32_t channel(const Value &v)
{
    const std::int32_t n = toLong(required(v));
    if (n < 0)
        throw ScriptError(InvalidProcedureCall);
    return std::min(n, 255);
}

// RGB(red, green, blue): red in the low byte; each part above 255 counts as 255.
Value fnRGB(CallContext &, Args a)
{
    return Value::longValue(channel(a[0]) + channel(a[1]) * 0x100 + channel(a[2]) * 0x10000);
}

// --- Outside the engine --------------------------------------------------------------------

// The error names the class asked for; a class name has at most 39 characters, so a longer
// text is quoted by its start only, keeping the message short whatever the argument.
Value fnCreateObject(CallContext &, Args a)
{
    constexpr std::size_t MaxQuoted = 40;
    std::string name = textOf(a[0]);
    const std::size_t size = name.size();
    name = clipped(std::move(name), MaxQuoted);
    if (name.size() < size)
        name += "...";
    throw ScriptError(CannotCreateObject, name);
}

Value fnGetObject(CallContext &, Args a)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (given(a, i))
            textOf(a[i]);
    throw ScriptError(CannotCreateObject, "GETOBJECT");
}

// No procedure exists in an expression, so none can be referred to.
Value fnGetRef(CallContext &, Args a)
{
    textOf(a[0]);
    throw ScriptError(InvalidProcedureCall, "GETREF");
}

// The engine reads no files.
Value fnLoadPicture(CallContext &, Args a)
{
    textOf(a[0]);
    throw ScriptError(PermissionDenied, "LOADPICTURE");
}

constexpr std::array builtins{
    Builtin{"CREATEOBJECT", 1, 2, fnCreateObject},
    Builtin{"EVAL", 1, 1, fnEval},
    Builtin{"GETLOCALE", 0, 0, fnGetLocale},
    Builtin{"GETOBJECT", 0, 2, fnGetObject},
    Builtin{"GETREF", 1, 1, fnGetRef},
    Builtin{"INPUTBOX", 1, 7, fnInputBox},
    Builtin{"ISARRAY", 1, 1, fnIsArray, true},
    Builtin{"ISDATE", 1, 1, fnIsDate, true},
    Builtin{"ISEMPTY", 1, 1, fnIsEmpty, true},
    Builtin{"ISNULL", 1, 1, fnIsNull, true},
    Builtin{"ISNUMERIC", 1, 1, fnIsNumeric, true},
    Builtin{"ISOBJECT", 1, 1, fnIsObject, true},
    Builtin{"LOADPICTURE", 1, 1, fnLoadPicture},
    Builtin{"MSGBOX", 1, 5, fnMsgBox},
    Builtin{"RGB", 3, 3, fnRGB},
    Builtin{"SCRIPTENGINE", 0, 0, fnScriptEngine},
    Builtin{"SCRIPTENGINEBUILDVERSION", 0, 0, fnBuildVersion},
    Builtin{"SCRIPTENGINEMAJORVERSION", 0, 0, fnMajorVersion},
    Builtin{"SCRIPTENGINEMINORVERSION", 0, 0, fnMinorVersion},
    Builtin{"SETLOCALE", 0, 1, fnSetLocale},
    Builtin{"TYPENAME", 1, 1, fnTypeName, true},
    Builtin{"VARTYPE", 1, 1, fnVarType, true},
};

} // namespace

std::span<const Builtin> otherBuiltins() { return builtins; }

} // namespace eval
