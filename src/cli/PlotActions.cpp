// --plot: the window's Export Log without a window. The log shows the
// sounding as it stands after the actions before it, with the main tracks
// (the window's optional tracks are a choice made on screen).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/LogDrawing.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "ops/ExportDate.h"
#include "ops/InterpretationTracks.h"
#include "ops/LogPage.h"
#include "ops/TrackScales.h"
#include "ops/WaterTable.h"
#include "ops/WriteConfirmations.h"

namespace qm::cli {

namespace {

const char* const kPlot = "--plot";
const char* const kDepthPerPage = "--depth-per-page";
const char* const kPageSize = "--page-size";
// A page must show a readable stretch of the sounding: a page of a few
// millimetres has no room between its depth ticks, and one of almost no
// depth at all puts the readings at positions no number can hold.
constexpr double kLeastDepthPerPage = 0.1;

const char* const kScale = "--scale";

bool runScale(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& text = argumentOf(args, next, kScale);
    const std::size_t eq = text.rfind('=');
    const std::optional<ValueRange> range =
        eq == std::string::npos ? std::nullopt : parseScale(text.substr(eq + 1), '.');
    if (!range || eq == 0)
        throw UsageError{std::string(kScale) + " takes TRACK=MIN:MAX with MIN below MAX, not " + text};
    if (ctx.checking) return true;
    ctx.scales.push_back({text.substr(0, eq), {range->low, range->high}});
    return true;
}

// The tracks' names, for a --scale that names none of them.
std::string trackNames(const ProfileData& p) {
    std::string names;
    for (const ProfileTrack& t : p.tracks) names += (names.empty() ? "" : ", ") + t.key;
    return names;
}

bool runPlot(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string out = argumentOf(args, next, kPlot);
    const std::optional<LogFormat> format = logFormatOf(out);
    if (!format) throw UsageError{std::string(kPlot) + " writes .pdf, .png or .svg, not " + out};
    LogRequest request;
    request.format = *format;
    bool force = false;
    // The options may follow OUT in any order.
    for (;;) {
        if (takeFlag(args, next, "--force")) {
            force = true;
        } else if (takeFlag(args, next, kDepthPerPage)) {
            const std::string given = args.size() > next ? args[next] : std::string();
            std::string text = numberArgument(ctx, args, next, kDepthPerPage);
            const std::optional<double> number = optionNumber(text, ctx.sep);
            if (!number) throw UsageError{std::string(kDepthPerPage) + " " + given + ": " + given + " is not a number"};
            const double metres = *number;
            if (!(metres >= kLeastDepthPerPage) || !std::isfinite(metres))
                throw UsageError{std::string(kDepthPerPage) + " takes a length in metres of at least " +
                                 numberText(static_cast<float>(kLeastDepthPerPage), ctx.sep) + ", not " + given};
            request.metresPerPage = metres;
        } else if (takeFlag(args, next, kPageSize)) {
            const std::string& text = argumentOf(args, next, kPageSize);
            const std::optional<PaperSize> paper = paperSizeOf(text);
            if (!paper) throw UsageError{std::string(kPageSize) + " takes A4 or Letter, not " + text};
            request.paper = *paper;
        } else {
            break;
        }
    }
    if (ctx.checking) return true;

    const Sounding& s = ctx.sounding;
    const std::optional<float> water = waterTableDepth(s.waterTableDepth);
    request.profile = buildProfile(s, ctx.tables, ctx.depthInFeet,
                                   water ? std::optional<double>(*water) : std::nullopt);
    for (const auto& [name, range] : ctx.scales)
        if (std::none_of(request.profile.tracks.begin(), request.profile.tracks.end(),
                         [&name](const ProfileTrack& t) { return trackNamed(t, name); })) {
            ctx.message(std::string(kScale) + " " + name + ": this sounding has no such track (it has " +
                        trackNames(request.profile) + ").");
            return false;
        }
    // The last --scale that names a track wins.
    applyScales(request.profile, [&ctx](const ProfileTrack& t) -> std::optional<ValueRange> {
        for (auto it = ctx.scales.rbegin(); it != ctx.scales.rend(); ++it)
            if (trackNamed(t, it->first)) return ValueRange{it->second.first, it->second.second};
        return std::nullopt;
    });
    request.tracks = logTracks(request.profile, [](int) { return false; });
    request.header = logHeaderFields(s, s.openedFileTitle, exportDate());
    // After --interpret the log shows qt with qc and all of its tracks.
    if (const std::optional<Interpretation> in = interpretationOf(ctx)) {
        addInterpretationTracks(request.profile, s, ctx.tables, *in, {true, true, true});
        request.tracks = logTracks(request.profile, [](int) { return false; });
        request.header.push_back(interpretationHeaderField(*in));
    }
    request.decimalSeparator = ctx.sep;

    const std::vector<LogPageSpan> spans = logPageSpans(request.profile, request.metresPerPage);
    if (spans.empty()) {
        ctx.message(tooManyLogPages());
        return false;
    }
    const std::vector<std::string> paths = logFilePaths(out, *format, spans.size());
    // Every page's file is checked before the first is written.
    for (const std::string& path : paths) {
        if (!force && fileExists(path)) {
            ctx.message(path + " exists already; add --force to replace it.");
            return false;
        }
    }
    std::vector<std::string> files;
    std::string error;
    drawLog(request, files, error);
    if (!error.empty() || files.size() != paths.size()) {
        ctx.message(error.empty() ? "The log of " + out + " could not be drawn." : error);
        return false;
    }
    // Every page goes into a temporary file first; only when all are whole
    // are they renamed into place, so a failure leaves the earlier log as
    // it was and adds no page.
    std::vector<FileToWrite> pages;
    for (std::size_t i = 0; i < paths.size(); ++i) pages.emplace_back(paths[i], files[i]);
    const FileResult written = writeFilesSafely(pages);
    if (!written.ok) {
        ctx.message(written.error);
        return false;
    }
    for (const std::string& path : paths) ctx.message(exportedTo(kLogExport, path));
    return true;
}

}  // namespace

void registerPlotActions(ActionRegistry& r) {
    r.add({kPlot, std::string(kPlot) + " OUT [" + kDepthPerPage + " METRES] [" + kPageSize + " A4|Letter] [--force]",
           "draw the log (header and profile) as PDF, PNG (300 dpi) or SVG by OUT's extension; "
           "several pages go to OUT-1.png, OUT-2.png, ... (QM_TODAY as for GEF)",
           runPlot, Writes::PagesAtFirstArgument});
    r.add({kScale, std::string(kScale) + " TRACK=MIN:MAX",
           "a track's value scale on the logs that follow (TRACK: qc, fs, u, Rf, a channel's name or number); "
           "repeatable",
           runScale});
}

}  // namespace qm::cli
