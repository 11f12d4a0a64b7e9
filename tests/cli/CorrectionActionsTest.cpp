#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/LineFields.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "support/TestSupport.h"
#include "ToolRun.h"

namespace qm {
namespace {

using test::TempDir;

using test::ToolRun;

// The tool on the sample without a pore-pressure channel.
ToolRun runTool(std::vector<std::string> actions) {
    std::vector<std::string> args{test::samplesDir() + "/sample-nopore.cpt"};
    args.insert(args.end(), actions.begin(), actions.end());
    return test::runTool(args);
}

Sounding load(const std::string& path) {
    Sounding s;
    const LoadResult loaded = readSoundingFile(path, test::shippedTables(), 0, s);
    EXPECT_TRUE(loaded.ok) << loaded.error;
    return s;
}

TEST(CorrectionActions, ChainedCorrectionsReachTheSavedFile) {
    TempDir dir;
    const std::string out = dir.file("cleaned.cpt");
    const ToolRun run = runTool({"--auto-clean", "--shift", "1=0.5", "--shift", "2=-100000", "--remove-negatives",
                             "--start-depth", "1.00", "--depth-format", "elevation", "--gps",
                             "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", "--save", out});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;

    const Sounding before = load(test::samplesDir() + "/sample-nopore.cpt");
    const Sounding after = load(out);

    // The pore-pressure channel was added and the drill-out gap filled.
    ASSERT_EQ(before.channelCount, 2);
    ASSERT_EQ(after.channelCount, 3);
    EXPECT_EQ(after.channelName[3], "PRESSURE U2");
    EXPECT_EQ(after.channelType[3], 3);
    EXPECT_GT(after.readingCount, before.readingCount);
    EXPECT_FALSE(after.porePressureMissing);

    // Elevations from 1.00 down.
    EXPECT_EQ(after.depthFormat, 1);
    EXPECT_NEAR(after.depth[1], -1.00f, 1e-6);
    EXPECT_NEAR(after.depth[2], -1.02f, 1e-6);
    EXPECT_FLOAT_EQ(after.depthIncrement, before.depthIncrement);
    // No gap of two increments or more is left (elevations fall).
    for (int r = 2; r <= after.readingCount; ++r) ASSERT_LT(after.depth[r - 1] - after.depth[r], 0.0399f) << r;

    for (int r = 1; r <= 100; ++r) {
        EXPECT_NEAR(after.value(1, r), before.value(1, r) + 0.5f, 1e-4) << r;
        // The added channel's zeros were replaced as well: 0.001 % of 3447.5.
        EXPECT_NEAR(after.value(3, r), 0.034475f, 1e-3) << r;
    }
    // Shifted below zero, then replaced by 0.001 % of the 1000 kPa full
    // scale, readings without data included (the file keeps the raw
    // readings to five decimals).
    for (int r = 1; r <= after.readingCount; ++r) ASSERT_NEAR(after.value(2, r), 0.01f, 2e-3) << r;

    const std::vector<std::string> lines = splitLines(test::readFile(out));
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[11], "GGA,123519.000,4807.0380,N,01131.0000,E,1,8,0.9,545.4,M,46.9,M,,0000*00");
}

TEST(CorrectionActions, RefusalsFailTheRunBeforeAnythingIsSaved) {
    TempDir dir;
    const std::string out = dir.file("never.cpt");
    struct Case {
        std::vector<std::string> actions;
        const char* message;
    };
    const Case cases[] = {
        {{"--increment", "0"}, "greater than 0"},
        {{"--increment", "quick"}, "not a number"},
        {{"--start-depth", "deep"}, "not a number"},
        {{"--shift", "2=a"}, "not a number"},
        {{"--shift", "7=1"}, "There is no channel 7"},
        {{"--gps", "GGA,1,,N,,E"}, "GPS data will not be saved"},
    };
    for (const Case& k : cases) {
        std::vector<std::string> actions = k.actions;
        actions.insert(actions.end(), {"--save", out});
        const ToolRun run = runTool(actions);
        EXPECT_EQ(run.status, cli::kExitFailed) << k.actions[0];
        EXPECT_NE(run.err.find(k.message), std::string::npos) << run.err;
        EXPECT_FALSE(fileExists(out));
    }
}

TEST(CorrectionActions, MalformedArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& actions :
         {std::vector<std::string>{"--depth-format", "sideways"}, {"--shift", "1"}, {"--shift", "one=1"},
          {"--start-depth"}}) {
        EXPECT_EQ(runTool(actions).status, cli::kExitUsage) << actions[0];
    }
}

TEST(CorrectionActions, ClearGpsSavesAnEmptyPositionLine) {
    TempDir dir;
    const std::string out = dir.file("nogps.cpt");
    const ToolRun run = runTool({"--clear-gps", "--save", out});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    const std::vector<std::string> lines = splitLines(test::readFile(out));
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[10], "Cobbles from 5.10 m drilled out; push resumed at 5.56 m");
}

}  // namespace
}  // namespace qm
