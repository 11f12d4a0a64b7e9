#pragma once
// Runs the batch tool in-process, as its main() would, and keeps what it
// printed: the status, stdout and stderr.

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "support/TestSupport.h"

namespace qm::test {

struct ToolRun {
    int status = -1;
    std::string out, err;

    std::vector<std::string> outLines() const { return lines(out); }
    std::vector<std::string> errLines() const { return lines(err); }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) result.push_back(l);
        return result;
    }
};

// The tool with `args`, reading the shipped tables unless told otherwise.
inline ToolRun runTool(std::vector<std::string> args, bool withTables = true) {
    if (withTables) args.insert(args.begin(), {"--tables", dataDir()});
    std::ostringstream out, err;
    ToolRun run;
    run.status = cli::runCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace qm::test
