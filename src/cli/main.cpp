#include "CommandLine.h"
#include "LineReader.h"

#include <unistd.h>

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    try {
        std::vector<std::string_view> arguments(argv + 1, argv + argc);
        // Standard input is read only when no expression is given, with read(2): a failed read
        // is an error number to report, not an exception.
        cli::DescriptorSource input(STDIN_FILENO);
        return cli::runCommandLine(arguments, input, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1);
    } catch (const std::exception &e) {
        // Whatever is left (memory for the arguments): what was calculated still goes out.
        std::cout.flush();
        std::cerr << "numerette-eval: " << e.what() << '\n';
        return 2;
    }
}
