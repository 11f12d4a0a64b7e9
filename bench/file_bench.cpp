// Load, save, and load-then-save of a sounding of 10000 readings and 10
// channels, in each layout, through the same functions File > Open and
// File > Save use (reading from and writing to real files).
//
//   file_bench                       run the benchmarks
//   file_bench --write-big PATH [3]  write the big sounding (3: newer layout)
//   file_bench --write-many FOLDER COUNT READINGS CHANNELS
//                                    write COUNT soundings CPT-0001.cpt ... into FOLDER
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "BigSounding.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace qm;

fs::path benchFolder() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / "quillmere-bench";
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

std::string bigFilePath(bool newer) {
    const fs::path p = benchFolder() / (newer ? "big-newer.cpt" : "big-older.cpt");
    if (!fs::exists(p)) writeFileSafely(p.string(), bench::bigSoundingFile(newer));
    return p.string();
}

void BM_Load(benchmark::State& state) {
    const std::string path = bigFilePath(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    for (auto _ : state) {
        LoadResult r = readSoundingFile(path, bench::benchTables(), 0, *s);
        if (!r.ok) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(s->readingCount);
    }
}

// The load without the file system: the file's bytes already in memory.
void BM_ReadOnly(benchmark::State& state) {
    const std::string bytes = bench::bigSoundingFile(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    for (auto _ : state) {
        LoadResult r = readSoundingText(bytes, bench::benchTables(), 0, *s);
        if (!r.ok) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(s->readingCount);
    }
}

void BM_Save(benchmark::State& state) {
    const std::string path = bigFilePath(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    readSoundingFile(path, bench::benchTables(), 0, *s);
    const std::string out = (benchFolder() / "saved.cpt").string();
    for (auto _ : state) {
        SaveResult r = saveSoundingFile(out, *s, bench::benchTables(), '.');
        if (!r.ok) state.SkipWithError(r.error.c_str());
    }
}

// The save without the file system: the bytes of the file only.
void BM_RenderOnly(benchmark::State& state) {
    const std::string path = bigFilePath(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    readSoundingFile(path, bench::benchTables(), 0, *s);
    for (auto _ : state) benchmark::DoNotOptimize(soundingFileBytes(*s, bench::benchTables(), '.').size());
}

// The save as far as the disk's cache: the bytes made and written, but not
// flushed to the disk by the fsync that makes a real save durable.
void BM_SaveWithoutFsync(benchmark::State& state) {
    const std::string path = bigFilePath(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    readSoundingFile(path, bench::benchTables(), 0, *s);
    const std::string out = (benchFolder() / "saved-nosync.cpt").string();
    for (auto _ : state) {
        const FileBytes bytes = soundingFileBytes(*s, bench::benchTables(), '.');
        std::FILE* f = std::fopen(out.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) state.SkipWithError("write failed");
        if (f) std::fclose(f);
    }
}

void BM_LoadThenSave(benchmark::State& state) {
    const std::string path = bigFilePath(state.range(0) == 3);
    auto s = std::make_unique<Sounding>();
    const std::string out = (benchFolder() / "saved.cpt").string();
    for (auto _ : state) {
        LoadResult l = readSoundingFile(path, bench::benchTables(), 0, *s);
        SaveResult r = saveSoundingFile(out, *s, bench::benchTables(), '.');
        if (!l.ok || !r.ok) state.SkipWithError("load or save failed");
    }
}

// The least of the repetitions (--benchmark_repetitions): on a machine
// shared with other work it is the figure that tells the code's own speed.
double least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// range(0): the depth digits of the layout, 2 (older) or 3 (newer).
BENCHMARK(BM_Load)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);
BENCHMARK(BM_ReadOnly)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);
BENCHMARK(BM_Save)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWithoutFsync)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);
BENCHMARK(BM_RenderOnly)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);
BENCHMARK(BM_LoadThenSave)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--write-big") == 0) {
        const bool newer = argc >= 4 && std::strcmp(argv[3], "3") == 0;
        const FileResult r = writeFileSafely(argv[2], bench::bigSoundingFile(newer));
        return r.ok ? 0 : 1;
    }
    if (argc == 6 && std::strcmp(argv[1], "--write-many") == 0) {
        const int count = std::atoi(argv[3]), readings = std::atoi(argv[4]), channels = std::atoi(argv[5]);
        for (int i = 1; i <= count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "CPT-%04d.cpt", i);
            const FileResult r = writeFileSafely((fs::path(argv[2]) / name).string(),
                                                 bench::soundingFile(true, readings, channels, i));
            if (!r.ok) return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
