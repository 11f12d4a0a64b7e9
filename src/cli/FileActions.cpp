// The batch tool's file and display actions: --info, --page, --units,
// --depth-units, --digits and --save.
#include <algorithm>
#include <ostream>

#include "cli/Cli.h"
#include "cli/TerminalText.h"
#include "model/NumberText.h"
#include "model/PageText.h"
#include "model/SafeFile.h"
#include "model/SoundingWriter.h"
#include "model/Units.h"

namespace qm::cli {

namespace {

bool info(CliContext& ctx, const std::vector<std::string>&, std::size_t&) {
    if (ctx.checking) return true;
    const Sounding& s = ctx.sounding;
    std::ostream& o = ctx.out;
    // Header texts come from the file: shown, not obeyed, on a terminal.
    const auto t = [](const std::string& text) { return terminalText(text); };
    o << "File: " << t(s.openedFileTitle) << '\n'
      << "Layout: " << (s.depthDecimals == 3 ? "newer (3-digit depths)" : "older (2-digit depths)") << '\n'
      << "Company Name: " << t(s.companyName) << '\n'
      << "Operator: " << t(s.operatorName) << '\n'
      << "Cone Number: " << t(s.coneNumber) << '\n'
      << "Location: " << t(s.location) << '\n'
      << "Job Number: " << t(s.jobNumber) << '\n'
      << "Hole Number: " << t(s.holeNumber) << '\n'
      << "Date and Time: " << t(s.dateAndTime) << '\n'
      << "Header: " << t(s.header) << '\n'
      << "Footnote 1: " << t(s.footnote1) << '\n'
      << "Footnote 2: " << t(s.footnote2) << '\n'
      << "GPS: " << t(s.gpsSentence) << '\n'
      << "Water Table Depth: " << t(s.waterTableDepth) << '\n'
      << "Channels: " << s.channelCount << '\n';
    for (int c = 1; c <= s.channelCount; ++c)
        o << "  " << c << '\t' << t(s.channelName[c]) << "\ttype " << s.channelType[c] << '\t'
          << ctx.tables.name(s.channelType[c], s.channelUnitIndex[c]) << '\n';
    o << "Readings: " << s.readingCount << '\n'
      << "Depth format: " << (s.depthFormat == 0 ? "depth" : "elevation") << '\n'
      << "Depth increment: " << numberText(s.depthIncrement, ctx.sep) << '\n'
      << "NoDataLeadCount: " << s.noDataLeadCount << '\n'
      << "Final baseline: " << (s.hasFinalBaseline ? "yes" : "no") << '\n';
    if (const std::optional<Interpretation> in = interpretationOf(ctx)) {
        o << "Interpretation: " << interpretationSummary(*in) << '\n';
        for (const std::string& note : in->notes) o << "  " << note << '\n';
    }
    return true;
}

bool page(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    Sounding& s = ctx.sounding;
    if (next < args.size() && args[next].rfind("--", 0) != 0) {
        const long index = wholeNumberOption(ctx, args[next++], "--page");
        if (ctx.checking) return true;
        const long first = s.noDataLeadCount + 1;
        if (index < first || index > std::max<long>(first, s.readingCount)) {
            ctx.message("Reading " + std::to_string(index) + " cannot be the current reading: choose one from " +
                        std::to_string(first) + " to " + std::to_string(s.readingCount) + ".");
            return false;
        }
        // As if the user had pressed Down or Up from where the cursor is: the
        // cursor row follows the index until the bottom or the top row.
        const long row = s.pageRow + (index - s.dataIndex);
        s.pageRow = static_cast<int16_t>(std::clamp<long>(row, 1, 24));
        s.dataIndex = static_cast<int32_t>(index);
    }
    if (ctx.checking) return true;
    updatePageDepths(s, ctx.depthInFeet);
    const auto rows = pageRowTexts(s, ctx.tables, ctx.sep);
    for (int r = 1; r <= kPageRows; ++r) {
        ctx.out << rows[r].depth;
        for (int c = 1; c <= s.channelCount; ++c) ctx.out << '\t' << rows[r].channel[c];
        ctx.out << '\t' << rows[r].speed << '\n';
    }
    return true;
}

bool units(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& assignment = argumentOf(args, next, "--units");
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) throw UsageError{"--units takes C=NAME, not " + assignment};
    const long c = wholeNumberOption(ctx, assignment.substr(0, eq), "--units");
    const std::string name = assignment.substr(eq + 1);
    if (ctx.checking) return true;
    Sounding& s = ctx.sounding;
    if (c < 1 || c > s.channelCount) {
        ctx.message("There is no channel " + std::to_string(c) + ": the sounding has " +
                    std::to_string(s.channelCount) + " channels.");
        return false;
    }
    const int u = findUnit(s, ctx.tables, static_cast<int>(c), name);
    if (u == 0) {
        ctx.message("Channel " + std::to_string(c) + " (" + s.channelName[c] + ") has no unit " + name + ".");
        return false;
    }
    StepCapture capture(s);
    const std::string problem = changeChannelUnit(s, ctx.tables, static_cast<int>(c), u);
    ctx.record(capture, steps::channelUnit(capture.before(), s, ctx.tables, static_cast<int>(c)));
    if (!problem.empty()) {
        ctx.message(problem);
        return false;
    }
    return true;
}

bool depthUnits(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& unit = argumentOf(args, next, "--depth-units");
    if (unit != "m" && unit != "ft") throw UsageError{"--depth-units takes m or ft, not " + unit};
    if (ctx.checking) return true;
    ctx.depthInFeet = unit == "ft";
    updatePageDepths(ctx.sounding, ctx.depthInFeet);
    return true;
}

bool digits(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string& d = argumentOf(args, next, "--digits");
    if (d != "2" && d != "3") throw UsageError{"--digits takes 2 or 3, not " + d};
    if (ctx.checking) return true;
    StepCapture capture(ctx.sounding);
    ctx.sounding.depthDecimals = static_cast<int16_t>(d == "2" ? 2 : 3);
    ctx.record(capture, steps::depthDigits(capture.before(), ctx.sounding));
    return true;
}

bool save(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string path = argumentOf(args, next, "--save");
    const bool force = takeFlag(args, next, "--force");
    if (ctx.checking) return true;
    if (fileExists(path) && !force) {
        ctx.message(path + " exists already; add --force to replace it.");
        return false;
    }
    const SaveResult saved = saveSoundingFile(path, ctx.sounding, ctx.tables, ctx.sep);
    if (!saved.ok) {
        ctx.message(saved.error);
        return false;
    }
    ctx.message("File saved.  To cleanup another file, restart the program.");
    return true;
}

}  // namespace

void registerFileActions(ActionRegistry& r) {
    r.add({"--info", "--info", "print the header, the channels and the depth axis", info});
    r.add({"--page", "--page [INDEX]", "print the 24 page rows, the cursor on reading INDEX", page});
    r.add({"--units", "--units C=NAME", "show channel C in unit NAME", units});
    r.add({"--depth-units", "--depth-units m|ft", "the page's depth unit", depthUnits});
    r.add({"--digits", "--digits 2|3", "depth decimals (and so the saved layout)", digits});
    r.add({"--save", "--save OUT [--force]", "write a sounding file; --force replaces an existing OUT", save,
           Writes::FileAtFirstArgument});
}

}  // namespace qm::cli
