#pragma once

#include "ScriptError.h"

#include <string>
#include <string_view>
#include <vector>

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

    // What a user may need besides: where a syntax error lies, or the name called as a
    // function that is none, as a position and length in UTF-16 units of the text given
    // (untrimmed, so the position is the expression box's own; -1 when neither applies).
    int errorPosition = -1;
    int errorLength = 0;
    bool syntaxError = false;
    std::string notAFunction;  // that name, upper case ("SQRT")
    std::string nearestName;   // what it most likely meant ("Sqr"), or empty
    // The value, when it was no number ("the date 6/13/2024", failed) or a text read as one
    // ("the text 10", succeeded); empty otherwise.
    std::string valueText;
    // Names read as variables never assigned, which count as Empty (0 in arithmetic).
    std::vector<std::string> undefinedNames;
    bool isText = false;    // the value's own text follows "= " (calculateValueText)
};

// The reason behind a result for the person who typed it: why it failed, in the language's
// terms ("Division by zero (error 11)", "Expected ')' at character 7 (error 1006)",
// "SQRT is not a function; did you mean Sqr? (Type mismatch, error 13)"), what a success was
// read from ("the text 10, read as a number"), and which names counted as Empty. Empty text
// when there is nothing to explain.
std::string explainCalculation(const Calculation &calculation);
// The sentence about names that counted as Empty ("PI is not a name the language knows; it
// counted as 0"); empty text for none.
std::string undefinedNamesText(const std::vector<std::string> &names);

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
