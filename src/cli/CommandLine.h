#pragma once
// The batch tool's command line, read and checked whole before any file is
// read: `[--tables DIR] [--jobs N] INPUT... [ACTION]...`. A folder among the
// inputs stands for the *.cpt files in it, sorted by name.

#include <string>
#include <vector>

#include "cli/Cli.h"

namespace qm::cli {

struct InputFile {
    std::string path;  // as given, or the folder joined with the file's name
    std::string name;  // the file name alone: {name}, and the lines' prefix
    // Why a folder's entry cannot be read (a link that leads nowhere, a
    // pipe): the input fails with this message and the others go on.
    std::string problem;
};

struct CommandLine {
    std::string tablesFolder;
    unsigned jobs = 1;
    std::vector<InputFile> inputs;
    // More than one input, or a folder: every line names its input and a
    // summary line ends the run.
    bool several = false;
    std::vector<std::string> args;   // the whole command line
    std::size_t chainStart = 0;      // where the actions begin in args
    std::vector<std::size_t> outputAt;  // the output paths in args
    std::vector<Writes> outputKind;     // what each of them writes
};

// Reads and checks the command line: unknown options and actions, every
// action's arguments, the output paths of several inputs. Throws UsageError.
// Number options are read with the decimal separator of `commaDecimalMode`.
CommandLine readCommandLine(const std::vector<std::string>& args, const ActionRegistry& registry,
                            int commaDecimalMode);

// The command line for one input: {stem} and {name} replaced in its output paths.
std::vector<std::string> argsFor(const CommandLine& line, const InputFile& input);

}  // namespace qm::cli
