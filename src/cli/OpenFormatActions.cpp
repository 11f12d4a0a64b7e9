// --export-csv, --export-gef, --export-ags: the File menu's open-format
// exports without a window; --export-ags also takes the file's recipient
// and status, which the window keeps in its AGS4 details. Each writes the
// sounding as it stands after the actions before it, with the
// interpretation after --interpret, and changes nothing in it; once the
// file is written it is named on stderr, with the channels the format
// leaves out.

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

// Writes a made file to `out` and names it, then its notes; a file the
// writer refused to make says why instead, and nothing is written.
bool writeExport(CliContext& ctx, const std::string& out, const OpenFormatFile& file, bool force,
                 std::string_view kind) {
    if (file.ok) {
        if (!writeOutput(ctx, out, file.bytes, force)) return false;
        ctx.message(exportedTo(kind, out));
    }
    for (const std::string& m : file.messages) ctx.message(m);
    return file.ok;
}

ActionRun exportAction(std::string option, std::string_view kind, FileMaker make) {
    return [option, kind, make](CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
        const std::string out = argumentOf(args, next, option);
        const bool force = takeFlag(args, next, "--force");
        if (ctx.checking) return true;
        return writeExport(ctx, out, make(ctx), force, kind);
    };
}

// --export-ags OUT, then --force, --ags-recipient TEXT and --ags-status TEXT
// in any order.
bool runExportAgs(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    const std::string out = argumentOf(args, next, "--export-ags");
    bool force = false;
    AgsTransfer transfer;
    for (;;) {
        if (takeFlag(args, next, "--force"))
            force = true;
        else if (takeFlag(args, next, "--ags-recipient"))
            transfer.recipient = argumentOf(args, next, "--ags-recipient");
        else if (takeFlag(args, next, "--ags-status"))
            transfer.status = argumentOf(args, next, "--ags-status");
        else
            break;
    }
    if (ctx.checking) return true;
    const std::optional<Interpretation> in = interpretationOf(ctx);
    return writeExport(ctx, out, agsFile(ctx.sounding, ctx.tables, exportDate(), transfer, in ? &*in : nullptr), force,
                       kAgsExport);
}

}  // namespace

void registerOpenFormatActions(ActionRegistry& r) {
    r.add({"--export-csv", "--export-csv OUT [--force]",
           "write the readings as CSV (UTF-8, point decimals), channels in their current units; after --interpret also the interpretation",
           exportAction("--export-csv", kCsvExport,
                        [](const CliContext& ctx) {
                            const std::optional<Interpretation> in = interpretationOf(ctx);
                            return csvFile(ctx.sounding, ctx.tables, ctx.depthInFeet, in ? &*in : nullptr);
                        }),
           Writes::TextAtFirstArgument});
    r.add({"--export-gef", "--export-gef OUT [--force]",
           "write a GEF-CPT report (QM_TODAY=yyyy-mm-dd fixes its file date); after --interpret also the interpretation",
           exportAction("--export-gef", kGefExport,
                        [](const CliContext& ctx) {
                            const std::optional<Interpretation> in = interpretationOf(ctx);
                            return gefFile(ctx.sounding, ctx.tables, exportDate(), in ? &*in : nullptr);
                        }),
           Writes::TextAtFirstArgument});
    r.add({"--export-ags", "--export-ags OUT [--force] [--ags-recipient TEXT] [--ags-status TEXT]",
           "write an AGS4 (4.1) file with the groups PROJ to SCPT, TEXT as TRAN_RECV and TRAN_STAT (QM_TODAY as for GEF); after --interpret also the interpretation",
           runExportAgs, Writes::TextAtFirstArgument});
}

}  // namespace qm::cli
