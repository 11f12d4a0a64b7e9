// Seeded random events on the main window, on every shipped sample, on a
// window without a sounding, and on a sounding near the reading capacity.
// QM_MONKEY_EVENTS sets the events per test, QM_MONKEY_SEED the seed; a
// failure prints both with the event number and the events before it.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "monkey/Monkey.h"
#include "ui/UiTestSupport.h"

namespace qm::monkey {
namespace {

namespace fs = std::filesystem;
using namespace uitest;

void expectClean(const MonkeyRun& run) {
    const MonkeyOutcome out = runMonkey(run);
    EXPECT_EQ(out.failure, "");
    std::printf("[ monkey   ] %s: %d events, %d soundings loaded, %d runs ended, %d message boxes\n",
                run.name.c_str(), out.eventsRun, out.soundingsLoaded, out.runsEnded, out.messages);
}

std::vector<std::string> sampleNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(samplesDir()))
        if (e.path().extension() == ".cpt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class MonkeyOnSample : public ::testing::TestWithParam<std::string> {};

TEST_P(MonkeyOnSample, KeepsEveryRule) {
    const std::string path = samplesDir() + "/" + GetParam() + ".cpt";
    // A sample written on a comma system carries commas in its raw spans.
    const std::vector<std::string> lines = splitLines(readFile(path));
    expectClean({GetParam(), path, lines.size() > 17 && lines[17].find(',') != std::string::npos, 600});
}

INSTANTIATE_TEST_SUITE_P(Samples, MonkeyOnSample, ::testing::ValuesIn(sampleNames()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

TEST(Monkey, StartsWithoutASounding) { expectClean({"no-sounding", ""}); }

TEST(Monkey, SoundingAtCapacity) {
    // sample-newer's first twelve rows, then its rows with data over and
    // over, every 0.02 m, four readings short of the capacity, so that
    // Insert and Combine meet it.
    const std::vector<std::string> lines = splitLines(readFile(samplesDir() + "/sample-newer.cpt"));
    std::vector<std::string> rows;
    for (std::size_t i = 23; i < lines.size(); ++i)
        if (lines[i].size() > 14 && std::isdigit(static_cast<unsigned char>(lines[i][6])) &&
            lines[i].find("-32768") == std::string::npos)
            rows.push_back(lines[i]);
    std::string text;
    for (std::size_t i = 0; i < 23; ++i) text += lines[i] + "\r\n";
    for (int r = 1; r <= kMaxReadings - 4; ++r) {
        const std::string& row = r <= 12 ? lines[22 + std::size_t(r)] : rows[std::size_t(r) % rows.size()];
        appendFormatPattern(text, 0.02 * r, "##0.000", '.', 7);
        text += row.substr(7) + "\r\n";
    }
    TempDir dir;
    writeFile(dir.file("big.cpt"), text);
    expectClean({"capacity", dir.file("big.cpt"), 0, 200, 1, 50});
}

}  // namespace
}  // namespace qm::monkey
