#pragma once

#include "EvalBudget.h"
#include "Lexer.h"
#include "ScriptError.h"
#include "Value.h"

#include <string_view>
#include <vector>

namespace eval {

class RandomGenerator;

// Parses one expression of the language and evaluates it as it goes. Precedence, highest
// first: unary - and +; ^; * and /; \; Mod; + and -; &; the comparisons; Not; And; Or; Xor;
// Eqv; Imp. Every binary operator is left-associative.
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
    };

    static Outcome evaluate(std::string_view source, RandomGenerator &random, EvalBudget &budget);

private:
    Parser(std::string_view source, RandomGenerator &random, EvalBudget &budget)
        : lexer_(source), random_(random), budget_(budget)
    {
    }

    void advance() { lexer_.next(token_); }
    Value parseExpression(int minimumPrecedence);
    Value parseOperand();
    Value parsePrimary();
    Value parseCall(std::string_view name);
    [[noreturn]] void fail(int number) const;

    // Runs one operation unless evaluation has already failed; a failure is kept, not thrown.
    template <typename Operation>
    Value guarded(Operation &&operation);

    Lexer lexer_;
    RandomGenerator &random_;
    EvalBudget &budget_;
    Token token_;
    int depth_ = 0;
    bool failed_ = false;
    ScriptError runtimeError_;
    std::vector<Value> arguments_; // of the calls being parsed, innermost last
};

} // namespace eval
