// Seeded random events on the main window, on every shipped sample, on a
// window without a sounding, and on a sounding at the reading capacity.
// QM_MONKEY_EVENTS sets the events per test, QM_MONKEY_SEED the seed; a
// failure prints both with the event number and the events before it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "monkey/Monkey.h"
#include "support/TestSupport.h"

namespace qm::monkey {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultEvents = 600;
constexpr std::uint64_t kDefaultSeed = 1;

std::vector<std::string> sampleNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(test::samplesDir(), ec))
        if (e.path().extension() == ".cpt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A sample written on a comma system carries commas in its raw spans.
int decimalModeOf(const std::string& bytes) {
    const std::vector<std::string> lines = splitLines(bytes);
    return lines.size() > 17 && lines[17].find(',') != std::string::npos ? 1 : 0;
}

void expectClean(const MonkeyRun& run) {
    const MonkeyOutcome out = runMonkey(run);
    EXPECT_EQ(out.failure, "");
    if (out.failure.empty()) {
        EXPECT_EQ(out.eventsRun, run.events);
    }
    ::testing::Test::RecordProperty("events", out.eventsRun);
    std::printf("[ monkey   ] %s: %d events, %d soundings loaded, %d runs ended, %d message boxes\n",
                run.name.c_str(), out.eventsRun, out.soundingsLoaded, out.runsEnded, out.messages);
}

class MonkeyOnSample : public ::testing::TestWithParam<std::string> {};

TEST_P(MonkeyOnSample, KeepsEveryRule) {
    MonkeyRun run;
    run.name = GetParam();
    run.startFile = (fs::path(test::samplesDir()) / (GetParam() + ".cpt")).string();
    run.commaDecimalMode = decimalModeOf(test::readFile(run.startFile));
    run.events = eventsFromEnvironment(kDefaultEvents);
    run.baseSeed = seedFromEnvironment(kDefaultSeed);
    expectClean(run);
}

INSTANTIATE_TEST_SUITE_P(Samples, MonkeyOnSample, ::testing::ValuesIn(sampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(Monkey, StartsWithoutASounding) {
    MonkeyRun run;
    run.name = "no-sounding";
    run.events = eventsFromEnvironment(kDefaultEvents);
    run.baseSeed = seedFromEnvironment(kDefaultSeed);
    expectClean(run);
}

// sample-newer with its rows repeated to `readings` readings, depths every
// 0.02 m: the first rows as they are, then the rows after the leading
// readings without data, over and over.
std::string bigSounding(int readings) {
    const std::string sample = test::readFile((fs::path(test::samplesDir()) / "sample-newer.cpt").string());
    const std::vector<std::string> lines = splitLines(sample);
    std::string out;
    for (std::size_t i = 0; i < 23 && i < lines.size(); ++i) out += lines[i] + "\r\n";
    std::vector<std::string> rows;
    for (std::size_t i = 23; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.size() < 14 || l.compare(0, 6, "      ") == 0 || containsNoCase(l, "DRILLOUT") ||
            l.find("****") != std::string::npos)
            continue;
        rows.push_back(l);
    }
    std::vector<std::string> repeated;
    for (const std::string& r : rows)
        if (r.find("-32768") == std::string::npos) repeated.push_back(r);
    for (int r = 1; r <= readings; ++r) {
        const std::size_t i = static_cast<std::size_t>(r - 1);
        const std::string& source = i < rows.size() && i < 12 ? rows[i] : repeated[i % repeated.size()];
        std::string depth;
        appendFormatPattern(depth, 0.02 * r, "##0.000", '.', 7);
        out += depth + source.substr(7) + "\r\n";
    }
    return out;
}

TEST(Monkey, SoundingAtCapacity) {
    test::TempDir dir;
    // Four readings short of the capacity, so Insert and Combine meet it.
    const std::string path = dir.file("big.cpt");
    test::writeFile(path, bigSounding(kMaxReadings - 4));
    MonkeyRun run;
    run.name = "capacity";
    run.startFile = path;
    run.events = std::max(1, eventsFromEnvironment(kDefaultEvents) / 3);
    run.baseSeed = seedFromEnvironment(kDefaultSeed);
    run.saveCheckEvery = 50;
    expectClean(run);
}

}  // namespace
}  // namespace qm::monkey
