// Opening a sounding of 10000 readings received as GEF-CPT or AGS4, with the
// shipped channel type tables, beside the .cpt load of the same size as an
// anchor taken in the same run. The bytes are in memory: what is timed is
// the reader, not the disk.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "BigSounding.h"
#include "model/ChannelTypeTable.h"
#include "model/SoundingReader.h"
#include "ops/AgsReader.h"
#include "ops/GefReader.h"

namespace {

using namespace qm;

constexpr int kReadings = 10000;

const ChannelTypeTable& tables() {
    static const ChannelTypeTable t = loadChannelTypeTables(QM_BENCH_DATA_DIR).table;
    return t;
}

// Depth, qc, fs, Rf, u2, three inclinations, time and conductivity, as a
// rig exports them.
std::string gefBytes() {
    std::string out =
        "#GEFID= 1, 1, 0\r\n#COLUMN= 10\r\n#COLUMNINFO= 1, m, penetration length, 1\r\n"
        "#COLUMNINFO= 2, MPa, cone resistance, 2\r\n#COLUMNINFO= 3, MPa, local friction, 3\r\n"
        "#COLUMNINFO= 4, %, friction number, 4\r\n#COLUMNINFO= 5, MPa, pore pressure u2, 6\r\n"
        "#COLUMNINFO= 6, deg, inclination (resultant), 8\r\n#COLUMNINFO= 7, deg, inclination X, 21\r\n"
        "#COLUMNINFO= 8, deg, inclination Y, 22\r\n#COLUMNINFO= 9, s, elapsed time, 12\r\n"
        "#COLUMNINFO= 10, S/m, electric conductivity, 23\r\n#COLUMNSEPARATOR= ;\r\n#RECORDSEPARATOR= !\r\n"
        "#EOH=\r\n";
    char row[200];
    for (int r = 1; r <= kReadings; ++r) {
        std::snprintf(row, sizeof row, "%.3f;%.3f;%.4f;%.2f;%.4f;%.2f;%.2f;%.2f;%.1f;%.5f!\r\n", r * 0.02,
                      1.0 + (r % 97) * 0.13, 0.01 + (r % 31) * 0.002, 0.5 + (r % 13) * 0.2, -0.01 + (r % 41) * 0.003,
                      0.1 + (r % 7) * 0.05, 0.05 + (r % 5) * 0.03, -0.04 + (r % 3) * 0.02, r * 1.0,
                      0.03 + (r % 11) * 0.001);
        out += row;
    }
    return out;
}

std::string agsBytes() {
    std::string out =
        "\"GROUP\",\"SCPT\"\r\n\"HEADING\",\"LOCA_ID\",\"SCPG_TESN\",\"SCPT_DPTH\",\"SCPT_RES\",\"SCPT_FRES\","
        "\"SCPT_PWP2\",\"SCPT_FRR\",\"SCPT_SLP1\",\"SCPT_SLP2\",\"SCPT_TEMP\"\r\n"
        "\"UNIT\",\"\",\"\",\"m\",\"MPa\",\"MPa\",\"MPa\",\"%\",\"deg\",\"deg\",\"DegC\"\r\n"
        "\"TYPE\",\"ID\",\"X\",\"2DP\",\"3DP\",\"4DP\",\"4DP\",\"2DP\",\"2DP\",\"2DP\",\"1DP\"\r\n";
    char row[240];
    for (int r = 1; r <= kReadings; ++r) {
        std::snprintf(row, sizeof row,
                      "\"DATA\",\"CPT01\",\"1\",\"%.2f\",\"%.3f\",\"%.4f\",\"%.4f\",\"%.2f\",\"%.2f\",\"%.2f\",\"%.1f\"\r\n",
                      r * 0.02, 1.0 + (r % 97) * 0.13, 0.01 + (r % 31) * 0.002, -0.01 + (r % 41) * 0.003,
                      0.5 + (r % 13) * 0.2, 0.05 + (r % 5) * 0.03, -0.04 + (r % 3) * 0.02, 11.0 + (r % 9) * 0.1);
        out += row;
    }
    return out;
}

template <typename Read>
void timeReader(benchmark::State& state, const std::string& bytes, Read read) {
    auto s = std::make_unique<Sounding>();
    for (auto _ : state) {
        const LoadResult r = read(bytes, *s);
        if (!r.ok) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(s->readingCount);
    }
}

void BM_GefOpen(benchmark::State& state) {
    timeReader(state, gefBytes(),
               [](const std::string& b, Sounding& s) { return readGefText(b, tables(), s); });
}

void BM_AgsOpen(benchmark::State& state) {
    timeReader(state, agsBytes(),
               [](const std::string& b, Sounding& s) { return readAgsText(b, "", tables(), s); });
}

// The anchor: a .cpt of 10000 readings and 10 channels, read the same way.
void BM_CptOpen(benchmark::State& state) {
    timeReader(state, bench::bigSoundingFile(true),
               [](const std::string& b, Sounding& s) { return readSoundingText(b, bench::benchTables(), 0, s); });
}

double least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_CptOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ComputeStatistics("min", least);
BENCHMARK(BM_GefOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ComputeStatistics("min", least);
BENCHMARK(BM_AgsOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ComputeStatistics("min", least);

}  // namespace

BENCHMARK_MAIN();
