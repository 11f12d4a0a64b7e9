#include "cli/Cli.h"

#include <iostream>

#include "model/DataFolder.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"

namespace qm::cli {

void CliContext::message(const std::string& text) const { err << text << '\n'; }

void CliContext::record(StepCapture& capture, const steps::Words& words) {
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

namespace {

ActionRegistry buildRegistry() {
    ActionRegistry r;
    registerFileActions(r);
    registerCorrectionActions(r);
    registerCombineActions(r);
    registerExportActions(r);
    registerOpenFormatActions(r);
    registerHistoryActions(r);
    return r;
}

void printHelp(const ActionRegistry& registry, std::ostream& out) {
    out << "usage: quillmere-cli [--tables DIR] INPUT.cpt [ACTION]...\n\n"
           "Loads INPUT as File > Open does, then runs the actions from left to right on the\n"
           "one sounding, each as the matching window command. Messages go to stderr.\n"
           "Exit status: 0 all actions succeeded, 1 the input was refused or an action failed,\n"
           "2 a usage error.\n\n";
    // A usage too long for its column puts its help on the next line.
    auto line = [&out](std::string usage, const std::string& help) {
        constexpr std::size_t kColumn = 36;
        if (usage.size() > kColumn) usage += "\n" + std::string(kColumn + 2, ' ');
        else usage.resize(kColumn, ' ');
        out << "  " << usage << ' ' << help << '\n';
    };
    line("--tables DIR", "(before INPUT) read the channel type tables from DIR");
    for (const Action& a : registry.all()) line(a.usage, a.help);
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ActionRegistry registry = buildRegistry();
    CliContext ctx(out, err);
    std::size_t next = 0;
    std::string tablesFolder;
    try {
        if (args.empty()) throw UsageError{"no input file given"};
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                printHelp(registry, out);
                return kExitOk;
            }
        }
        if (takeFlag(args, next, "--tables")) tablesFolder = argumentOf(args, next, "--tables");
        if (next >= args.size()) throw UsageError{"no input file given"};
        const std::string input = args[next++];
        if (input.rfind("--", 0) == 0 && !registry.find(input) && input != "--tables")
            throw UsageError{"unknown option " + input};
        if (registry.find(input)) throw UsageError{"the input file must come before " + input};
        if (next < args.size() && !registry.find(args[next])) throw UsageError{"unknown action " + args[next]};

        ctx.commaDecimalMode = detectCommaDecimalMode();
        ctx.sep = decimalSeparator(ctx.commaDecimalMode);
        TableLoadReport tables = loadChannelTypeTables(tablesFolder.empty() ? defaultDataFolder() : tablesFolder);
        for (const std::string& problem : tables.problems) ctx.message(problem);
        ctx.tables = std::move(tables.table);

        LoadResult loaded = readSoundingFile(input, ctx.tables, ctx.commaDecimalMode, ctx.sounding);
        for (const std::string& m : loaded.messages) ctx.message(m);
        if (!loaded.ok) {
            ctx.message(loaded.error);
            return kExitFailed;
        }

        while (next < args.size()) {
            const std::string name = args[next++];
            const Action* action = registry.find(name);
            if (!action) throw UsageError{"unknown action " + name};
            if (!action->run(ctx, args, next)) return kExitFailed;
        }
    } catch (const UsageError& e) {
        err << "quillmere-cli: " << e.text << "\n(quillmere-cli --help lists the actions)\n";
        return kExitUsage;
    }
    return kExitOk;
}

}  // namespace qm::cli
