#include "CommandLine.h"

#include <unistd.h>

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr); // runCommandLine flushes (each line on a terminal), not every read
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return cli::runCommandLine(arguments, std::cin, std::cout, std::cerr,
                               ::isatty(STDOUT_FILENO) == 1);
}
