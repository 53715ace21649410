#include "Lexer.h"

#include "DateText.h"
#include "NumberText.h"
#include "NumericString.h"
#include "ScriptError.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstring>

namespace eval {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isWordChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Every word of an expression is held against every keyword: their lengths are known, so
// most comparisons end at the first test.
bool equalsUpper(std::string_view word, std::string_view keyword)
{
    const std::size_t n = keyword.size();
    if (word.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (upper(word[i]) != keyword[i])
            return false;
    return true;
}

struct Keyword
{
    std::string_view name;
    TokenKind kind;
};

// Statement keywords are reserved: an expression cannot name them.
constexpr std::array keywords{
    Keyword{"MOD", TokenKind::Mod},       Keyword{"NOT", TokenKind::Not},
    Keyword{"AND", TokenKind::And},       Keyword{"OR", TokenKind::Or},
    Keyword{"XOR", TokenKind::Xor},       Keyword{"EQV", TokenKind::Eqv},
    Keyword{"IMP", TokenKind::Imp},       Keyword{"IS", TokenKind::Is},
    Keyword{"TRUE", TokenKind::True},     Keyword{"FALSE", TokenKind::False},
    Keyword{"EMPTY", TokenKind::Empty},   Keyword{"NULL", TokenKind::Null},
    Keyword{"NOTHING", TokenKind::Nothing},
    Keyword{"CALL", TokenKind::Reserved}, Keyword{"CASE", TokenKind::Reserved},
    Keyword{"CLASS", TokenKind::Reserved}, Keyword{"CONST", TokenKind::Reserved},
    Keyword{"DIM", TokenKind::Reserved},  Keyword{"DO", TokenKind::Reserved},
    Keyword{"EACH", TokenKind::Reserved}, Keyword{"ELSE", TokenKind::Reserved},
    Keyword{"ELSEIF", TokenKind::Reserved}, Keyword{"END", TokenKind::Reserved},
    Keyword{"ERASE", TokenKind::Reserved}, Keyword{"EXIT", TokenKind::Reserved},
    Keyword{"EXPLICIT", TokenKind::Reserved}, Keyword{"FOR", TokenKind::Reserved},
    Keyword{"FUNCTION", TokenKind::Reserved}, Keyword{"GET", TokenKind::Reserved},
    Keyword{"GOTO", TokenKind::Reserved}, Keyword{"IF", TokenKind::Reserved},
    Keyword{"IN", TokenKind::Reserved},   Keyword{"LET", TokenKind::Reserved},
    Keyword{"LOOP", TokenKind::Reserved}, Keyword{"NEW", TokenKind::Reserved},
    Keyword{"NEXT", TokenKind::Reserved}, Keyword{"ON", TokenKind::Reserved},
    Keyword{"OPTION", TokenKind::Reserved}, Keyword{"PRESERVE", TokenKind::Reserved},
    Keyword{"PRIVATE", TokenKind::Reserved}, Keyword{"PROPERTY", TokenKind::Reserved},
    Keyword{"PUBLIC", TokenKind::Reserved}, Keyword{"RANDOMIZE", TokenKind::Reserved},
    Keyword{"REDIM", TokenKind::Reserved}, Keyword{"REM", TokenKind::Reserved}, Keyword{"RESUME", TokenKind::Reserved},
    Keyword{"SELECT", TokenKind::Reserved}, Keyword{"SET", TokenKind::Reserved},
    Keyword{"STEP", TokenKind::Reserved}, Keyword{"SUB", TokenKind::Reserved},
    Keyword{"THEN", TokenKind::Reserved}, Keyword{"TO", TokenKind::Reserved},
    Keyword{"UNTIL", TokenKind::Reserved}, Keyword{"WEND", TokenKind::Reserved},
    Keyword{"WHILE", TokenKind::Reserved}, Keyword{"WITH", TokenKind::Reserved},
};

// For each letter A to Z, the keywords that start with it (indices into keywords), then
// noKeyword.
constexpr std::uint8_t noKeyword = 0xFF;
constexpr auto keywordsByInitial = [] {
    std::array<std::array<std::uint8_t, 12>, 26> table{};
    for (auto &letter : table)
        letter.fill(noKeyword);
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        auto &letter = table[static_cast<std::size_t>(keywords[k].name[0] - 'A')];
        std::size_t n = 0;
        while (letter[n] != noKeyword)
            ++n;
        letter[n] = static_cast<std::uint8_t>(k); // a letter with twelve would not compile
    }
    return table;
}();

// The comparison operator that starts with c (one of = < >), n the character after it.
struct Comparison
{
    TokenKind kind;
    std::size_t length;
};

Comparison comparisonAt(char c, char n)
{
    switch (c) {
    case '=':
        // => and =< are the language's other spellings of >= and <=.
        if (n == '>')
            return {TokenKind::GreaterEqual, 2};
        if (n == '<')
            return {TokenKind::LessEqual, 2};
        return {TokenKind::Equal, 1};
    case '<':
        if (n == '>')
            return {TokenKind::NotEqual, 2};
        if (n == '=')
            return {TokenKind::LessEqual, 2};
        return {TokenKind::Less, 1};
    default:
        if (n == '=')
            return {TokenKind::GreaterEqual, 2};
        if (n == '<')
            return {TokenKind::NotEqual, 2}; // >< is <>
        return {TokenKind::Greater, 1};
    }
}

// The token a character makes on its own, whatever follows it; Invalid for the others.
constexpr auto singleCharacterTokens = [] {
    std::array<TokenKind, 256> kinds{};
    kinds.fill(TokenKind::Invalid);
    kinds['\n'] = TokenKind::Newline;
    kinds[':'] = TokenKind::Newline;
    kinds['+'] = TokenKind::Plus;
    kinds['-'] = TokenKind::Minus;
    kinds['*'] = TokenKind::Star;
    kinds['/'] = TokenKind::Slash;
    kinds['\\'] = TokenKind::Backslash;
    kinds['^'] = TokenKind::Caret;
    kinds['('] = TokenKind::OpenParen;
    kinds[')'] = TokenKind::CloseParen;
    kinds[','] = TokenKind::Comma;
    return kinds;
}();

} // namespace

void Lexer::skipBlanks()
{
    for (;;) {
        while (pos_ < source_.size() && (source_[pos_] == ' ' || source_[pos_] == '\t'))
            ++pos_;
        if (pos_ >= source_.size())
            return;
        char c = source_[pos_];
        if (c == '_') {
            // Line continuation: an underscore, optional blanks, then a line end.
            std::size_t p = pos_ + 1;
            while (p < source_.size() && (source_[p] == ' ' || source_[p] == '\t'))
                ++p;
            if (p < source_.size() && (source_[p] == '\r' || source_[p] == '\n')) {
                pos_ = p + 1;
                if (source_[p] == '\r' && pos_ < source_.size() && source_[pos_] == '\n')
                    ++pos_;
                continue;
            }
            return;
        }
        if (c == '\'') {
            while (pos_ < source_.size() && source_[pos_] != '\r' && source_[pos_] != '\n')
                ++pos_;
            continue;
        }
        return;
    }
}

void Lexer::next(Token &token)
{
    // Scanned with locals, as in readNumber. Spaces between tokens are stepped over here; tabs,
    // continuations and comments in skipBlanks.
    const char *const text = source_.data();
    const std::size_t size = source_.size();
    std::size_t at = pos_;
    while (at < size && text[at] == ' ')
        ++at;
    pos_ = at;
    token.error = 0;
    if (at < size && (text[at] == '\t' || text[at] == '_' || text[at] == '\'')) {
        skipBlanks();
        at = pos_;
    }
    if (at >= size) {
        token.kind = TokenKind::End;
        token.text = {};
        return;
    }
    const char c = text[at];
    auto single = [&](TokenKind kind, std::size_t length = 1) {
        token.kind = kind;
        pos_ = at + length;
        token.text = std::string_view(text + at, length);
    };
    // Numbers and operators first, with no jump table: which of them comes is as random as the
    // text, and a jump table's one branch would be mispredicted on most tokens.
    if (isDigit(c)) {
        readNumber(token);
        return;
    }
    const TokenKind alone = singleCharacterTokens[static_cast<unsigned char>(c)];
    if (alone != TokenKind::Invalid) {
        single(alone);
        return;
    }
    const char n = at + 1 < size ? text[at + 1] : '\0';
    switch (c) {
    case '.':
        if (isDigit(n))
            readNumber(token);
        else
            single(TokenKind::Dot);
        return;
    case '\r':
        single(TokenKind::Newline, n == '\n' ? 2 : 1);
        return;
    case '=':
    case '<':
    case '>': {
        const Comparison comparison = comparisonAt(c, n);
        single(comparison.kind, comparison.length);
        return;
    }
    case '&':
        if (n == 'H' || n == 'h') {
            readRadixNumber(token, 16);
            return;
        }
        if (n == 'O' || n == 'o') {
            readRadixNumber(token, 8);
            return;
        }
        single(TokenKind::Ampersand);
        return;
    case '"': readString(token); return;
    case '#': readDate(token); return;
    default: break;
    }
    if (isLetter(c)) {
        readWord(token);
        return;
    }
    single(TokenKind::Invalid);
    token.error = InvalidCharacter;
}

namespace {

// A literal that the quick roads below do not read exactly: the token is plain digits, point
// and exponent, which from_chars reads as it stands.
[[gnu::noinline]] void setNumberFromText(Token &token)
{
    double value = 0.0;
    auto [end, ec] = std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        ParsedNumber parsed = parseNumericString(token.text); // tells underflow from overflow
        if (parsed.status != ParsedNumber::Ok) {
            token.kind = TokenKind::Invalid;
            token.error = Overflow;
            return;
        }
        value = parsed.value;
    } else if (ec != std::errc() || end != token.text.data() + token.text.size()) {
        token.kind = TokenKind::Invalid;
        token.error = InvalidNumber;
        return;
    }
    token.literal = Value::doubleValue(value);
}

// The value of a number literal read as `digits` times ten to the `scale` (all its significant
// digits, unless allDigits is false) into token.literal; a literal beyond a Double's range
// makes the token an Overflow.
[[gnu::always_inline]] inline void setNumberValue(Token &token, std::uint64_t digits, int scale, bool allDigits, bool isWhole)
{
    // Whole literals are Integer while they fit, then Long, then Double.
    if (isWhole && allDigits && scale == 0 && digits <= 32767) {
        token.literal = Value::integer(static_cast<std::int16_t>(digits));
        return;
    }
    if (isWhole && allDigits && scale == 0 && digits <= 2147483647) {
        token.literal = Value::longValue(static_cast<std::int32_t>(digits));
        return;
    }
    // Digits and a power of ten that are both exact doubles: one multiplication or division
    // rounds correctly, to the value from_chars gives at several times the cost.
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (allDigits && digits <= (std::uint64_t{1} << 53) && scale >= -22 && scale <= 22) {
        const auto d = static_cast<double>(digits);
        token.literal = Value::doubleValue(scale < 0 ? d / powers[-scale] : d * powers[scale]);
        return;
    }
    setNumberFromText(token);
}

// The digits at the start of eight bytes, read at once: how many (up to 8) and their value.
// A run's length is any, so a loop over it costs a mispredicted branch at its end on most
// literals; here nothing depends on it but a shift.
struct DigitRun
{
    std::size_t length;
    std::uint64_t value;
};

// The first character is the word's lowest byte only where the machine is little-endian.
static_assert(std::endian::native == std::endian::little, "digitRun reads digits in little-endian byte order");

[[gnu::always_inline]] inline DigitRun digitRun(const char *eightBytes)
{
    std::uint64_t word;
    std::memcpy(&word, eightBytes, sizeof word);
    const std::uint64_t values = word ^ 0x3030303030303030u; // '0' to '9' become 0 to 9
    // A byte is no digit when its value is 10 or more: its low seven bits plus 0x76 reach the
    // high bit then (and carry into no neighbour), or it had the high bit already.
    const std::uint64_t others =
        (((values & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | values) & 0x8080808080808080u;
    const std::size_t length = others == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(others)) / 8;
    if (length == 0)
        return {0, 0};
    // The digits moved to the top bytes (the first the most significant, as zeros before it
    // add nothing), then joined: pairs, fours, and the eight.
    std::uint64_t v = values << (8 * (8 - length));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
    v = (v * 10000 + (v >> 32)) & 0xFFFFFFFFu;
    return {length, v};
}

} // namespace

void Lexer::readNumber(Token &token)
{
    // Scanned with locals: the source's characters could alias this object's members, so
    // stepping pos_ itself would store it on every digit.
    const char *const text = source_.data();
    const std::size_t size = source_.size();
    const std::size_t start = pos_;
    const auto digitAt = [text](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(text[at])) - unsigned{'0'};
    };
    std::size_t p = start;
    {
        // The usual literal first: at most 19 digits in all, so that they add up without a
        // count, a point perhaps, and no exponent. Anything else is read again below.
        std::uint64_t digits = 0;
        // A run of digits from `at` onto `digits` (which may wrap beyond 19 digits: such a
        // literal is read below); where it ends.
        const auto addRun = [&](std::size_t at) {
            if (size - at >= 8) {
                const DigitRun eight = digitRun(text + at);
                digits = digits * powersOfTen[eight.length] + eight.value;
                at += eight.length;
                if (eight.length < 8)
                    return at;
            }
            for (unsigned digit = 0; at < size && (digit = digitAt(at)) <= 9; ++at)
                digits = digits * 10 + digit;
            return at;
        };
        p = addRun(p);
        const std::size_t wholeEnd = p;
        const bool point = p < size && text[p] == '.';
        if (point)
            p = addRun(p + 1);
        const std::size_t fractionCount = point ? p - wholeEnd - 1 : 0;
        if ((wholeEnd - start) + fractionCount <= 19 && !(p < size && (text[p] == 'E' || text[p] == 'e'))) {
            pos_ = p;
            token.text = std::string_view(text + start, p - start);
            token.kind = TokenKind::Literal;
            setNumberValue(token, digits, -static_cast<int>(fractionCount), true, !point);
            return;
        }
        p = start;
    }
    bool isWhole = true;
    // The significant digits as one whole number, while 19 of them fit, and the power of ten
    // it counts in: most literals are read exactly from these alone.
    std::uint64_t digits = 0;
    int count = 0, scale = 0;
    bool allDigits = true;
    // A run of digits from p, each moving the point by `step`. Leading zeros add no
    // significant digit (digits stays 0), and beyond 19 digits from_chars reads the literal.
    auto run = [&](int step) {
        for (; p < size; ++p) {
            const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(text[p])) - unsigned{'0'};
            if (digit > 9)
                break;
            if (count == 19) {
                allDigits = false;
                continue;
            }
            digits = digits * 10 + digit;
            count += digits != 0 ? 1 : 0;
            scale += step;
        }
    };
    run(0);
    if (p < size && text[p] == '.') {
        isWhole = false;
        ++p;
        run(-1);
    }
    if (p < size && (text[p] == 'E' || text[p] == 'e')) {
        std::size_t q = p + 1;
        const bool negative = q < size && text[q] == '-';
        if (q < size && (text[q] == '+' || text[q] == '-'))
            ++q;
        if (q < size && isDigit(text[q])) {
            isWhole = false;
            int exponent = 0;
            for (p = q; p < size && isDigit(text[p]); ++p)
                exponent = exponent < 10000 ? exponent * 10 + (text[p] - '0') : exponent;
            scale += negative ? -exponent : exponent;
        }
    }
    pos_ = p;
    token.text = source_.substr(start, p - start);
    token.kind = TokenKind::Literal;
    setNumberValue(token, digits, scale, allDigits, isWhole);
}

void Lexer::readRadixNumber(Token &token, int radix)
{
    std::size_t start = pos_;
    pos_ += 2;
    std::uint64_t value = 0;
    std::size_t digits = 0;
    bool overflow = false;
    while (pos_ < source_.size()) {
        char c = upper(source_[pos_]);
        int d = isDigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : radix; // radix: no digit
        if (d >= radix)
            break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        overflow = overflow || value > 0xFFFFFFFFu;
        ++digits;
        ++pos_;
    }
    // A trailing "&" reads the digits as 32 bits (&HFFFF& is 65535); without it, four hex digits
    // or fewer are 16 bits (&HFFFF is -1).
    bool wide = digits > 0 && pos_ < source_.size() && source_[pos_] == '&';
    if (wide)
        ++pos_;
    token.text = source_.substr(start, pos_ - start);
    if (digits == 0) {
        token.kind = TokenKind::Invalid;
        token.error = SyntaxError;
        return;
    }
    if (overflow) {
        token.kind = TokenKind::Invalid;
        token.error = Overflow;
        return;
    }
    token.kind = TokenKind::Literal;
    const std::int32_t number = value <= 0xFFFFu && !wide
                                    ? static_cast<std::int16_t>(static_cast<std::uint16_t>(value))
                                    : static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    // Typed as the narrowest that holds the value: &H10& and &HFFFFFFFF& are Integers. -32768
    // is the one exception, a Long: its magnitude has no Integer (&H8000 is a Long, &H8001 not).
    if (number >= -32767 && number <= 32767)
        token.literal = Value::integer(static_cast<std::int16_t>(number));
    else
        token.literal = Value::longValue(number);
}

void Lexer::readString(Token &token)
{
    std::size_t start = pos_++;
    std::string text;
    for (;;) {
        if (pos_ >= source_.size() || source_[pos_] == '\r' || source_[pos_] == '\n') {
            token.kind = TokenKind::Invalid;
            token.error = UnterminatedString;
            token.text = source_.substr(start, pos_ - start);
            return;
        }
        char c = source_[pos_++];
        if (c == '"') {
            if (pos_ < source_.size() && source_[pos_] == '"') {
                text += '"';
                ++pos_;
                continue;
            }
            break;
        }
        text += c;
    }
    token.kind = TokenKind::Literal;
    token.text = source_.substr(start, pos_ - start);
    token.literal = Value::string(std::move(text));
}

void Lexer::readDate(Token &token)
{
    std::size_t start = pos_++;
    // One scan to the closing "#" or the line end, whichever comes first: the text after a
    // literal is never read for it, so many literals cost no more than their length.
    std::size_t close = pos_;
    for (; close < source_.size(); ++close)
        if (source_[close] == '#' || source_[close] == '\r' || source_[close] == '\n')
            break;
    if (close >= source_.size() || source_[close] != '#') {
        token.kind = TokenKind::Invalid;
        token.error = SyntaxError;
        token.text = source_.substr(start, 1);
        return;
    }
    pos_ = close + 1;
    token.text = source_.substr(start, pos_ - start);
    std::optional<double> serial = parseDateText(source_.substr(start + 1, close - start - 1));
    if (!serial) {
        token.kind = TokenKind::Invalid;
        token.error = SyntaxError;
        return;
    }
    token.kind = TokenKind::Literal;
    token.literal = Value::date(*serial);
}

void Lexer::readWord(Token &token)
{
    std::size_t start = pos_;
    while (pos_ < source_.size() && isWordChar(source_[pos_]))
        ++pos_;
    token.text = source_.substr(start, pos_ - start);
    token.kind = TokenKind::Identifier;
    if (token.text.size() > 8)
        return; // no keyword is longer
    // Only the keywords with the word's first letter, at most ten of the fifty-odd.
    for (const std::uint8_t k : keywordsByInitial[static_cast<std::size_t>(upper(token.text[0]) - 'A')]) {
        if (k == noKeyword)
            return;
        if (equalsUpper(token.text, keywords[k].name)) {
            token.kind = keywords[k].kind;
            return;
        }
    }
}

} // namespace eval
