#pragma once

#include "Lexer.h"
#include "Program.h"
#include "ScriptError.h"

#include <optional>
#include <string_view>

namespace eval {

// Parses one expression of the language into a Program. Precedence, highest first: unary
// - and +; ^; * and /; \; Mod; + and -; &; the comparisons; Not; And; Or; Xor; Eqv; Imp.
// Every binary operator is left-associative. Nesting is bounded, so no input can exhaust
// the stack: deeper text fails with "Out of stack space".
class Parser
{
public:
    static constexpr int MaxDepth = 1000;

    // Fills `program` (cleared first); returns the syntax error, if any.
    static std::optional<ScriptError> parse(std::string_view source, Program &program);

private:
    Parser(std::string_view source, Program &program) : lexer_(source), program_(program) {}

    void advance() { lexer_.next(token_); }
    void parseExpression(int minimumPrecedence);
    void parseOperand();
    void parsePrimary();
    void parseCall(std::string_view name);
    void emitPush(Value value);
    [[noreturn]] void fail(int number) const { throw ScriptError(number); }

    Lexer lexer_;
    Program &program_;
    Token token_;
    int depth_ = 0;
};

} // namespace eval
