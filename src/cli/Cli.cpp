#include "cli/Cli.h"

#include <cmath>
#include <filesystem>
#include <iostream>

#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "cli/LogDrawing.h"
#include "cli/TerminalText.h"
#include "model/DataFolder.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"

namespace qm::cli {

void CliContext::message(const std::string& text) const { err << terminalText(text) << '\n'; }

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

std::optional<double> optionNumber(std::string& text, char sep) {
    if (sep != '.' && text.find(sep) == std::string::npos) {
        const std::size_t point = text.find('.');
        if (point != std::string::npos) text[point] = sep;
    }
    return localeTextToNumber(text, sep);
}

std::string numberArgument(const CliContext& ctx, const std::vector<std::string>& args, std::size_t& next,
                           const std::string& option) {
    std::string text = argumentOf(args, next, option);
    optionNumber(text, ctx.sep);
    return text;
}

long wholeNumberOption(const CliContext& ctx, std::string text, const std::string& option) {
    const std::string given = text;
    const std::optional<double> v = optionNumber(text, ctx.sep);
    if (!v) throw UsageError{option + " " + given + ": " + given + " is not a number"};
    if (std::fabs(*v) > 1e9 || *v != std::floor(*v)) throw UsageError{option + " takes a whole number, not " + given};
    return static_cast<long>(*v);
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
    if (isStandardOutput(path)) {
        ctx.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ctx.out.flush();
        if (ctx.out) return true;
        ctx.message("Could not write to standard output.");
        return false;
    }
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
    registerInterpretActions(r);
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
           "several inputs every output path needs one of them. OUT - writes CSV, GEF, AGS4\n"
           "and --log to standard output. Numbers take the point, or the locale's separator.\n"
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

// A folder given with --tables that is missing, or holds no table at all,
// would only show as every input failing on its channel lines.
void checkTablesFolder(const std::string& folder, const ChannelTypeTable& table) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw UsageError{"--tables " + folder + ": " +
                         (std::filesystem::exists(folder, ec) ? "not a folder" : "no such folder")};
    for (int t = 1; t <= kMaxChannelTypes; ++t)
        if (table.defined[t]) return;
    throw UsageError{"--tables " + folder + ": the folder holds no channel type tables (Channel1.txt to Channel" +
                     std::to_string(kMaxChannelTypes) + ".txt)"};
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
        // Asked once, before the log drawing starts (which may set the
        // locale again from the environment).
        const int commaDecimalMode = detectCommaDecimalMode();
        const CommandLine line = readCommandLine(args, registry, commaDecimalMode);
        // Qt's painting starts on this thread or not at all.
        for (std::size_t i = line.chainStart; i < line.args.size(); ++i)
            if (line.args[i] == "--plot") prepareLogDrawing();

        // Read once for the whole run: the threads share them, and the
        // locale is asked only here, never while they run.
        RunSettings settings;
        settings.commaDecimalMode = commaDecimalMode;
        TableLoadReport tables =
            loadChannelTypeTables(line.tablesFolder.empty() ? defaultDataFolder() : line.tablesFolder);
        if (!line.tablesFolder.empty()) checkTablesFolder(line.tablesFolder, tables.table);
        for (const std::string& problem : tables.problems) err << terminalText(problem) << '\n';
        settings.tables = std::move(tables.table);
        return runInputs(line, registry, settings, out, err, showProgress);
    } catch (const UsageError& e) {
        err << "quillmere-cli: " << terminalText(e.text) << "\n(quillmere-cli --help lists the actions)\n";
        return kExitUsage;
    }
}

}  // namespace qm::cli
