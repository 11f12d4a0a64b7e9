#include "cli/Cli.h"

#include <iostream>

#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "cli/LogDrawing.h"
#include "model/DataFolder.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"

namespace qm::cli {

void CliContext::message(const std::string& text) const { err << text << '\n'; }

void CliContext::record(StepCapture& capture, const steps::Words& words) {
    if (!keepsHistory) return;
    if (auto step = capture.finish(sounding, words.name, words.description)) history.record(std::move(*step));
}

const Action* ActionRegistry::find(const std::string& name) const {
    for (const Action& a : actions_)
        if (a.name == name) return &a;
    return nullptr;
}

const std::string& argumentOf(const std::vector<std::string>& args, std::size_t& next, const std::string& option) {
    if (next >= args.size()) throw UsageError{option + " needs a value"};
    return args[next++];
}

bool takeFlag(const std::vector<std::string>& args, std::size_t& next, const std::string& flag) {
    if (next < args.size() && args[next] == flag) {
        ++next;
        return true;
    }
    return false;
}

bool writeOutput(CliContext& ctx, const std::string& path, const std::string& bytes, bool force) {
    if (ctx.checking) return true;
    if (fileExists(path) && !force) {
        ctx.message(path + " exists already; add --force to replace it.");
        return false;
    }
    FileResult written = writeFileSafely(path, bytes);
    if (!written.ok) {
        ctx.message(written.error);
        return false;
    }
    return true;
}

ActionRegistry buildRegistry() {
    ActionRegistry r;
    registerFileActions(r);
    registerCorrectionActions(r);
    registerCombineActions(r);
    registerExportActions(r);
    registerOpenFormatActions(r);
    registerHistoryActions(r);
    registerPlotActions(r);
    return r;
}

namespace {

void printHelp(const ActionRegistry& registry, std::ostream& out) {
    out << "usage: quillmere-cli [--tables DIR] [--jobs N] INPUT... [ACTION]...\n\n"
           "Loads each INPUT as File > Open does, then runs the actions from left to right on\n"
           "its sounding, each as the matching window command. Messages go to stderr.\n"
           "An INPUT may be a .cpt, a GEF-CPT file (.gef) or an AGS4 file (.ags), which stands\n"
           "for each of its tests; FILE.ags#LOCA_ID[/TESN] names one of them, and {stem} is then\n"
           "the file's stem, a dash and the test's name.\n"
           "A folder INPUT stands for the .cpt files in it. In an output path {stem} stands\n"
           "for the input's file name without its extension, {name} for the whole name; with\n"
           "several inputs every output path needs one of them.\n"
           "Exit status: 0 all actions succeeded, 1 an input was refused or an action failed,\n"
           "2 a usage error.\n\n";
    // A usage too long for its column puts its help on the next line.
    auto line = [&out](std::string usage, const std::string& help) {
        constexpr std::size_t kColumn = 36;
        if (usage.size() > kColumn) usage += "\n" + std::string(kColumn + 2, ' ');
        else usage.resize(kColumn, ' ');
        out << "  " << usage << ' ' << help << '\n';
    };
    line("--tables DIR", "(before INPUT) read the channel type tables from DIR");
    line("--jobs N", "(before INPUT) run N inputs at a time (default: one per core)");
    for (const Action& a : registry.all()) line(a.usage, a.help);
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress) {
    const ActionRegistry registry = buildRegistry();
    try {
        if (args.empty()) throw UsageError{"no input file given"};
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                printHelp(registry, out);
                return kExitOk;
            }
        }
        const CommandLine line = readCommandLine(args, registry);
        // Qt's painting starts on this thread or not at all.
        for (std::size_t i = line.chainStart; i < line.args.size(); ++i)
            if (line.args[i] == "--plot") prepareLogDrawing();

        // Read once for the whole run: the threads share them, and the
        // locale is asked only here, never while they run.
        RunSettings settings;
        settings.commaDecimalMode = detectCommaDecimalMode();
        TableLoadReport tables =
            loadChannelTypeTables(line.tablesFolder.empty() ? defaultDataFolder() : line.tablesFolder);
        for (const std::string& problem : tables.problems) err << problem << '\n';
        settings.tables = std::move(tables.table);
        return runInputs(line, registry, settings, out, err, showProgress);
    } catch (const UsageError& e) {
        err << "quillmere-cli: " << e.text << "\n(quillmere-cli --help lists the actions)\n";
        return kExitUsage;
    }
}

}  // namespace qm::cli
