// The undo history's memory on the big sounding (10000 readings, 10
// channels, on a 2 cm grid): 100 rounds of a start-depth move by 1 cm, off
// the depth grid, followed by
// AutoClean For Interp, which snaps every one of the 10000 depths back, so
// each of the 100 clean-ups is a whole-sounding change; and 100 committed
// page values. Reports the history's own count of bytes and the growth of
// the process's resident memory, and checks that undoing every step gives
// back the file as loaded, byte for byte.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "BigSounding.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "ops/AutoClean.h"
#include "ops/DepthAxis.h"
#include "ops/History.h"

namespace {

using namespace qm;

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

std::unique_ptr<Sounding> loadBig() {
    auto s = std::make_unique<Sounding>();
    readSoundingText(bench::bigSoundingFile(true), bench::benchTables(), 0, *s);
    // A 2 cm grid, so a move by 1 cm puts every depth off it (on a 1 cm
    // grid every whole centimetre is on it and the clean-up has nothing to do).
    changeIncrement(*s, "0.02", '.');
    return s;
}

void BM_HistoryOf100AutoCleans(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto s = loadBig();
        const std::string loaded = soundingFileText(*s, bench::benchTables(), '.');
        const double rssBefore = residentMegabytes();
        state.ResumeTiming();

        auto history = std::make_unique<History>();
        int cleans = 0;
        for (int round = 0; round < 100; ++round) {
            StepCapture move(*s);
            const std::string start = numberText(s->depth[1] + 0.01f, '.');
            changeStartDepth(*s, start, numberText(s->depth[1], '.'), '.');
            if (auto step = move.finish(*s, "Start Depth", "start")) history->record(std::move(*step));
            StepCapture clean(*s);
            autoClean(*s);
            if (auto step = clean.finish(*s, "AutoClean For Interp", "clean")) {
                history->record(std::move(*step));
                ++cleans;
            }
        }

        state.PauseTiming();
        const double rssAfter = residentMegabytes();
        state.counters["auto_cleans_kept"] = cleans;
        state.counters["steps_kept"] = static_cast<double>(history->steps().size());
        state.counters["history_MB"] = static_cast<double>(history->bytes()) / (1024.0 * 1024.0);
        state.counters["resident_growth_MB"] = rssAfter - rssBefore;
        state.counters["resident_MB"] = rssAfter;
        history->goTo(*s, 0);
        state.counters["undone_to_loaded_bytes"] = soundingFileText(*s, bench::benchTables(), '.') == loaded ? 1 : 0;
        history.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryOf100AutoCleans)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_HistoryOf100Values(benchmark::State& state) {
    auto s = loadBig();
    for (auto _ : state) {
        History history;
        for (int i = 1; i <= 100; ++i) {
            const float before = s->value(1, i * 50);
            s->value(1, i * 50) = before + 1.0f;
            history.record(valueStep(1, i * 50, before, before + 1.0f, {}, {}));
        }
        state.counters["bytes_per_value_step"] = static_cast<double>(history.bytes()) / 100.0;
        history.goTo(*s, 0);
    }
}
BENCHMARK(BM_HistoryOf100Values)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
