#pragma once

#include "Value.h"

#include <string_view>

namespace eval {

enum class TokenKind : std::uint8_t {
    End,
    Newline, // a line end that is not a continuation, or ":"
    Literal, // number, string or date; the value is in Token::literal
    Identifier,
    Plus, Minus, Star, Slash, Backslash, Caret, Ampersand,
    Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
    OpenParen, CloseParen, Comma,
    Dot, // a member access, as in Err.Number
    // Keywords
    Mod, Not, And, Or, Xor, Eqv, Imp, Is,
    True, False, Empty, Null, Nothing,
    Reserved, // a statement keyword, which no expression may hold
    Invalid,  // a character the language has no use for
};

struct Token
{
    TokenKind kind = TokenKind::End;
    std::string_view text;
    Value literal;
    int error = 0; // for Invalid: the syntax error number to report
};

// Splits expression text into tokens, case-insensitively. Blanks, tabs, the line continuation
// (" _" then a line end) and comments ("'" up to the line end) are skipped. Rem is a statement
// of its own, which no expression may hold.
class Lexer
{
public:
    explicit Lexer(std::string_view source) : source_(source) {}

    // Reads the next token into `token`, reusing its storage.
    void next(Token &token);

private:
    void skipBlanks();
    void readNumber(Token &token);
    void readRadixNumber(Token &token, int radix);
    void readString(Token &token);
    void readDate(Token &token);
    void readWord(Token &token);

    std::string_view source_;
    std::size_t pos_ = 0;
};

} // namespace eval
