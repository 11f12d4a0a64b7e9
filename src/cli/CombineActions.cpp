// The batch tool's --combine: File > Combine with the panel's OK pressed at
// once, on the default start value unless --start-at gives one.
#include <optional>

#include "cli/Cli.h"
#include "model/SafeFile.h"
#include "ops/Combine.h"

namespace qm::cli {

namespace {

bool combine(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string file = argumentOf(args, next, "--combine");
    std::optional<std::string> startAt;
    bool normalize = true;
    for (;;) {
        if (takeFlag(args, next, "--start-at"))
            startAt = numberArgument(ctx, args, next, "--start-at");
        else if (takeFlag(args, next, "--no-normalize"))
            normalize = false;
        else
            break;
    }
    if (ctx.checking) return true;
    if (startAt && !optionNumber(*startAt, ctx.sep)) {
        ctx.message("The start depth \"" + *startAt + "\" is not a number. The second file was not appended.");
        return false;
    }

    SecondSounding second;
    const CombineReadResult read = readSecondFile(file, ctx.sounding, ctx.tables, ctx.commaDecimalMode, second);
    for (const std::string& m : read.messages) ctx.message(m);
    if (!read.ok) return false;

    // The start value goes through the same text as txtStartDepth's.
    const std::string& startText = startAt ? *startAt : read.preview.startDepth;
    StepCapture capture(ctx.sounding);
    const AppendResult appended =
        appendSecondSounding(ctx.sounding, second, startText, normalize, ctx.commaDecimalMode, ctx.depthInFeet);
    for (const std::string& m : appended.messages) ctx.message(m);
    ctx.record(capture, steps::combine(capture.before(), ctx.sounding, fileTitleOf(file), startText));
    return appended.ok;
}

}  // namespace

void registerCombineActions(ActionRegistry& r) {
    r.add({"--combine", "--combine FILE [--start-at V] [--no-normalize]",
           "append a second sounding (default start: its first depth; normalization on)", combine});
}

}  // namespace qm::cli
