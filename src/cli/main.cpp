// quillmere-cli: the batch tool. See Cli.h for what it does.
#include <unistd.h>

#include <clocale>
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // The decimal separator follows the user's locale, as in the window.
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    // The progress line of a run of many inputs is for a person watching.
    return qm::cli::runCli(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
