#pragma once

#include "Builtins.h"
#include "EvalBudget.h"
#include "Lexer.h"
#include "ScriptError.h"
#include "Value.h"

#include <string_view>
#include <vector>

namespace eval {

// Parses one expression of the language and evaluates it as it goes. Precedence, highest
// first: unary - and +; ^; * and /; \; Mod; + and -; &; the comparisons and Is; Not; And; Or;
// Xor; Eqv; Imp. Every binary operator is left-associative. An object (Nothing, Err) stands for
// its default value wherever an operator needs a value; only Is compares objects themselves.
// A name is a built-in function, a named constant, Err, or else a variable, which is Empty.
//
// The whole text is always parsed, so that a syntax error anywhere wins over a runtime error,
// as in the language; after the first runtime error nothing more is evaluated (no function is
// called), only parsed. Nesting is bounded, so no input can exhaust the stack: deeper text
// fails with "Out of stack space". Memory stays in proportion to the nesting, not the length;
// the text held meanwhile (left operands, arguments) counts toward the evaluation's budget.
class Parser
{
public:
    static constexpr int MaxDepth = 1000;

    struct Outcome
    {
        enum Kind { Ok, SyntaxFailure, RuntimeFailure };
        Kind kind = Ok;
        Value value;
        ScriptError error;
        // Where the failure lies in the text, as byte offsets: for a syntax error the token
        // the parser stopped at (the text's length when it ran out); for a name called as a
        // function that is none, the name. `where` is npos when neither applies.
        std::size_t where = std::string_view::npos;
        std::size_t length = 0;
        bool notAFunction = false;
    };

    static Outcome evaluate(std::string_view source, RandomGenerator &random, EvalBudget &budget);
    // With the engine's state and ports. The text continues the nesting `environment.depth`, so
    // that Eval's text counts toward the same bound as the expression that calls it.
    static Outcome evaluate(std::string_view source, const CallContext &environment);

private:
    Parser(std::string_view source, const CallContext &environment)
        : source_(source), lexer_(source), environment_(environment), depth_(environment.depth) {}

    void advance() { lexer_.next(token_); }
    Value parseExpression(int minimumPrecedence);
    // The binary operators after `left` that bind at least as tightly as minimumPrecedence.
    Value parseOperators(Value left, int minimumPrecedence);
    // Whether the token is a binary operator that binds at least as tightly.
    bool bindsTighter(int minimumPrecedence) const;
    // The literal token's value, and on to the next token.
    Value takeLiteral();
    Value parseOperand();
    Value parsePrimary();
    Value parseCall(std::string_view name);
    Value parseMembers(Value object, std::string_view objectName);
    // A parenthesised list onto arguments_; returns the count and adds the text it holds.
    std::size_t parseArguments(std::size_t &heldBytes);
    [[noreturn]] void fail(int number) const;
    void noteUndefined(std::string_view name);

    // Runs one operation unless evaluation has already failed; a failure is kept, not thrown.
    template <typename Operation>
    Value guarded(Operation &&operation);

    std::string_view source_;
    Lexer lexer_;
    CallContext environment_;
    Token token_;
    int depth_;
    bool failed_ = false;
    bool literal_ = false; // the value just parsed is a literal of the text, parentheses aside
    ScriptError runtimeError_;
    std::string_view notAFunction_; // the name called that is no function, when that failed
    std::vector<Value> arguments_; // of the calls being parsed, innermost last
};

} // namespace eval
