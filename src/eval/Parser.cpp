#include "Parser.h"

#include "Builtins.h"

namespace eval {
namespace {

constexpr int PrecedenceComparison = 7;

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

std::optional<ScriptError> Parser::parse(std::string_view source, Program &program)
{
    program.clear();
    Parser parser(source, program);
    try {
        parser.advance();
        // Line ends before and after the expression carry nothing.
        while (parser.token_.kind == TokenKind::Newline)
            parser.advance();
        parser.parseExpression(1);
        while (parser.token_.kind == TokenKind::Newline)
            parser.advance();
        if (parser.token_.kind == TokenKind::Invalid)
            parser.fail(parser.token_.error);
        if (parser.token_.kind != TokenKind::End)
            parser.fail(ExpectedEndOfStatement);
    } catch (const ScriptError &error) {
        program.clear();
        return error;
    }
    return std::nullopt;
}

void Parser::parseExpression(int minimumPrecedence)
{
    if (++depth_ > MaxDepth)
        fail(OutOfStackSpace);
    parseOperand();
    for (;;) {
        BinaryOp op{};
        int p = precedence(token_.kind, op);
        if (p == 0 || p < minimumPrecedence)
            break;
        advance();
        parseExpression(p + 1);
        program_.code.push_back({Instruction::Binary, op, 0, 0, nullptr});
    }
    --depth_;
}

void Parser::parseOperand()
{
    // Signs bind tighter than anything, "^" included: -2^2 is 4. A run of them is read in a
    // loop, so a million minus signs cost no stack.
    std::size_t negations = 0;
    while (token_.kind == TokenKind::Minus || token_.kind == TokenKind::Plus) {
        negations += token_.kind == TokenKind::Minus ? 1 : 0;
        advance();
    }
    if (token_.kind == TokenKind::Not) {
        // Not reaches over the comparisons and everything tighter: Not 1 = 2 is Not (1 = 2).
        std::size_t nots = 0;
        while (token_.kind == TokenKind::Not) {
            ++nots;
            advance();
        }
        parseExpression(PrecedenceComparison);
        for (std::size_t i = 0; i < nots; ++i)
            program_.code.push_back({Instruction::Not, {}, 0, 0, nullptr});
    } else {
        parsePrimary();
    }
    for (std::size_t i = 0; i < negations; ++i)
        program_.code.push_back({Instruction::Negate, {}, 0, 0, nullptr});
}

void Parser::emitPush(Value value)
{
    program_.code.push_back({Instruction::Push, {}, 0, static_cast<std::uint32_t>(program_.constants.size()), nullptr});
    program_.constants.push_back(std::move(value));
}

void Parser::parsePrimary()
{
    switch (token_.kind) {
    case TokenKind::Literal:
        emitPush(std::move(token_.literal));
        advance();
        return;
    case TokenKind::True: emitPush(Value::boolean(true)); advance(); return;
    case TokenKind::False: emitPush(Value::boolean(false)); advance(); return;
    case TokenKind::Empty: emitPush(Value()); advance(); return;
    case TokenKind::Null: emitPush(Value::null()); advance(); return;
    case TokenKind::OpenParen:
        advance();
        parseExpression(1);
        if (token_.kind != TokenKind::CloseParen)
            fail(token_.kind == TokenKind::Invalid ? token_.error : ExpectedCloseParen);
        advance();
        return;
    case TokenKind::Identifier: {
        std::string_view name = token_.text;
        advance();
        parseCall(name);
        return;
    }
    case TokenKind::Invalid: fail(token_.error);
    default: fail(ExpectedExpression);
    }
}

// A name: a built-in function (called without parentheses when it takes no arguments), or
// a variable, which is Empty as the language has it without Option Explicit.
void Parser::parseCall(std::string_view name)
{
    const Builtin *builtin = findBuiltin(name);
    std::size_t arguments = 0;
    bool parenthesised = token_.kind == TokenKind::OpenParen;
    if (parenthesised) {
        advance();
        if (token_.kind != TokenKind::CloseParen) {
            for (;;) {
                parseExpression(1);
                ++arguments;
                if (token_.kind != TokenKind::Comma)
                    break;
                advance();
            }
        }
        if (token_.kind != TokenKind::CloseParen)
            fail(token_.kind == TokenKind::Invalid ? token_.error : ExpectedCloseParen);
        advance();
        if (arguments > 0xFFFF)
            fail(OutOfStackSpace);
    }
    if (builtin != nullptr) {
        program_.code.push_back({Instruction::Call, {}, static_cast<std::uint16_t>(arguments), 0, builtin});
    } else if (parenthesised) {
        program_.code.push_back({Instruction::CallUnknown, {}, static_cast<std::uint16_t>(arguments),
                                 static_cast<std::uint32_t>(program_.names.size()), nullptr});
        program_.names.emplace_back(name);
    } else {
        emitPush(Value());
    }
}

} // namespace eval
