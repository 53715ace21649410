#include "CommandLine.h"

#include "LineReader.h"

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/ScriptControl.h"
#include "eval/Utf16Text.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

const char *const usageLine =
    "usage: numerette-eval [--decimals 0..9|auto] [--why] [--strict] [--bare] [--values] [--line-buffered] [--] [EXPRESSION ...]";

namespace {

const char *const helpText =
    "Calculates expressions of the VBScript expression language as the Numerette calculator does.\n"
    "\n"
    "  --decimals N, --decimals=N\n"
    "                   decimal places of the results: 0 to 9, or auto (default 2)\n"
    "  --why            after \"Error\", the error's number and description; and a warning on\n"
    "                   standard error for names read as undefined variables (Empty, so 0)\n"
    "  --strict         a name read as an undefined variable is an error: 500 Variable is undefined\n"
    "  --bare           results without \"= \" and without thousands separators (1234.57)\n"
    "  --values         a result that is not a number as the language writes it: a date\n"
    "                   (6/13/2024), a text as itself, a Boolean (True)\n"
    "  --line-buffered  write each result out at once, also into a pipe (always so on a terminal)\n"
    "  --               ends the options, so that an expression may start with a minus sign\n"
    "  -h, --help       this text\n"
    "  --version        the program's name, version and licence\n"
    "Long options may be shortened to any unambiguous beginning (--dec=4).\n"
    "\n"
    "Without EXPRESSION arguments, each line of standard input is one expression (UTF-8; a\n"
    "byte-order mark at the start is skipped); blank lines are skipped, a line that is not\n"
    "UTF-8 text fails, and a line longer than 1 MiB fails with \"Out of memory\".\n"
    "Exit status: 0 when every expression succeeded, 1 when any failed, 2 for bad usage or when\n"
    "the expressions could not be read or the results could not be written.\n";

const char *const versionText =
    "Copyright (C) 2026 The Numerette project\n"
    "License MIT: <https://opensource.org/licenses/MIT>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// The long options, for telling which one a shortened name means.
constexpr std::string_view longOptions[] = {"decimals", "why", "strict", "bare", "values", "line-buffered", "help", "version"};

// No expression is that long; the bound keeps one endless line from taking all memory.
constexpr std::size_t maxLineBytes = std::size_t(1) << 20;
// An identifier named in an error description is cut to this many bytes, then "...".
constexpr std::size_t maxShownName = 40;
// Any other description (Err.Raise takes any text) likewise, beyond the longest of the language's.
constexpr std::size_t maxShownDescription = 200;

struct Options
{
    int decimalPlaces = eval::DecimalPlacesAtStart;
    bool why = false;
    bool strict = false;
    bool bare = false;
    bool values = false;
    bool lineBuffered = false;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> expressions;
};

bool parseDecimals(std::string_view text, int &places)
{
    if (text == "auto") {
        places = eval::DecimalPlacesAuto;
        return true;
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
        places = text[0] - '0';
        return true;
    }
    return false;
}

// "--dec=4" as "--decimals=4": a long option shortened to a beginning that only one option
// has. Anything else stays as it is; `problem` is set when more than one option begins so.
std::string expandLongOption(std::string_view argument, std::string &problem)
{
    if (!argument.starts_with("--") || argument.size() == 2)
        return std::string(argument);
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(2, equals == std::string_view::npos ? equals : equals - 2);
    std::string_view match;
    std::string candidates;
    for (std::string_view option : longOptions) {
        if (option == name)
            return std::string(argument);
        if (option.starts_with(name)) {
            candidates += candidates.empty() ? " (--" : ", --";
            candidates += option;
            match = match.empty() ? option : std::string_view("?");
        }
    }
    if (match == "?") {
        problem = "option '" + std::string(argument.substr(0, equals)) + "' is ambiguous" + candidates + ")";
        return std::string(argument);
    }
    if (match.empty())
        return std::string(argument);
    std::string expanded = "--" + std::string(match);
    if (equals != std::string_view::npos)
        expanded += argument.substr(equals);
    return expanded;
}

bool parseOptions(std::span<const std::string_view> arguments, Options &options, std::string &problem)
{
    bool optionsEnded = false;
    std::string expanded;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view a = arguments[i];
        if (!optionsEnded) {
            expanded = expandLongOption(a, problem);
            if (!problem.empty())
                return false;
            a = expanded;
        }
        if (optionsEnded || a.empty() || a[0] != '-') {
            options.expressions.push_back(arguments[i]);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--why") {
            options.why = true;
        } else if (a == "--strict") {
            options.strict = true;
        } else if (a == "--bare") {
            options.bare = true;
        } else if (a == "--values") {
            options.values = true;
        } else if (a == "--line-buffered") {
            options.lineBuffered = true;
        } else if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--decimals" || a.starts_with("--decimals=")) {
            std::string_view value;
            if (a == "--decimals") {
                if (i + 1 >= arguments.size()) {
                    problem = "--decimals needs a value";
                    return false;
                }
                value = arguments[++i];
            } else {
                value = a.substr(11);
            }
            if (!parseDecimals(value, options.decimalPlaces)) {
                problem = "--decimals takes 0 to 9 or auto, not '" + std::string(value) + "'";
                return false;
            }
        } else {
            problem = "unknown option '" + std::string(a) + "' (use -- before an expression that starts with -)";
            return false;
        }
    }
    return true;
}

// Only spaces and tabs, or nothing: a line to skip.
bool isBlank(std::string_view line)
{
    for (const char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

// The copy-result button's text: every ",", " " and "=" removed ("= 1,234.57" gives "1234.57").
std::string bareResult(std::string_view resultText)
{
    std::string bare;
    bare.reserve(resultText.size());
    for (char c : resultText)
        if (c != ',' && c != ' ' && c != '=')
            bare += c;
    return bare;
}

// The first `limit` bytes of `text`, not cutting a UTF-8 sequence, then "..."; a text at most
// three bytes longer is kept whole.
std::string cutText(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit + 3)
        return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "...";
}

// The text on one line: line breaks and other control characters (C0, DEL, C1, and the Unicode
// line and paragraph separators) as escapes, "\n" or "\x1B" or "\u2028", and a backslash doubled
// so that an escape cannot be mistaken for the text.
std::string oneLine(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\t') {
            line += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            line += "\\x";
            line += hex[c >> 4];
            line += hex[c & 0xF];
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080 to U+009F
            line += "\\u00";
            line += hex[next >> 4];
            line += hex[next & 0xF];
            ++i;
        } else if (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) { // U+2028, U+2029
            line += third == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            line += static_cast<char>(c);
        }
    }
    return line;
}

// An error's description as one line of the output: "Type mismatch: 'NAME'" with a long NAME
// cut to its first bytes and "...", any other long description cut the same way, and control
// characters escaped. One result is one line, whatever Err.Raise was given.
std::string shownDescription(const std::string &description)
{
    const std::size_t open = description.find(": '");
    if (open != std::string::npos && open < maxShownDescription && description.size() > open + 3 &&
        description.back() == '\'') {
        const std::size_t nameStart = open + 3;
        const std::string_view name = std::string_view(description).substr(nameStart, description.size() - 1 - nameStart);
        return oneLine(description.substr(0, nameStart) + cutText(name, maxShownName) + "'");
    }
    return oneLine(cutText(description, maxShownDescription));
}

class Calculator
{
public:
    Calculator(const Options &options, std::ostream &out, std::ostream &err)
        : options_(options), out_(out), err_(err) {}

    // False once the results can no longer be written.
    bool calculate(std::string_view expression)
    {
        eval::Calculation c = options_.values
                                  ? eval::calculateValueText(engine_, expression, options_.decimalPlaces)
                                  : eval::calculateResultText(engine_, expression, options_.decimalPlaces);
        // The names were read before any failure, so the language with Option Explicit would
        // have stopped at the first of them.
        if (options_.strict && !c.undefinedNames.empty())
            return fail(eval::ScriptError(eval::VariableIsUndefined, c.undefinedNames.front()));
        if (options_.why && !c.undefinedNames.empty())
            err_ << "numerette-eval: warning: " << eval::undefinedNamesText(c.undefinedNames) << '\n';
        if (!c.ok)
            return fail(c.error);
        if (options_.bare)
            c.resultText = c.isText ? c.resultText.substr(2) : bareResult(c.resultText);
        return write(c.resultText);
    }

    // A line the engine is not given: "Error", and with --why the reason.
    bool refuse(std::string_view reason)
    {
        anyFailed_ = true;
        line_ = options_.why ? "Error: " + std::string(reason) : "Error";
        return write(line_);
    }

    bool fail(const eval::ScriptError &error)
    {
        anyFailed_ = true;
        line_ = "Error";
        if (options_.why) {
            line_ += ": ";
            line_ += std::to_string(error.number);
            line_ += ' ';
            line_ += shownDescription(error.description);
        }
        return write(line_);
    }

    bool anyFailed() const { return anyFailed_; }

    // Hands what is gathered to the stream; false once the results can no longer be written.
    bool flush()
    {
        out_.write(pending_.get(), static_cast<std::streamsize>(pendingSize_));
        pendingSize_ = 0;
        if (options_.lineBuffered)
            out_.flush();
        return static_cast<bool>(out_);
    }

private:
    // One line of output. Lines are gathered in a block of fixed size and handed to the stream a
    // block at a time: a stream write per line cost more than many a calculation, and a copy
    // into the block costs less than growing a string.
    bool write(std::string_view line)
    {
        if (line.size() >= pendingBlock - pendingSize_) {
            if (!flush())
                return false;
            if (line.size() >= pendingBlock) { // a long text goes to the stream as it is
                out_.write(line.data(), static_cast<std::streamsize>(line.size()));
                out_.put('\n');
                return options_.lineBuffered ? flush() : static_cast<bool>(out_);
            }
        }
        std::memcpy(pending_.get() + pendingSize_, line.data(), line.size());
        pendingSize_ += line.size();
        pending_[pendingSize_++] = '\n';
        if (options_.lineBuffered)
            return flush();
        return true;
    }

    static constexpr std::size_t pendingBlock = 16384;

    const Options &options_;
    std::ostream &out_;
    std::ostream &err_;
    eval::ScriptControl engine_; // one per run, so Rnd starts as the window's does
    std::string line_;
    std::unique_ptr<char[]> pending_ = std::make_unique_for_overwrite<char[]>(pendingBlock);
    std::size_t pendingSize_ = 0;
    bool anyFailed_ = false;
};

// Text the engine may be given: bytes that are not UTF-8 are refused here, with a word to say
// which line, rather than read as something they are not.
// `where` and `number` name the text in the message: "line 3", "argument 2".
bool calculateText(Calculator &calculator, std::string_view expression, const char *where,
                   std::int64_t number, std::ostream &err)
{
    if (eval::isUtf8(expression))
        return calculator.calculate(expression);
    err << "numerette-eval: " << where << ' ' << number << ": not UTF-8 text\n";
    return calculator.refuse("not UTF-8 text");
}

} // namespace

int runCommandLine(std::span<const std::string_view> arguments, std::istream &in, std::ostream &out,
                   std::ostream &err, bool outIsTerminal)
{
    StreamSource source(in);
    return runCommandLine(arguments, source, out, err, outIsTerminal);
}

int runCommandLine(std::span<const std::string_view> arguments, ByteSource &in, std::ostream &out,
                   std::ostream &err, bool outIsTerminal)
{
    Options options;
    std::string problem;
    if (!parseOptions(arguments, options, problem)) {
        err << "numerette-eval: " << problem << '\n' << usageLine << '\n';
        return 2;
    }
    int status = 0;
    int readError = 0;
    errno = 0;
    if (options.help) {
        out << usageLine << "\n\n" << helpText;
    } else if (options.version) {
        out << "numerette-eval " << NUMERETTE_VERSION << '\n' << versionText;
    } else {
        // A person at a terminal, or a program that waits for each answer, sees every result
        // as soon as it is there.
        options.lineBuffered = options.lineBuffered || outIsTerminal;
        Calculator calculator(options, out, err);
        bool writing = true;
        if (!options.expressions.empty()) {
            for (std::size_t i = 0; writing && i < options.expressions.size(); ++i)
                writing = calculateText(calculator, options.expressions[i], "argument",
                                        static_cast<std::int64_t>(i + 1), err);
        } else {
            LineReader reader(in, maxLineBytes);
            std::string_view line;
            std::int64_t number = 0;
            for (LineReader::Status read; writing && (read = reader.next(line)) != LineReader::Status::End;) {
                ++number;
                if (read == LineReader::Status::Failed) {
                    readError = reader.error();
                    errno = 0; // what follows names the write's reason only
                    break;
                }
                if (read == LineReader::Status::TooLong)
                    writing = calculator.fail(eval::ScriptError(eval::OutOfMemory));
                else if (!isBlank(line))
                    writing = calculateText(calculator, line, "line", number, err);
            }
        }
        calculator.flush(); // what was calculated goes out, also before a failed read
        status = calculator.anyFailed() ? 1 : 0;
    }
    // The results calculated before a failed read are written all the same.
    const bool written = static_cast<bool>(out.flush());
    const int writeError = errno;
    if (readError != 0) {
        err << "numerette-eval: cannot read the expressions: " << std::strerror(readError) << '\n';
        status = 2;
    }
    if (!written) {
        err << "numerette-eval: cannot write the results";
        if (writeError != 0)
            err << ": " << std::strerror(writeError);
        err << '\n';
        return 2;
    }
    return status;
}

} // namespace cli
