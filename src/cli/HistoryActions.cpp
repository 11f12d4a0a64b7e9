// The batch tool's --log: the record of what the actions before it changed,
// in the words of the window's History list. It is written at its place in
// the chain, like every other output, so a run that fails later still leaves
// the record of what was done up to there; a second --log further on writes
// the longer record.
#include "cli/Cli.h"

namespace qm::cli {

namespace {

bool writeLog(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string path = argumentOf(args, next, "--log");
    const bool force = takeFlag(args, next, "--force");
    if (ctx.checking) return true;
    return writeOutput(ctx, path, ctx.history.recordText(), force);
}

}  // namespace

void registerHistoryActions(ActionRegistry& r) {
    r.add({"--log", "--log FILE [--force]",
           "write the record of the changes made so far, one line each, as the window's Save History", writeLog,
           Writes::TextAtFirstArgument});
}

}  // namespace qm::cli
