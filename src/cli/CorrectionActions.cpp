// The batch tool's corrections: --auto-clean, --shift, --remove-negatives,
// --start-depth, --increment, --depth-format, --gps and --clear-gps. Each runs
// the operation of the matching window command, with the panel's OK pressed
// on the given value.
#include <cmath>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/NumberText.h"
#include "model/Units.h"
#include "ops/AutoClean.h"
#include "ops/ChannelShift.h"
#include "ops/DepthAxis.h"
#include "ops/GpsSentence.h"

namespace qm::cli {

namespace {

// Shows the operation's messages and, as the window's RefreshDisplay does,
// brings the page depth column up to date.
bool finish(CliContext& ctx, const OpResult& result) {
    for (const std::string& m : result.messages) ctx.message(m);
    updatePageDepths(ctx.sounding, ctx.depthInFeet);
    return result.ok;
}

bool autoCleanAction(CliContext& ctx, const std::vector<std::string>&, std::size_t&) {
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    const AutoCleanResult result = autoClean(ctx.sounding);
    const bool ok = finish(ctx, result);
    ctx.record(capture, steps::autoClean(ctx.sounding, result, ctx.sep));
    return ok;
}

// --shift C=OFFSET: the shift panel with OFFSET typed into channel C's box
// and "0" in every other box.
bool shiftAction(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& assignment = argumentOf(args, next, "--shift");
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) throw UsageError{"--shift takes C=OFFSET, not " + assignment};
    const long channel = wholeNumberOption(ctx, assignment.substr(0, eq), "--shift");
    std::string offset = assignment.substr(eq + 1);
    optionNumber(offset, ctx.sep);
    if (ctx.checking) return true;
    const Sounding& s = ctx.sounding;
    if (channel < 1 || channel > s.channelCount) {
        ctx.message("There is no channel " + assignment.substr(0, eq) + ": the sounding has " + numberText(s.channelCount) +
                    " channels.");
        return false;
    }
    const int c = static_cast<int>(channel);
    std::vector<std::string> offsets(static_cast<std::size_t>(c), "0");
    offsets.back() = offset;
    StepCapture capture(ctx.sounding);
    const bool ok = finish(ctx, shiftReadings(ctx.sounding, offsets, ctx.sep));
    ctx.record(capture, steps::shift(ctx.sounding, ctx.tables, offsets, ctx.sep));
    return ok;
}

bool removeNegativesAction(CliContext& ctx, const std::vector<std::string>&, std::size_t&) {
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    const bool ok = finish(ctx, removeNegatives(ctx.sounding));
    ctx.record(capture, steps::removeNegatives(capture.before(), ctx.sounding));
    return ok;
}

bool startDepthAction(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string value = numberArgument(ctx, args, next, "--start-depth");
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    const bool ok = finish(ctx, changeStartDepth(ctx.sounding, value, ctx.sep));
    ctx.record(capture, steps::startDepth(capture.before(), ctx.sounding, ctx.sep));
    return ok;
}

bool incrementAction(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string value = numberArgument(ctx, args, next, "--increment");
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    const bool ok = finish(ctx, changeIncrement(ctx.sounding, value, ctx.sep));
    ctx.record(capture, steps::increment(capture.before(), ctx.sounding, ctx.sep));
    return ok;
}

bool depthFormatAction(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& format = argumentOf(args, next, "--depth-format");
    if (format != "depth" && format != "elevation")
        throw UsageError{"--depth-format takes depth or elevation, not " + format};
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    setDepthFormat(ctx.sounding, format == "depth" ? kDepthFormatDepth : kDepthFormatElevation);
    OpResult done;
    done.ok = true;
    finish(ctx, done);
    ctx.record(capture, steps::depthFormat(capture.before(), ctx.sounding));
    return true;
}

// --gps SENTENCE: the GPS dialog opened on SENTENCE's fields, then OK, so the
// stored sentence has the dialog's own layout. A sentence without latitude
// or longitude empties the stored one, as OK does, and fails the run.
bool gpsAction(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& sentence = argumentOf(args, next, "--gps");
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    const GpsOkResult accepted = acceptGpsEntry(ctx.sounding, gpsEntryFromFields(decodeGps(sentence)));
    for (const std::string& m : accepted.messages) ctx.message(m);
    ctx.record(capture, steps::gpsPosition(capture.before(), ctx.sounding));
    return accepted.ok;
}

bool clearGpsAction(CliContext& ctx, const std::vector<std::string>&, std::size_t&) {
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    clearGps(ctx.sounding);
    ctx.record(capture, steps::clearGps(capture.before()));
    return true;
}

}  // namespace

void registerCorrectionActions(ActionRegistry& r) {
    r.add({"--auto-clean", "--auto-clean",
           "add a missing pore-pressure channel, snap the depths to the increment, fill depth gaps",
           autoCleanAction});
    r.add({"--shift", "--shift C=OFFSET", "add OFFSET (in the channel's shown unit) to channel C; repeatable",
           shiftAction});
    r.add({"--remove-negatives", "--remove-negatives", "replace negative and zero readings by a small positive value",
           removeNegativesAction});
    r.add({"--start-depth", "--start-depth V", "move every depth so that the first reading is at V",
           startDepthAction});
    r.add({"--increment", "--increment V", "correct the depth increment to V, rescaling depths and speeds",
           incrementAction});
    r.add({"--depth-format", "--depth-format depth|elevation", "the depth axis: depth or elevation",
           depthFormatAction});
    r.add({"--gps", "--gps SENTENCE", "set the GPS position from a GGA sentence, as the GPS dialog's OK",
           gpsAction});
    r.add({"--clear-gps", "--clear-gps", "clear the GPS position", clearGpsAction});
}

}  // namespace qm::cli
