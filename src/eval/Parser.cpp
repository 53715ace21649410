#include "Parser.h"

#include "Builtins.h"
#include "Operators.h"

#include <new>
#include <span>
#include <stdexcept>

namespace eval {
namespace {

constexpr int PrecedenceComparison = 7;
// The longest text of a number beside a string in "&": a Double's exponent form and more.
constexpr std::size_t MaxNumberTextBytes = 64;

// A syntax error, kept apart from the runtime errors that operations throw.
struct SyntaxFailure
{
    int number;
};

// Binding strength of a binary operator token, or 0 when the token is none.
int precedence(TokenKind kind, BinaryOp &op)
{
    switch (kind) {
    case TokenKind::Imp: op = BinaryOp::Imp; return 1;
    case TokenKind::Eqv: op = BinaryOp::Eqv; return 2;
    case TokenKind::Xor: op = BinaryOp::Xor; return 3;
    case TokenKind::Or: op = BinaryOp::Or; return 4;
    case TokenKind::And: op = BinaryOp::And; return 5;
    case TokenKind::Equal: op = BinaryOp::Equal; return PrecedenceComparison;
    case TokenKind::NotEqual: op = BinaryOp::NotEqual; return PrecedenceComparison;
    case TokenKind::Less: op = BinaryOp::Less; return PrecedenceComparison;
    case TokenKind::Greater: op = BinaryOp::Greater; return PrecedenceComparison;
    case TokenKind::LessEqual: op = BinaryOp::LessEqual; return PrecedenceComparison;
    case TokenKind::GreaterEqual: op = BinaryOp::GreaterEqual; return PrecedenceComparison;
    case TokenKind::Ampersand: op = BinaryOp::Concatenate; return 8;
    case TokenKind::Plus: op = BinaryOp::Add; return 9;
    case TokenKind::Minus: op = BinaryOp::Subtract; return 9;
    case TokenKind::Mod: op = BinaryOp::Modulo; return 10;
    case TokenKind::Backslash: op = BinaryOp::IntDivide; return 11;
    case TokenKind::Star: op = BinaryOp::Multiply; return 12;
    case TokenKind::Slash: op = BinaryOp::Divide; return 12;
    case TokenKind::Caret: op = BinaryOp::Power; return 13;
    default: return 0;
    }
}

} // namespace

void Parser::fail(int number) const { throw SyntaxFailure{number}; }

template <typename Operation>
Value Parser::guarded(Operation &&operation)
{
    if (failed_)
        return Value();
    try {
        budget_.tick();
        return operation();
    } catch (const ScriptError &error) {
        failed_ = true;
        runtimeError_ = error;
        return Value();
    }
}

Parser::Outcome Parser::evaluate(std::string_view source, RandomGenerator &random, EvalBudget &budget)
{
    Parser parser(source, random, budget);
    Outcome outcome;
    try {
        parser.advance();
        // Line ends before and after the expression carry nothing.
        while (parser.token_.kind == TokenKind::Newline)
            parser.advance();
        Value value = parser.parseExpression(1);
        while (parser.token_.kind == TokenKind::Newline)
            parser.advance();
        if (parser.token_.kind == TokenKind::Invalid)
            parser.fail(parser.token_.error);
        if (parser.token_.kind != TokenKind::End)
            parser.fail(ExpectedEndOfStatement);
        if (parser.failed_) {
            outcome.kind = Outcome::RuntimeFailure;
            outcome.error = std::move(parser.runtimeError_);
        } else {
            outcome.value = std::move(value);
        }
    } catch (const SyntaxFailure &failure) {
        outcome.kind = Outcome::SyntaxFailure;
        outcome.error = ScriptError(failure.number);
    }
    return outcome;
}

Value Parser::parseExpression(int minimumPrecedence)
{
    if (++depth_ > MaxDepth)
        fail(OutOfStackSpace);
    Value left = parseOperand();
    for (;;) {
        BinaryOp op{};
        const int p = precedence(token_.kind, op);
        if (p == 0 || p < minimumPrecedence)
            break;
        advance();
        const std::size_t kept = stringBytes(left);
        budget_.hold(kept);
        const Value right = parseExpression(p + 1);
        budget_.release(kept);
        left = guarded([&] {
            // Joining text makes a string as long as both: it must fit the budget first.
            if ((op == BinaryOp::Concatenate || op == BinaryOp::Add) && (left.isString() || right.isString()))
                budget_.allowString(stringBytes(left) + stringBytes(right) + MaxNumberTextBytes);
            return applyBinary(op, std::move(left), right);
        });
    }
    --depth_;
    return left;
}

Value Parser::parseOperand()
{
    // Signs bind tighter than anything, "^" included: -2^2 is 4. A run of them is read in a
    // loop, so a million minus signs cost no stack.
    std::size_t negations = 0;
    while (token_.kind == TokenKind::Minus || token_.kind == TokenKind::Plus) {
        negations += token_.kind == TokenKind::Minus ? 1 : 0;
        advance();
    }
    Value value;
    if (token_.kind == TokenKind::Not) {
        // Not reaches over the comparisons and everything tighter: Not 1 = 2 is Not (1 = 2).
        std::size_t nots = 0;
        while (token_.kind == TokenKind::Not) {
            ++nots;
            advance();
        }
        value = parseExpression(PrecedenceComparison);
        for (std::size_t i = 0; i < nots && !failed_; ++i)
            value = guarded([&] { return logicalNot(value); });
    } else {
        value = parsePrimary();
    }
    for (std::size_t i = 0; i < negations && !failed_; ++i)
        value = guarded([&] { return negate(value); });
    return value;
}

Value Parser::parsePrimary()
{
    switch (token_.kind) {
    case TokenKind::Literal: {
        Value value = std::move(token_.literal);
        advance();
        return value;
    }
    case TokenKind::True: advance(); return Value::boolean(true);
    case TokenKind::False: advance(); return Value::boolean(false);
    case TokenKind::Empty: advance(); return Value();
    case TokenKind::Null: advance(); return Value::null();
    case TokenKind::OpenParen: {
        advance();
        Value value = parseExpression(1);
        if (token_.kind != TokenKind::CloseParen)
            fail(token_.kind == TokenKind::Invalid ? token_.error : ExpectedCloseParen);
        advance();
        return value;
    }
    case TokenKind::Identifier: {
        const std::string_view name = token_.text;
        advance();
        return parseCall(name);
    }
    case TokenKind::Invalid: fail(token_.error);
    default: fail(ExpectedExpression);
    }
}

// A name: a built-in function (called without parentheses when it takes no arguments), or
// a variable, which is Empty as the language has it without Option Explicit.
Value Parser::parseCall(std::string_view name)
{
    const Builtin *builtin = findBuiltin(name);
    const bool parenthesised = token_.kind == TokenKind::OpenParen;
    const std::size_t first = arguments_.size();
    if (parenthesised) {
        advance();
        if (token_.kind != TokenKind::CloseParen) {
            for (;;) {
                Value argument = parseExpression(1);
                budget_.hold(stringBytes(argument));
                arguments_.push_back(std::move(argument));
                if (token_.kind != TokenKind::Comma)
                    break;
                advance();
            }
        }
        if (token_.kind != TokenKind::CloseParen)
            fail(token_.kind == TokenKind::Invalid ? token_.error : ExpectedCloseParen);
        advance();
    }
    const std::size_t count = arguments_.size() - first;
    Value result;
    if (builtin != nullptr) {
        result = guarded([&] {
            if (count < builtin->minArguments || count > builtin->maxArguments)
                throw ScriptError(WrongNumberOfArguments, std::string(builtinDisplayName(*builtin)));
            CallContext context{random_, budget_};
            return builtin->call(context, std::span<Value>(arguments_.data() + first, count));
        });
    } else if (parenthesised) {
        result = guarded([&]() -> Value { throw ScriptError(TypeMismatch, std::string(name)); });
    }
    for (std::size_t i = first; i < arguments_.size(); ++i)
        budget_.release(stringBytes(arguments_[i]));
    arguments_.resize(first);
    return result;
}

} // namespace eval
