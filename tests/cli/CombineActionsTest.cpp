// --combine of the batch tool: File > Combine with the panel's OK.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "ops/SecondFileReader.h"
#include "support/TestSupport.h"
#include "ToolRun.h"

namespace qm {
namespace {

using test::ToolRun;
using test::runTool;

// A first push to 12.34 m with a drill-out, and the push after it from
// 12.80 m, taken with the same cone.
const std::string kFirst = test::samplesDir() + "/sample-older.cpt";
const std::string kSecond = test::samplesDir() + "/sample-older-push2.cpt";

std::vector<std::string> linesOf(const std::string& path) { return splitLines(test::readFile(path)); }

TEST(CombineAction, AppendsTheSecondPushAndSavesOneSounding) {
    test::TempDir dir;
    const std::string out = dir.file("combined.cpt");
    const ToolRun run = runTool({kFirst, "--combine", kSecond, "--save", out});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_EQ(run.err.rfind(std::string("Drillout detected at 7.24 m\n") + kSameConeMessage + "\n", 0), 0u) << run.err;

    const std::vector<std::string> first = linesOf(kFirst);
    const std::vector<std::string> second = linesOf(kSecond);
    const std::vector<std::string> saved = linesOf(out);
    // 600 readings less the 5 that give way, then all 260 of the second push.
    ASSERT_EQ(saved.size(), 23u + 595u + 260u + 1u);
    // The first file's header and trailing baseline line stay.
    EXPECT_EQ(saved[7], first[7]);
    EXPECT_EQ(saved.back(), first.back());
    // Normalized: the second push starts at the depth of the first file's
    // reading before its last; same cone, so its raw readings come back as read.
    EXPECT_EQ(saved[23 + 594].substr(0, 6), " 12.24");
    EXPECT_EQ(saved[23 + 595], " 12.32" + second[23].substr(6));
    EXPECT_EQ(saved[23 + 595 + 259], " 17.50" + second[23 + 259].substr(6));

    Sounding reloaded;
    ASSERT_TRUE(readSoundingFile(out, test::shippedTables(), detectCommaDecimalMode(), reloaded).ok);
    EXPECT_EQ(reloaded.readingCount, 855);
}

TEST(CombineAction, StartsWhereToldAndKeepsTheDepthsWithoutNormalization) {
    test::TempDir dir;
    const std::string out = dir.file("combined.cpt");
    const ToolRun run = runTool({kFirst, "--combine", kSecond, "--start-at", "13", "--no-normalize", "--save", out});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    const std::vector<std::string> saved = linesOf(out);
    ASSERT_EQ(saved.size(), 23u + 595u + 250u + 1u);
    EXPECT_EQ(saved[23 + 595].substr(0, 6), " 13.00");
    EXPECT_EQ(saved[23 + 595 + 249].substr(0, 6), " 17.98");
}

TEST(CombineAction, RefusalsFailTheRunAndWriteNothing) {
    test::TempDir dir;
    const std::string out = dir.file("combined.cpt");

    ToolRun run = runTool({kFirst, "--combine", kSecond, "--start-at", "20", "--save", out});
    EXPECT_EQ(run.status, cli::kExitFailed);
    EXPECT_NE(run.err.find("\nValue must be between 12.80 and 17.98.\n"), std::string::npos) << run.err;
    EXPECT_FALSE(fileExists(out));

    run = runTool({kFirst, "--combine", dir.file("missing.cpt"), "--save", out});
    EXPECT_EQ(run.status, cli::kExitFailed);
    EXPECT_FALSE(fileExists(out));

    run = runTool({kFirst, "--combine"});
    EXPECT_EQ(run.status, cli::kExitUsage);
}

}  // namespace
}  // namespace qm
