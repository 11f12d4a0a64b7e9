// quillmere-cli: the batch tool. See Cli.h for what it does.
#include <clocale>
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // The decimal separator follows the user's locale, as in the window.
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    return qm::cli::runCli(args, std::cout, std::cerr);
}
