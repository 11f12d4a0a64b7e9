#pragma once
// The batch tool: loads each input sounding as File > Open does, then runs
// the actions from left to right on it, each as the matching window command.
// Every text the window would show in a message box goes to stderr. Several
// inputs run independently of each other on a pool of threads (BatchRun.h).

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/History.h"
#include "ops/Interpretation.h"
#include "ops/StepTexts.h"

namespace qm::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct CliContext {
    Sounding sounding;
    ChannelTypeTable tables;
    int commaDecimalMode = 0;
    char sep = '.';
    bool depthInFeet = false;  // the page's depth unit
    // Every action that changed the sounding, in words, for --log.
    History history;
    // Only --log reads the history: a chain without it keeps no steps,
    // which spares comparing whole soundings after every action.
    bool keepsHistory = true;
    // The argument check that runs before any file is read: each action
    // reads (and so checks) its arguments, then returns true at once, before
    // it touches the sounding or a file.
    bool checking = false;
    // Set by --interpret: the exports after it carry the interpretation.
    std::optional<InterpretationSettings> interpretation;
    // The cone's net area ratio that a GEF-CPT or AGS4 input gives: the
    // interpretation's unless --area-ratio says otherwise.
    std::optional<double> fileAreaRatio;
    std::ostream& out;
    std::ostream& err;

    CliContext(std::ostream& o, std::ostream& e) : out(o), err(e) {}
    // A message-box text, one line on stderr.
    void message(const std::string& text) const;
    // The action taken by `capture` is done: a step when it changed the sounding.
    void record(StepCapture& capture, const steps::Words& words);
};

// Thrown by an action for a usage error (missing or malformed argument).
struct UsageError {
    std::string text;
};

// An action reads its own arguments from args[next...] and advances `next`,
// throwing UsageError for a malformed one; when ctx.checking it then returns
// true without acting. It returns true on success; on failure it has reported
// why on stderr and changed nothing it could not keep.
using ActionRun = std::function<bool(CliContext&, const std::vector<std::string>& args, std::size_t& next)>;

// Whether an action's first argument is the path of a file it writes. Such
// a path may hold {stem} and {name}, which stand for the input's file name
// without and with its extension; with several inputs it must.
// TextAtFirstArgument: a text output, which "-" sends to standard output.
// PagesAtFirstArgument: the log's pages, OUT itself or OUT-1.ext, OUT-2.ext, ...
enum class Writes { Nothing, FileAtFirstArgument, TextAtFirstArgument, PagesAtFirstArgument };

// The output path that stands for standard output.
inline bool isStandardOutput(const std::string& path) { return path == "-"; }

struct Action {
    std::string name;   // "--save"
    std::string usage;  // "--save OUT [--force]"
    std::string help;   // one line
    ActionRun run;
    Writes writes = Writes::Nothing;
};

class ActionRegistry {
   public:
    void add(Action a) { actions_.push_back(std::move(a)); }
    const Action* find(const std::string& name) const;
    const std::vector<Action>& all() const { return actions_; }

   private:
    std::vector<Action> actions_;
};

// Each group of actions registers itself here; main() calls them all.
void registerFileActions(ActionRegistry& r);  // --info --page --units --depth-units --digits --save
void registerCorrectionActions(ActionRegistry& r);  // --auto-clean --shift --remove-negatives --start-depth --increment --depth-format --gps --clear-gps
void registerCombineActions(ActionRegistry& r);  // --combine
void registerExportActions(ActionRegistry& r);  // --export-cpd
void registerInterpretActions(ActionRegistry& r);  // --interpret
void registerOpenFormatActions(ActionRegistry& r);  // --export-csv --export-gef --export-ags
void registerHistoryActions(ActionRegistry& r);  // --log
void registerPlotActions(ActionRegistry& r);  // --plot

// Reads the value after an option, or throws UsageError.
const std::string& argumentOf(const std::vector<std::string>& args, std::size_t& next, const std::string& option);

// Every number option reads its number by one rule: the locale's decimal
// separator, and the point in every locale ("1.5" and, in a comma locale,
// "1,5"). Returns the text in the locale's own form, which the operations
// read and, as the window's boxes do, refuse as "not a number" when it is none.
std::string numberArgument(const CliContext& ctx, const std::vector<std::string>& args, std::size_t& next,
                           const std::string& option);
// A number text read by that rule; nothing when it is not a number.
std::optional<double> optionNumber(std::string& text, char sep);
// A whole number by that rule, or a usage error naming `option`.
long wholeNumberOption(const CliContext& ctx, std::string text, const std::string& option);

// True when args[next] is `flag`; then consumes it.
bool takeFlag(const std::vector<std::string>& args, std::size_t& next, const std::string& flag);

// Writes `bytes` to `path` safely; an existing file is replaced only with
// `force`; "-" writes them to standard output. Reports on stderr and
// returns false on failure.
bool writeOutput(CliContext& ctx, const std::string& path, const std::string& bytes, bool force);

// Every action of the tool, in the order --help lists them.
ActionRegistry buildRegistry();

// The interpretation of the context's sounding when --interpret was given.
std::optional<Interpretation> interpretationOf(const CliContext& ctx);

// Runs the tool; returns the exit status. `showProgress`: stderr is a
// terminal, so a run of several inputs keeps a progress line on it.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress = false);

}  // namespace qm::cli
