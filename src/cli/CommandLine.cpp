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
    "usage: numerette-eval [--decimals 0..9|auto] [--why] [--strict] [--bare] [--line-buffered] [--] [EXPRESSION ...]";

namespace {

const char *const helpText =
    "Calculates expressions of the VBScript expression language as the Numerette calculator does.\n"
    "\n"
    "  --decimals N     decimal places of the results: 0 to 9, or auto (default 2)\n"
    "  --why            after \"Error\", the error's number and description; and a warning on\n"
    "                   standard error for names read as undefined variables (Empty, so 0)\n"
    "  --strict         a name read as an undefined variable is an error: 500 Variable is undefined\n"
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

struct Options
{
    int decimalPlaces = eval::DecimalPlacesAtStart;
    bool why = false;
    bool strict = false;
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
        } else if (a == "--strict") {
            options.strict = true;
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

// "Type mismatch: 'NAME'" with a long NAME cut to its first bytes and "...".
std::string shownDescription(const std::string &description)
{
    const std::size_t open = description.find(": '");
    if (open == std::string::npos || description.back() != '\'')
        return description;
    const std::size_t nameStart = open + 3;
    const std::size_t nameLength = description.size() - 1 - nameStart;
    if (nameLength <= maxShownName + 3)
        return description;
    std::size_t cut = nameStart + maxShownName;
    while (cut > nameStart && (static_cast<unsigned char>(description[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 sequence
    return description.substr(0, cut) + "...'";
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
    Calculator(const Options &options, std::ostream &out, std::ostream &err)
        : options_(options), out_(out), err_(err) {}

    // False once the results can no longer be written.
    bool calculate(std::string_view expression)
    {
        eval::Calculation c = eval::calculateResultText(engine_, expression, options_.decimalPlaces);
        // The names were read before any failure, so the language with Option Explicit would
        // have stopped at the first of them.
        if (options_.strict && !c.undefinedNames.empty())
            return fail(eval::ScriptError(eval::VariableIsUndefined, c.undefinedNames.front()));
        if (options_.why && !c.undefinedNames.empty())
            err_ << "numerette-eval: warning: " << eval::undefinedNamesText(c.undefinedNames) << '\n';
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
    std::ostream &err_;
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
        Calculator calculator(options, out, err);
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
