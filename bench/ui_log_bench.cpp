// The log of the big sounding (10000 readings, the four main tracks, GPS and
// water table in the header) drawn into each format's file in memory, one
// page and ten pages (3 m per page), as --plot and Export Log make it.
#include <benchmark/benchmark.h>

#include "ops/TrackScales.h"

#include <QGuiApplication>
#include <memory>

#include "BigSounding.h"
#include "model/SoundingReader.h"
#include "ops/LogPage.h"
#include "ui/LogPainter.h"

namespace qm {
namespace {

void BM_DrawLog(benchmark::State& state) {
    auto s = std::make_unique<Sounding>();
    readSoundingText(bench::bigSoundingFile(true), bench::benchTables(), 0, *s);
    s->gpsSentence = "$GPGGA,142009,4733.1167,N,12220.3412,W,1,08,0.9,18.6,M,,M,,";
    s->waterTableDepth = "1.85";
    LogRequest request;
    request.profile = buildProfile(*s, bench::benchTables(), false, 1.85);
    applyScales(request.profile);
    request.tracks = logTracks(request.profile, [](int) { return false; });
    request.header = logHeaderFields(*s, "big.cpt", CalendarDate{2026, 1, 2});
    request.format = static_cast<LogFormat>(state.range(0));
    request.metresPerPage = static_cast<double>(state.range(1));
    const std::size_t pages = logPageSpans(request.profile, request.metresPerPage).size();
    if (s->readingCount != kMaxReadings || request.tracks.size() != 4) {
        state.SkipWithError("not four tracks of 10000 readings");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const ui::LogFiles files = ui::renderLog(request);
        bytes = 0;
        for (const std::string& f : files.bytes) bytes += f.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["kB"] = static_cast<double>(bytes) / 1000.0;
}

// Format (0 PDF, 1 PNG, 2 SVG) and metres per page (0: one page).
BENCHMARK(BM_DrawLog)
    ->ArgsProduct({{0, 1, 2}, {0, 10}})
    ->ArgNames({"format", "metresPerPage"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
