#pragma once

#include "ScriptError.h"

#include <string>
#include <string_view>

namespace eval {

class ScriptControl;

// The calculate command's expression: the text without leading and trailing spaces (U+0020
// only; tabs and line breaks stay).
std::string_view trimSpaces(std::string_view text);

// What the calculate command hands the engine: the text upper-cased as UCase does it (letter
// by letter, the length unchanged: ß stays ß), then every "INT" replaced by "Fix", so that the
// integer function truncates toward zero (Int(-2.7) is -2). The replacement reaches inside
// longer names too: CInt becomes CFix, which the engine rejects.
std::string rewriteExpression(std::string_view expression);

struct Calculation
{
    bool ok = false;
    std::string resultText; // "= 595.09" when ok
    ScriptError error;      // why it failed otherwise
    bool isText = false;    // the value's own text follows "= " (calculateValueText)
};

// The whole road from an expression text (UTF-8) to a result text, the one the window and the
// command line both take: trim spaces, rewrite, evaluate, convert the value to its number
// text, read that as a number ("= 0" when it is exactly zero), and format it for the
// decimal-places setting. A value that is not a number
// (Boolean, Date, Empty, Null, a string that does not read as one) is a failure.
Calculation calculateResultText(ScriptControl &engine, std::string_view expression, int decimalPlaces);
// The same road, except that a String, Date or Boolean value is written as the language
// writes it (CStr) after "= ": "= 6/13/2024", "= True", a text as itself.
Calculation calculateValueText(ScriptControl &engine, std::string_view expression, int decimalPlaces);

} // namespace eval
