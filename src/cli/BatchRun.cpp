#include "cli/BatchRun.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/TerminalText.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "ops/SoundingOpen.h"

namespace qm::cli {

namespace {

// Loads the input, then runs the actions in order; stops at the first that fails.
bool runChain(CliContext& ctx, const std::vector<std::string>& args, std::size_t next, const InputFile& input,
              const ActionRegistry& registry) {
    if (!input.problem.empty()) {
        ctx.message(input.problem);
        return false;
    }
    ctx.keepsHistory = std::find(args.begin() + static_cast<std::ptrdiff_t>(next), args.end(), "--log") != args.end();
    const OpenedSounding opened = openSounding(input.path, ctx.tables, ctx.commaDecimalMode, ctx.sounding);
    const LoadResult& loaded = opened.load;
    ctx.fileAreaRatio = opened.netAreaRatio;
    for (const std::string& m : loaded.messages) ctx.message(m);
    if (!loaded.ok) {
        ctx.message(loaded.error);
        return false;
    }
    while (next < args.size()) {
        const std::string& name = args[next++];
        const Action* action = registry.find(name);
        if (!action) throw UsageError{"unknown action " + name};
        if (!action->run(ctx, args, next)) return false;
    }
    return true;
}

void prepare(CliContext& ctx, const RunSettings& settings) {
    ctx.tables = settings.tables;
    ctx.commaDecimalMode = settings.commaDecimalMode;
    ctx.sep = decimalSeparator(settings.commaDecimalMode);
}

struct InputOutcome {
    std::string out, err;
    bool ok = false;
};

InputOutcome runOne(const CommandLine& line, const InputFile& input, const ActionRegistry& registry,
                    const RunSettings& settings) {
    std::ostringstream out, err;
    CliContext ctx(out, err);
    prepare(ctx, settings);
    InputOutcome outcome;
    // Whatever goes wrong with one input is that input's failure alone.
    try {
        outcome.ok = runChain(ctx, argsFor(line, input), line.chainStart, input, registry);
    } catch (const UsageError& e) {
        ctx.message("quillmere-cli: " + e.text);
    } catch (const std::exception& e) {
        ctx.message(std::string("quillmere-cli: ") + e.what());
    }
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// Every line of `text`, each led by `prefix`.
void printPrefixed(std::ostream& to, const std::string& prefix, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        to << prefix;
        to.write(text.data() + start, static_cast<std::streamsize>(end - start));
        if (text[end - 1] != '\n') to << '\n';
        start = end;
    }
}

// The inputs on `jobs` threads. The calling thread prints each input's lines
// as soon as it and every input before it are done, and keeps the progress
// line up to date.
class Pool {
   public:
    Pool(const CommandLine& line, const ActionRegistry& registry, const RunSettings& settings)
        : line_(line), registry_(registry), settings_(settings), outcomes_(line.inputs.size()),
          done_(line.inputs.size(), false) {}

    int run(std::ostream& out, std::ostream& err, bool showProgress) {
        const std::size_t count = line_.inputs.size();
        const unsigned jobs = static_cast<unsigned>(std::min<std::size_t>(line_.jobs, count));
        std::vector<std::thread> workers;
        for (unsigned j = 0; j < jobs; ++j) workers.emplace_back([this] { work(); });

        std::size_t printed = 0, failed = 0, finished = 0;
        std::string lastFinished;
        while (printed < count) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return finishedCount_ > finished; });
            finished = finishedCount_;
            lastFinished = lastFinished_;
            lock.unlock();
            // Only this thread reads an outcome, and only once its done_ is set.
            for (;;) {
                {
                    std::lock_guard guard(mutex_);
                    if (printed == count || !done_[printed]) break;
                }
                const InputOutcome& o = outcomes_[printed];
                if (showProgress && (!o.out.empty() || !o.err.empty())) err << "\r\033[K";
                const std::string prefix = terminalText(line_.inputs[printed].name) + ": ";
                printPrefixed(out, prefix, o.out);
                out.flush();
                printPrefixed(err, prefix, o.err);
                if (!o.ok) ++failed;
                ++printed;
            }
            if (showProgress)
                err << "\r[" << finished << '/' << count << "] " << terminalText(lastFinished) << "\033[K" << std::flush;
        }
        for (std::thread& w : workers) w.join();
        if (showProgress) err << "\r\033[K";
        err << count << " files: " << count - failed << " done, " << failed << " failed\n";
        return failed == 0 ? kExitOk : kExitFailed;
    }

   private:
    void work() {
        for (;;) {
            const std::size_t i = next_.fetch_add(1);
            if (i >= line_.inputs.size()) return;
            outcomes_[i] = runOne(line_, line_.inputs[i], registry_, settings_);
            std::lock_guard guard(mutex_);
            done_[i] = true;
            ++finishedCount_;
            lastFinished_ = line_.inputs[i].name;
            changed_.notify_one();
        }
    }

    const CommandLine& line_;
    const ActionRegistry& registry_;
    const RunSettings& settings_;
    std::vector<InputOutcome> outcomes_;
    std::vector<bool> done_;  // guarded by mutex_
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t finishedCount_ = 0;  // guarded by mutex_
    std::string lastFinished_;       // guarded by mutex_
};

}  // namespace

int runInputs(const CommandLine& line, const ActionRegistry& registry, const RunSettings& settings,
              std::ostream& out, std::ostream& err, bool showProgress) {
    if (!line.several) {
        // One input prints as it goes, straight to the tool's streams.
        CliContext ctx(out, err);
        prepare(ctx, settings);
        return runChain(ctx, argsFor(line, line.inputs.front()), line.chainStart, line.inputs.front(), registry)
                   ? kExitOk
                   : kExitFailed;
    }
    return Pool(line, registry, settings).run(out, err, showProgress);
}

}  // namespace qm::cli
