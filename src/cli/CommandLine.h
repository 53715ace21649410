#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace cli {

class ByteSource;

// numerette-eval [--decimals 0..9|auto] [--why] [--strict] [--bare] [--values] [--line-buffered] [--] [EXPRESSION ...]
// Each expression (or, without any, each line of `in` that is not blank) is calculated as the
// calculator's calculate command does and printed as one line: its result text, or "Error"
// ("Error: 11 Division by zero" with --why, which also warns on `err` of names read as
// undefined variables; --strict makes those an error, 500 "Variable is undefined"). Returns the
// exit status: 0 when every expression succeeded, 1 when any failed (a text that is not UTF-8
// too), 2 for bad usage (with a one-line usage message on `err`) or
// when `out` failed. With `outIsTerminal` every line is flushed as it is written.
// A failed read of `in` is reported on `err` with the system's reason, after the results
// calculated before it are written; the status is then 2.
int runCommandLine(std::span<const std::string_view> arguments, ByteSource &in, std::ostream &out,
                   std::ostream &err, bool outIsTerminal = false);
int runCommandLine(std::span<const std::string_view> arguments, std::istream &in, std::ostream &out,
                   std::ostream &err, bool outIsTerminal = false);

extern const char *const usageLine;

} // namespace cli
