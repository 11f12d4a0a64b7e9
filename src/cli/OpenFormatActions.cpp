// --export-csv, --export-gef, --export-ags: the File menu's open-format
// exports without a window. Each writes the sounding as it stands after the
// actions before it and changes nothing in it; once the file is written it
// is named on stderr, with the channels the format leaves out.

#include <functional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "ops/AgsExport.h"
#include "ops/CsvExport.h"
#include "ops/ExportDate.h"
#include "ops/GefExport.h"
#include "ops/WriteConfirmations.h"

namespace qm::cli {

namespace {

using FileMaker = std::function<OpenFormatFile(const CliContext&)>;

ActionRun exportAction(std::string option, std::string_view kind, FileMaker make) {
    return [option, kind, make](CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
        const std::string out = argumentOf(args, next, option);
        const bool force = takeFlag(args, next, "--force");
        if (ctx.checking) return true;
        const OpenFormatFile file = make(ctx);
        if (!writeOutput(ctx, out, file.bytes, force)) return false;
        ctx.message(exportedTo(kind, out));
        for (const std::string& m : file.messages) ctx.message(m);
        return true;
    };
}

}  // namespace

void registerOpenFormatActions(ActionRegistry& r) {
    r.add({"--export-csv", "--export-csv OUT [--force]",
           "write the readings as CSV (UTF-8, point decimals), channels in their current units",
           exportAction("--export-csv", kCsvExport,
                        [](const CliContext& ctx) { return csvFile(ctx.sounding, ctx.tables, ctx.depthInFeet); }),
           Writes::FileAtFirstArgument});
    r.add({"--export-gef", "--export-gef OUT [--force]",
           "write a GEF-CPT report (QM_TODAY=yyyy-mm-dd fixes its file date)",
           exportAction("--export-gef", kGefExport,
                        [](const CliContext& ctx) { return gefFile(ctx.sounding, ctx.tables, exportDate()); }),
           Writes::FileAtFirstArgument});
    r.add({"--export-ags", "--export-ags OUT [--force]",
           "write an AGS4 (4.1) file with the groups PROJ to SCPT (QM_TODAY as for GEF)",
           exportAction("--export-ags", kAgsExport,
                        [](const CliContext& ctx) { return agsFile(ctx.sounding, ctx.tables, exportDate()); }),
           Writes::FileAtFirstArgument});
}

}  // namespace qm::cli
