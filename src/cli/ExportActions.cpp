// --export-cpd: the export panel without a window. The chosen system is
// selected as its option button would be (the channels change unit at once,
// and the change stays with the sounding for the actions that follow), then
// the analog file is written as the panel's OK writes it.

#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/SafeFile.h"
#include "ops/AnalogExport.h"
#include "model/Units.h"
#include "ops/UnitSystems.h"

namespace qm::cli {

namespace {

const char* const kExportOption = "--export-cpd";
const char* const kSystemOption = "--system";

std::string systemChoices() {
    std::string names;
    for (const UnitSystemRow& row : unitSystemRows()) {
        if (!names.empty()) names += "|";
        names += row.cliName;
    }
    return names;
}

bool runExportCpd(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string out = argumentOf(args, next, kExportOption);
    std::optional<UnitSystem> system;
    bool force = false;
    // --system and --force may come in either order after OUT.
    for (;;) {
        if (takeFlag(args, next, "--force")) {
            force = true;
        } else if (takeFlag(args, next, kSystemOption)) {
            const std::string& name = argumentOf(args, next, kSystemOption);
            system = unitSystemFromCliName(name);
            if (!system) throw UsageError{"unknown unit system '" + name + "' (" + systemChoices() + ")"};
        } else {
            break;
        }
    }
    if (!system) throw UsageError{std::string(kExportOption) + " needs " + kSystemOption + " " + systemChoices()};
    if (ctx.checking) return true;

    // The unit system's picks, each a step of its own as in the window,
    // where each goes through its channel's unit box.
    for (const UnitPick& pick : unitPicksFor(ctx.sounding, ctx.tables, *system)) {
        StepCapture capture(ctx.sounding);
        const std::string refusal = changeChannelUnit(ctx.sounding, ctx.tables, pick.channel, pick.unitIndex);
        if (!refusal.empty()) ctx.message(refusal);
        ctx.record(capture, steps::channelUnit(capture.before(), ctx.sounding, ctx.tables, pick.channel));
    }

    AnalogExportRequest request;
    request.system = *system;
    request.fileTitle = fileTitleOf(out);
    request.texts = headerTextsOf(ctx.sounding);
    request.depthInFeet = ctx.depthInFeet;
    request.sep = ctx.sep;

    std::string bytes;
    const OpResult built = analogFileText(ctx.sounding, request, bytes);
    for (const std::string& m : built.messages) ctx.message(m);
    if (!built.ok) return false;
    return writeOutput(ctx, out, bytes, force);
}

}  // namespace

void registerExportActions(ActionRegistry& r) {
    r.add({kExportOption, std::string(kExportOption) + " OUT " + kSystemOption + " " + systemChoices() + " [--force]",
           "write the analog CPT data file (.cpd) in one of the five unit systems; the channels take its units",
           runExportCpd, Writes::FileAtFirstArgument});
}

}  // namespace qm::cli
