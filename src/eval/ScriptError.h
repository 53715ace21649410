#pragma once

#include <string>

namespace eval {

// The language's own error numbers; the command-line evaluator prints them with --why.
enum ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    EvaluationTimedOut = 18, // the engine's time-out stopped the evaluation
    EvaluationCancelled = -1, // the user stopped the evaluation (not one of the language's numbers)
    TypeMismatch = 13,
    OutOfStackSpace = 28,
    PermissionDenied = 70,
    ObjectVariableNotSet = 91,
    InvalidUseOfNull = 94,
    ObjectRequired = 424,
    CannotCreateObject = 429,
    VariableIsUndefined = 500, // a name read as a variable under the command line's --strict
    ObjectLacksMember = 438,
    ArgumentNotOptional = 449,
    WrongNumberOfArguments = 450,
    SyntaxError = 1002,
    ExpectedOpenParen = 1005,
    ExpectedCloseParen = 1006,
    ExpectedIdentifier = 1010,
    ExpectedExpression = 1023,
    ExpectedEndOfStatement = 1025,
    InvalidNumber = 1031,
    InvalidCharacter = 1032,
    UnterminatedString = 1033,
};

// The language's description of an error number ("Division by zero"); empty for unknown numbers.
const char *errorDescription(int number);

// A failure of evaluation, as the script engine reports it.
struct ScriptError
{
    int number = 0;
    std::string description;

    ScriptError() = default;
    explicit ScriptError(int errorNumber);
    // The language appends the offending name to some descriptions: "Type mismatch: 'FOO'".
    ScriptError(int errorNumber, const std::string &name);
};

} // namespace eval
