#include "Parser.h"

#include "ConstantTable.h"
#include "NumberText.h"
#include "ObjectValues.h"
#include "Operators.h"

#include <array>
#include <new>
#include <span>
#include <stdexcept>

namespace eval {
namespace {

constexpr int PrecedenceComparison = 7;
// The longest text of a number beside a string in "&": a Double's exponent form and more.
constexpr std::size_t MaxNumberTextBytes = 64;

// The bytes an operand adds to a text it is joined to: its own text, exactly; an object's
// default value, a number, at most MaxNumberTextBytes.
std::size_t textBytes(const Value &value)
{
    if (value.isString())
        return value.asString().size();
    if (value.isObject())
        return MaxNumberTextBytes;
    return NumberText(value).value_or(std::string()).size();
}

// A syntax error, kept apart from the runtime errors that operations throw.
struct SyntaxFailure
{
    int number;
    std::size_t where;  // byte offset of the token it stopped at
    std::size_t length; // that token's length in bytes
};

// A name is kept at most this many times: enough to tell the user, bounded for any text.
constexpr std::size_t MaxUndefinedNames = 16;

// Binding strength of a binary operator token (0 when the token is none) and its operation.
struct Binding
{
    std::uint8_t precedence = 0;
    BinaryOp op{};
};

// Looked up rather than switched on: the token after an operand is any of these, so a jump
// table's one branch is mispredicted often.
constexpr auto bindings = [] {
    std::array<Binding, 256> table{};
    const auto set = [&table](TokenKind kind, int precedence, BinaryOp op) {
        table[static_cast<std::size_t>(kind)] = Binding{static_cast<std::uint8_t>(precedence), op};
    };
    set(TokenKind::Imp, 1, BinaryOp::Imp);
    set(TokenKind::Eqv, 2, BinaryOp::Eqv);
    set(TokenKind::Xor, 3, BinaryOp::Xor);
    set(TokenKind::Or, 4, BinaryOp::Or);
    set(TokenKind::And, 5, BinaryOp::And);
    set(TokenKind::Equal, PrecedenceComparison, BinaryOp::Equal);
    set(TokenKind::NotEqual, PrecedenceComparison, BinaryOp::NotEqual);
    set(TokenKind::Less, PrecedenceComparison, BinaryOp::Less);
    set(TokenKind::Greater, PrecedenceComparison, BinaryOp::Greater);
    set(TokenKind::LessEqual, PrecedenceComparison, BinaryOp::LessEqual);
    set(TokenKind::GreaterEqual, PrecedenceComparison, BinaryOp::GreaterEqual);
    set(TokenKind::Ampersand, 8, BinaryOp::Concatenate);
    set(TokenKind::Plus, 9, BinaryOp::Add);
    set(TokenKind::Minus, 9, BinaryOp::Subtract);
    set(TokenKind::Mod, 10, BinaryOp::Modulo);
    set(TokenKind::Backslash, 11, BinaryOp::IntDivide);
    set(TokenKind::Star, 12, BinaryOp::Multiply);
    set(TokenKind::Slash, 12, BinaryOp::Divide);
    set(TokenKind::Caret, 13, BinaryOp::Power);
    return table;
}();

int precedence(TokenKind kind, BinaryOp &op)
{
    const Binding binding = bindings[static_cast<std::size_t>(kind)];
    op = binding.op;
    return binding.precedence;
}

// A comparison with a literal on either side reads a string as the literal's kind; every
// other operation follows the variant rules.
Value combine(BinaryOp op, Value &&left, const Value &right, bool leftLiteral, bool rightLiteral)
{
    if (isComparison(op) && (leftLiteral || rightLiteral))
        return applyComparison(op, left, right, leftLiteral, rightLiteral);
    return applyBinary(op, std::move(left), right);
}

} // namespace

void Parser::fail(int number) const
{
    // The end token has no text of its own: it stands at the end.
    const std::size_t where = token_.text.data() == nullptr ? source_.size()
                                                            : std::size_t(token_.text.data() - source_.data());
    throw SyntaxFailure{number, where, token_.text.size()};
}

void Parser::noteUndefined(std::string_view name)
{
    std::vector<std::string> *names = environment_.undefinedNames;
    if (names == nullptr || names->size() >= MaxUndefinedNames)
        return;
    // A name is kept in part only: what a user reads of it is its start.
    constexpr std::size_t keptBytes = 64;
    if (name.size() > keptBytes) {
        std::size_t cut = keptBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 sequence
        name = name.substr(0, cut);
    }
    std::string upper(name);
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    for (const std::string &known : *names)
        if (known == upper)
            return;
    names->push_back(std::move(upper));
}

template <typename Operation>
Value Parser::guarded(Operation &&operation)
{
    if (failed_)
        return Value();
    try {
        environment_.budget.tick();
        return operation();
    } catch (const ScriptError &error) {
        failed_ = true;
        runtimeError_ = error;
        return Value();
    }
}

Parser::Outcome Parser::evaluate(std::string_view source, RandomGenerator &random, EvalBudget &budget)
{
    return evaluate(source, CallContext{random, budget});
}

Parser::Outcome Parser::evaluate(std::string_view source, const CallContext &environment)
{
    Parser parser(source, environment);
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
            if (!parser.notAFunction_.empty()) {
                outcome.notAFunction = true;
                outcome.where = std::size_t(parser.notAFunction_.data() - source.data());
                outcome.length = parser.notAFunction_.size();
            }
        } else {
            outcome.value = std::move(value);
        }
    } catch (const SyntaxFailure &failure) {
        outcome.kind = Outcome::SyntaxFailure;
        outcome.error = ScriptError(failure.number);
        outcome.where = failure.where;
        outcome.length = failure.length;
    }
    return outcome;
}

Value Parser::parseExpression(int minimumPrecedence)
{
    if (++depth_ > MaxDepth)
        fail(OutOfStackSpace);
    Value left = parseOperand();
    left = parseOperators(std::move(left), minimumPrecedence);
    --depth_;
    return left;
}

Value Parser::parseOperators(Value left, int minimumPrecedence)
{
    for (;;) {
        BinaryOp op{};
        const bool identity = token_.kind == TokenKind::Is;
        const int p = identity ? PrecedenceComparison : precedence(token_.kind, op);
        if (p == 0 || p < minimumPrecedence)
            break;
        const bool leftLiteral = literal_;
        advance();
        // Both operands stay counted until their operator is done with them.
        const std::size_t kept = budgetBytes(left);
        environment_.budget.hold(kept);
        Value right;
        if (token_.kind == TokenKind::Literal) {
            // The usual right operand, a number: what parseExpression(p + 1) does, without a
            // call for the literal alone.
            if (depth_ + 1 > MaxDepth)
                fail(OutOfStackSpace);
            right = takeLiteral();
            if (bindsTighter(p + 1)) {
                ++depth_;
                right = parseOperators(std::move(right), p + 1);
                --depth_;
            }
        } else {
            right = parseExpression(p + 1);
        }
        const std::size_t keptRight = budgetBytes(right);
        environment_.budget.hold(keptRight);
        const bool rightLiteral = literal_;
        literal_ = false; // a result is computed, whatever its operands
        if (identity) {
            left = guarded([&] { return Value::boolean(sameObject(left, right)); });
        } else {
            left = guarded([&] {
                // Joining text makes a string as long as both: it must fit the budget first. "+"
                // joins two strings, or a string and Empty; otherwise it adds numbers.
                const auto textual = [](const Value &v) { return v.isString() || v.isEmpty(); };
                if (op == BinaryOp::Concatenate || (op == BinaryOp::Add && textual(left) && textual(right) &&
                                                    (left.isString() || right.isString())))
                    environment_.budget.allowString(textBytes(left) + textBytes(right));
                if (left.isObject() || right.isObject()) // an object stands for its default value
                    return combine(op, defaultValue(left), defaultValue(right), leftLiteral, rightLiteral);
                return combine(op, std::move(left), right, leftLiteral, rightLiteral);
            });
        }
        environment_.budget.release(kept + keptRight);
    }
    return left;
}

bool Parser::bindsTighter(int minimumPrecedence) const
{
    BinaryOp op{};
    const int p = token_.kind == TokenKind::Is ? PrecedenceComparison : precedence(token_.kind, op);
    return p != 0 && p >= minimumPrecedence;
}

Value Parser::takeLiteral()
{
    literal_ = true;
    Value value = std::move(token_.literal);
    advance();
    return value;
}

Value Parser::parseOperand()
{
    if (token_.kind == TokenKind::Literal) // the usual operand: a number as it stands
        return takeLiteral();
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
            value = guarded([&] { return value.isObject() ? logicalNot(defaultValue(value)) : logicalNot(value); });
        literal_ = false;
    } else if (token_.kind == TokenKind::Literal) {
        value = takeLiteral(); // -5: a number after its sign
    } else {
        value = parsePrimary();
    }
    // An object stands for its default value; anything else is negated as it is, not copied.
    for (std::size_t i = 0; i < negations && !failed_; ++i)
        value = guarded([&] { return value.isObject() ? negate(defaultValue(value)) : negate(value); });
    if (negations > 0)
        literal_ = false; // -5 is computed: the literal is 5
    return value;
}

Value Parser::parsePrimary()
{
    literal_ = false;
    switch (token_.kind) {
    case TokenKind::Literal: return takeLiteral();
    case TokenKind::True: advance(); return Value::boolean(true);
    case TokenKind::False: advance(); return Value::boolean(false);
    case TokenKind::Empty: advance(); return Value();
    case TokenKind::Null: advance(); return Value::null();
    case TokenKind::Nothing: {
        const std::string_view name = token_.text;
        advance();
        return parseMembers(Value::nothing(), name);
    }
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
        Value value = parseMembers(parseCall(name), name);
        literal_ = false;
        return value;
    }
    case TokenKind::Invalid: fail(token_.error);
    default: fail(ExpectedExpression);
    }
}

std::size_t Parser::parseArguments(std::size_t &heldBytes)
{
    const std::size_t first = arguments_.size();
    advance(); // the "("
    if (token_.kind != TokenKind::CloseParen) {
        for (;;) {
            // An argument may be left out, as in MsgBox("Done", , "Title").
            if (token_.kind == TokenKind::Comma || token_.kind == TokenKind::CloseParen) {
                arguments_.push_back(Value::missing());
            } else {
                Value argument = parseExpression(1);
                // Held while the later arguments are worked out; released by the caller, by this
                // count, since a function may take an argument's text over.
                const std::size_t bytes = budgetBytes(argument);
                environment_.budget.hold(bytes);
                heldBytes += bytes;
                arguments_.push_back(std::move(argument));
            }
            if (token_.kind != TokenKind::Comma)
                break;
            advance();
        }
    }
    if (token_.kind != TokenKind::CloseParen)
        fail(token_.kind == TokenKind::Invalid ? token_.error : ExpectedCloseParen);
    advance();
    // Left out at the end is the same as not given.
    while (arguments_.size() > first && arguments_.back().isMissing())
        arguments_.pop_back();
    return arguments_.size() - first;
}

// A name: a built-in function (called without parentheses when it takes no arguments), a
// named constant, the Err object, or else a variable, which is Empty as the language has it
// without Option Explicit. A call's value may be indexed at once when it is an array:
// Split(t, ",")(1).
Value Parser::parseCall(std::string_view name)
{
    const Builtin *builtin = findBuiltin(name);
    const bool parenthesised = token_.kind == TokenKind::OpenParen;
    const std::size_t first = arguments_.size();
    std::size_t heldBytes = 0;
    const std::size_t count = parenthesised ? parseArguments(heldBytes) : 0;
    const std::span<Value> arguments(arguments_.data() + first, count);
    Value result;
    if (builtin != nullptr) {
        result = guarded([&] {
            if (count < builtin->minArguments || count > builtin->maxArguments)
                throw ScriptError(WrongNumberOfArguments, std::string(builtinDisplayName(*builtin)));
            for (std::size_t i = 0; i < builtin->minArguments; ++i)
                if (arguments[i].isMissing())
                    throw ScriptError(ArgumentNotOptional, std::string(builtinDisplayName(*builtin)));
            if (!builtin->takesObjects)
                for (Value &argument : arguments)
                    if (argument.isObject())
                        argument = defaultValue(argument);
            CallContext context = environment_;
            context.depth = depth_;
            return builtin->call(context, arguments);
        });
    } else if (std::optional<Value> constant = findConstant(name)) {
        if (parenthesised)
            result = guarded([&]() -> Value {
                notAFunction_ = name;
                throw ScriptError(TypeMismatch, std::string(name));
            });
        else
            result = std::move(*constant);
    } else if (name.size() == 3 && (name[0] | 0x20) == 'e' && (name[1] | 0x20) == 'r' && (name[2] | 0x20) == 'r') {
        // Err() is Err; arguments would go to its default property, Number, which takes none.
        result = guarded([&] {
            if (count > 0)
                throw ScriptError(WrongNumberOfArguments, std::string(name));
            return errObject();
        });
    } else if (parenthesised) {
        result = guarded([&]() -> Value {
            notAFunction_ = name;
            throw ScriptError(TypeMismatch, std::string(name));
        });
    } else if (!failed_) {
        noteUndefined(name); // a variable never assigned: Empty, which users rarely mean
    }
    environment_.budget.release(heldBytes);
    arguments_.resize(first);
    while (parenthesised && token_.kind == TokenKind::OpenParen) {
        // The array stays counted while its subscripts are worked out.
        heldBytes = budgetBytes(result);
        environment_.budget.hold(heldBytes);
        const std::size_t subscriptCount = parseArguments(heldBytes);
        const std::span<const Value> subscripts(arguments_.data() + first, subscriptCount);
        result = guarded([&] { return elementOf(std::move(result), subscripts); });
        environment_.budget.release(heldBytes);
        arguments_.resize(first);
    }
    return result;
}

// Members after a name: Err.Number, Err.Raise(5). Whatever is not an object has none.
Value Parser::parseMembers(Value object, std::string_view objectName)
{
    while (token_.kind == TokenKind::Dot) {
        advance();
        if (token_.kind == TokenKind::Invalid)
            fail(token_.error);
        // Keywords name members too (Err.Number, x.Imp); only a word will do.
        if (token_.text.empty() || !((token_.text[0] | 0x20) >= 'a' && (token_.text[0] | 0x20) <= 'z'))
            fail(ExpectedIdentifier);
        const std::string_view member = token_.text;
        advance();
        const std::size_t first = arguments_.size();
        std::size_t heldBytes = 0;
        const std::size_t count = token_.kind == TokenKind::OpenParen ? parseArguments(heldBytes) : 0;
        object = guarded([&] {
            return callMember(object, objectName, member, std::span<Value>(arguments_.data() + first, count));
        });
        environment_.budget.release(heldBytes);
        arguments_.resize(first);
        objectName = member;
    }
    return object;
}

} // namespace eval
