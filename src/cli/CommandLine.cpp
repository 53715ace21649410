#include "CommandLine.h"

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/ScriptControl.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

const char *const usageLine =
    "usage: numerette-eval [--decimals 0..9|auto] [--why] [--bare] [--line-buffered] [--] [EXPRESSION ...]";

namespace {

const char *const helpText =
    "Calculates expressions of the VBScript expression language as the Numerette calculator does.\n"
    "\n"
    "  --decimals N     decimal places of the results: 0 to 9, or auto (default 2)\n"
    "  --why            after \"Error\", the error's number and description\n"
    "  --bare           results without \"= \" and without thousands separators (1234.57)\n"
    "  --line-buffered  write each result out at once, also into a pipe (always so on a terminal)\n"
    "  --               ends the options, so that an expression may start with a minus sign\n"
    "  --help           this text\n"
    "  --version        the program's name and version\n"
    "\n"
    "Without EXPRESSION arguments, each line of standard input is one expression; blank lines\n"
    "are skipped, and a line longer than 1 MiB fails with \"Out of memory\".\n"
    "Exit status: 0 when every expression succeeded, 1 when any failed, 2 for bad usage or when\n"
    "the results could not be written.\n";

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
    bool bare = false;
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

bool parseOptions(std::span<const std::string_view> arguments, Options &options, std::string &problem)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view a = arguments[i];
        if (optionsEnded || a.empty() || a[0] != '-') {
            options.expressions.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--why") {
            options.why = true;
        } else if (a == "--bare") {
            options.bare = true;
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
    return line.find_first_not_of(" \t") == std::string_view::npos;
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

enum class LineRead { Line, TooLong, End };

// One line of `in` without its line end (LF, or CR LF). A line longer than `maxLineBytes` is
// read on to its end but not kept.
LineRead readLine(std::streambuf &in, std::string &line)
{
    line.clear();
    bool any = false;
    bool tooLong = false;
    for (;;) {
        const int c = in.sbumpc();
        if (c == std::char_traits<char>::eof())
            break;
        any = true;
        if (c == '\n')
            break;
        if (line.size() <= maxLineBytes) // one byte more, for the CR of a CR LF
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    if (!any)
        return LineRead::End;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return tooLong || line.size() > maxLineBytes ? LineRead::TooLong : LineRead::Line;
}

class Calculator
{
public:
    Calculator(const Options &options, std::ostream &out) : options_(options), out_(out) {}

    // False once the results can no longer be written.
    bool calculate(std::string_view expression)
    {
        eval::Calculation c = eval::calculateResultText(engine_, expression, options_.decimalPlaces);
        if (!c.ok)
            return fail(c.error);
        if (options_.bare)
            c.resultText = bareResult(c.resultText);
        c.resultText += '\n';
        return write(c.resultText);
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
        line_ += '\n';
        return write(line_);
    }

    bool anyFailed() const { return anyFailed_; }

private:
    bool write(const std::string &line)
    {
        out_.write(line.data(), static_cast<std::streamsize>(line.size()));
        if (options_.lineBuffered)
            out_.flush();
        return static_cast<bool>(out_);
    }

    const Options &options_;
    std::ostream &out_;
    eval::ScriptControl engine_; // one per run, so Rnd starts as the window's does
    std::string line_;
    bool anyFailed_ = false;
};

} // namespace

int runCommandLine(std::span<const std::string_view> arguments, std::istream &in, std::ostream &out,
                   std::ostream &err, bool outIsTerminal)
{
    Options options;
    std::string problem;
    if (!parseOptions(arguments, options, problem)) {
        err << "numerette-eval: " << problem << '\n' << usageLine << '\n';
        return 2;
    }
    int status = 0;
    errno = 0;
    if (options.help) {
        out << usageLine << "\n\n" << helpText;
    } else if (options.version) {
        out << "numerette-eval " << NUMERETTE_VERSION << '\n';
    } else {
        // A person at a terminal, or a program that waits for each answer, sees every result
        // as soon as it is there.
        options.lineBuffered = options.lineBuffered || outIsTerminal;
        Calculator calculator(options, out);
        bool writing = true;
        if (!options.expressions.empty()) {
            for (std::size_t i = 0; writing && i < options.expressions.size(); ++i)
                writing = calculator.calculate(options.expressions[i]);
        } else if (std::streambuf *input = in.rdbuf()) {
            std::string line;
            for (LineRead read; writing && (read = readLine(*input, line)) != LineRead::End;) {
                if (read == LineRead::TooLong)
                    writing = calculator.fail(eval::ScriptError(eval::OutOfMemory));
                else if (!isBlank(line))
                    writing = calculator.calculate(line);
            }
        }
        status = calculator.anyFailed() ? 1 : 0;
    }
    if (!out.flush()) {
        const int cause = errno;
        err << "numerette-eval: cannot write the results";
        if (cause != 0)
            err << ": " << std::strerror(cause);
        err << '\n';
        return 2;
    }
    return status;
}

} // namespace cli
