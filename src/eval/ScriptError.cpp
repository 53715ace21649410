#include "ScriptError.h"

namespace eval {

const char *errorDescription(int number)
{
    switch (number) {
    case InvalidProcedureCall: return "Invalid procedure call or argument";
    case Overflow: return "Overflow";
    case OutOfMemory: return "Out of memory";
    case SubscriptOutOfRange: return "Subscript out of range";
    case DivisionByZero: return "Division by zero";
    case EvaluationTimedOut: return "Evaluation timed out";
    case EvaluationCancelled: return "Calculation cancelled";
    case TypeMismatch: return "Type mismatch";
    case OutOfStackSpace: return "Out of stack space";
    case PermissionDenied: return "Permission denied";
    case ObjectVariableNotSet: return "Object variable not set";
    case InvalidUseOfNull: return "Invalid use of Null";
    case ObjectRequired: return "Object required";
    case CannotCreateObject: return "ActiveX component can't create object";
    case VariableIsUndefined: return "Variable is undefined";
    case ObjectLacksMember: return "Object doesn't support this property or method";
    case ArgumentNotOptional: return "Argument not optional";
    case WrongNumberOfArguments: return "Wrong number of arguments or invalid property assignment";
    case SyntaxError: return "Syntax error";
    case ExpectedOpenParen: return "Expected '('";
    case ExpectedCloseParen: return "Expected ')'";
    case ExpectedIdentifier: return "Expected identifier";
    case ExpectedExpression: return "Expected expression";
    case ExpectedEndOfStatement: return "Expected end of statement";
    case InvalidNumber: return "Invalid number";
    case InvalidCharacter: return "Invalid character";
    case UnterminatedString: return "Unterminated string constant";
    default: return "";
    }
}

ScriptError::ScriptError(int errorNumber) : number(errorNumber), description(errorDescription(errorNumber)) {}

ScriptError::ScriptError(int errorNumber, const std::string &name)
    : number(errorNumber), description(std::string(errorDescription(errorNumber)) + ": '" + name + "'")
{
}

} // namespace eval
