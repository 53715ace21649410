#pragma once

#include "eval/Builtins.h"

#include <span>

// The groups of built-in functions, one file each, as the language reference groups them.
// Each file ends with its table; BuiltinTable.cpp registers them all.
namespace eval {

std::span<const Builtin> stringBuiltins();     // Len, Left, Mid, Trim, UCase, InStr, Replace, Split, Join, …: Strings.cpp
std::span<const Builtin> encodingBuiltins();   // Asc, Chr, AscW, ChrW, the B functions, Escape, Unescape: Encoding.cpp
std::span<const Builtin> mathBuiltins();       // Abs … Tan, Round, Fix, Int, Rnd: Math.cpp
std::span<const Builtin> conversionBuiltins(); // CBool … CStr, CDate, Hex, Oct: Conversion.cpp
std::span<const Builtin> dateBuiltins();       // dates and times: Dates.cpp
std::span<const Builtin> formatBuiltins();     // FormatNumber, FormatCurrency, FormatPercent, FormatDateTime: Format.cpp
std::span<const Builtin> arrayBuiltins();      // Array, LBound, UBound: Arrays.cpp
std::span<const Builtin> otherBuiltins(); // Is…, TypeName, VarType, Eval, dialogs, ScriptEngine…, locale, RGB: Other.cpp

} // namespace eval
