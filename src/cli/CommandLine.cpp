#include "CommandLine.h"

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/ScriptControl.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

const char *const usageLine = "usage: numerette-eval [--decimals 0..9|auto] [--why] [--] [EXPRESSION ...]";

namespace {

const char *const helpText =
    "Calculates expressions of the VBScript expression language as the Numerette calculator does.\n"
    "\n"
    "  --decimals N   decimal places of the results: 0 to 9, or auto (default 2)\n"
    "  --why          after \"Error\", the error's number and description\n"
    "  --             ends the options, so that an expression may start with a minus sign\n"
    "  --help         this text\n"
    "\n"
    "Without EXPRESSION arguments, each line of standard input is one expression.\n"
    "Exit status: 0 when every expression succeeded, 1 when any failed, 2 for bad usage.\n";

struct Options
{
    int decimalPlaces = eval::DecimalPlacesAtStart;
    bool why = false;
    bool help = false;
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
        } else if (a == "--help" || a == "-h") {
            options.help = true;
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

class Calculator
{
public:
    Calculator(const Options &options, std::ostream &out) : options_(options), out_(out) {}

    void calculate(std::string_view expression)
    {
        eval::Calculation c = eval::calculateResultText(engine_, expression, options_.decimalPlaces);
        if (c.ok) {
            c.resultText += '\n';
            out_.write(c.resultText.data(), static_cast<std::streamsize>(c.resultText.size()));
            return;
        }
        anyFailed_ = true;
        line_ = "Error";
        if (options_.why) {
            line_ += ": ";
            line_ += std::to_string(c.error.number);
            line_ += ' ';
            line_ += c.error.description;
        }
        line_ += '\n';
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
    }

    bool anyFailed() const { return anyFailed_; }

private:
    const Options &options_;
    std::ostream &out_;
    eval::ScriptControl engine_; // one per run, so Rnd starts as the window's does
    std::string line_;
    bool anyFailed_ = false;
};

} // namespace

int runCommandLine(std::span<const std::string_view> arguments, std::istream &in, std::ostream &out,
                   std::ostream &err)
{
    Options options;
    std::string problem;
    if (!parseOptions(arguments, options, problem)) {
        err << "numerette-eval: " << problem << '\n' << usageLine << '\n';
        return 2;
    }
    if (options.help) {
        out << usageLine << "\n\n" << helpText;
        return 0;
    }
    Calculator calculator(options, out);
    if (!options.expressions.empty()) {
        for (std::string_view e : options.expressions)
            calculator.calculate(e);
    } else {
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            calculator.calculate(line);
        }
    }
    out.flush();
    if (!out) {
        err << "numerette-eval: cannot write the results\n";
        return 2;
    }
    return calculator.anyFailed() ? 1 : 0;
}

} // namespace cli
