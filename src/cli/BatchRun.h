#pragma once
// Runs the chain of actions on every input of a command line: one input on
// the calling thread, printing as it goes, exactly as a run of one file
// always did; several on a pool of threads, each input with its own
// sounding, its lines kept together and printed in input order.

#include <iosfwd>

#include "cli/Cli.h"
#include "cli/CommandLine.h"

namespace qm::cli {

// What every input shares: read once before the first input.
struct RunSettings {
    ChannelTypeTable tables;
    int commaDecimalMode = 0;
};

// Returns the exit status: kExitOk when every input succeeded, else kExitFailed.
int runInputs(const CommandLine& line, const ActionRegistry& registry, const RunSettings& settings,
              std::ostream& out, std::ostream& err, bool showProgress);

}  // namespace qm::cli
