// The interpretation of a sounding of 10000 readings (qt to the soil
// behaviour zone, every reading), in process, with and without an
// inclination channel, and the CSV export that carries it.
//
//   interpretation_bench --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "ops/CsvExport.h"
#include "ops/Interpretation.h"

namespace {

using namespace qm;

const ChannelTypeTable& tables() {
    static const ChannelTypeTable table = [] {
        ChannelTypeTable t;
        for (int type : {1, 2, 3})
            parseChannelTypeTable("a,b,c,d,e,f,g,h,i,j,k,l,m,2,KPA,####0.0,1,MPA,##0.000,0.001\r\n", type, t);
        parseChannelTypeTable("a,b,c,d,e,f,g,h,i,j,k,l,m,1,DEG,##0.00,1\r\n", 9, t);
        return t;
    }();
    return table;
}

// Sand, silt and clay layers in turn, every tenth u2 reading without data;
// tip, sleeve and u2 in kPa, so every value goes through the conversion.
std::unique_ptr<Sounding> layered(bool inclination) {
    auto s = std::make_unique<Sounding>();
    s->channelCount = inclination ? 4 : 3;
    for (int c = 1; c <= s->channelCount; ++c) {
        s->channelType[c] = static_cast<int16_t>(c == 4 ? 9 : c);
        s->channelUnitIndex[c] = 1;
        s->channelUnitFactor[c] = 1.0f;
    }
    s->readingCount = kMaxReadings;
    s->depthIncrement = 0.002f;
    s->waterTableDepth = "1.5";
    for (int r = 1; r <= kMaxReadings; ++r) {
        const double layer = std::sin(r * 0.003);
        const double qc = 1000.0 * std::pow(10.0, 0.6 + 0.9 * layer);
        s->depth[r] = static_cast<float>(r * 0.002);
        s->value(1, r) = static_cast<float>(qc);
        s->value(2, r) = static_cast<float>(qc * (0.03 - 0.02 * layer));
        s->value(3, r) = r % 10 == 0 ? kNoDataValue : static_cast<float>(20.0 + 300.0 * (1.0 - layer));
        if (inclination) s->value(4, r) = static_cast<float>(0.5 + r * 0.0005);
    }
    return s;
}

void BM_Interpret(benchmark::State& state) {
    const auto s = layered(state.range(0) == 1);
    const InterpretationSettings settings;
    for (auto _ : state) {
        const Interpretation in = interpret(*s, tables(), settings);
        benchmark::DoNotOptimize(in.ic.data());
    }
    state.SetItemsProcessed(state.iterations() * kMaxReadings);
}

void BM_CsvWithInterpretation(benchmark::State& state) {
    const auto s = layered(true);
    for (auto _ : state) {
        const Interpretation in = interpret(*s, tables(), {});
        const OpenFormatFile file = csvFile(*s, tables(), false, &in);
        benchmark::DoNotOptimize(file.bytes.data());
    }
}

double least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

// range(0): 1 with an inclination channel, else 0.
BENCHMARK(BM_Interpret)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);
BENCHMARK(BM_CsvWithInterpretation)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", least);

BENCHMARK_MAIN();
