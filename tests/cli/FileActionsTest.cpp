#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/LineFields.h"
#include "model/SoundingReader.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"
#include "ToolRun.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;
using test::SoundingFileBuilder;

using CliRun = test::ToolRun;

CliRun run(std::vector<std::string> args, bool withTables = true) { return test::runTool(std::move(args), withTables); }

std::vector<std::string> split(const std::string& line, char sep = '\t') {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, sep)) parts.push_back(part);
    if (!line.empty() && line.back() == sep) parts.emplace_back();
    return parts;
}

// Tip, sleeve and pore pressure in KPA: the tip shows 100 x r, the sleeve
// 0.1 x r (no data for the first three readings), the pore pressure
// 3.4475 x r. Reading r lies at 0.02 x r m; a drill-out after reading 10 and
// a final baseline at the end.
SoundingFileBuilder cliFile(bool newer = true) {
    SoundingFileBuilder b(newer);
    b.channel({"1", "TIP", "20000", "100.00000", "100000 KPA", "KPA", "1"})
        .channel({"2", "SLEEVE", "20000", "50.00000", "1000 KPA", "KPA", "1"})
        .channel({"3", "PRESSURE U2", "10000", "0.00000", "3447.5 KPA", "KPA", "1"});
    for (int r = 1; r <= 30; ++r) {
        b.row(0.02 * r, r == 6 ? 12.5 : 2.0, {100.0 + 20 * r, r <= 3 ? -32768 : 50.0 + 2 * r, 10.0 * r});
        if (r == 10) b.line("DRILLOUT");
    }
    b.finalBaseline({101, 51, 1});
    return b;
}

class FileActions : public ::testing::Test {
   protected:
    void SetUp() override {
        input_ = dir_.file("CPT-03.cpt");
        test::writeFile(input_, cliFile().text());
    }
    test::TempDir dir_;
    std::string input_;
};

// ------------------------------------------------------------ usage

TEST_F(FileActions, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {input_, "--bogus"},           {input_, "--digits", "4"},      {input_, "--digits"},
        {input_, "--depth-units", "yd"}, {input_, "--units", "1MPA"},  {input_, "--units", "x=MPA"},
        {input_, "--save"},            {input_, "--page", "abc"},      {"--info", input_},
    };
    for (const auto& args : cases) {
        CliRun r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << args.back();
        EXPECT_NE(r.err.find("quillmere-cli: "), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({}, false).status, kExitUsage);
    EXPECT_EQ(run({"--tables"}, false).status, kExitUsage);
    EXPECT_EQ(run({}).status, kExitUsage);  // tables but no input
}

TEST_F(FileActions, RefusedOrMissingInputExitsWithOneAndSaysWhy) {
    const std::string bad = dir_.file("bad.cpt");
    SoundingFileBuilder b = cliFile();
    b.rowTexts("1.000", "2.00", {"1", "not a number", "3"});
    test::writeFile(bad, b.text());
    CliRun refused = run({bad, "--info"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_EQ(refused.out, "");
    ASSERT_FALSE(refused.errLines().empty());
    EXPECT_NE(refused.errLines().back().find("line 56"), std::string::npos) << refused.err;
    // The drill-out of a refused file is not reported: nothing was loaded.
    EXPECT_EQ(refused.err.find("Drillout"), std::string::npos) << refused.err;

    const std::string missing = dir_.file("absent.cpt");
    CliRun gone = run({missing, "--info"});
    EXPECT_EQ(gone.status, kExitFailed);
    EXPECT_NE(gone.err.find(missing), std::string::npos) << gone.err;
}

// ------------------------------------------------------------ --info

TEST_F(FileActions, InfoPrintsHeaderChannelsAndDepthAxisMessagesGoToStderr) {
    CliRun r = run({input_, "--info"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "Drillout detected at 0.2 m\n");
    const std::vector<std::string> lines = r.outLines();
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("Company Name: ACME CPT SERVICES")) << r.out;
    EXPECT_TRUE(has("Hole Number: CPT-03")) << r.out;
    EXPECT_TRUE(has("Date and Time: 2021-05-04 09:12")) << r.out;
    EXPECT_TRUE(has("Water Table Depth: 2.35")) << r.out;
    EXPECT_TRUE(has("Readings: 30")) << r.out;
    EXPECT_TRUE(has("Depth format: depth")) << r.out;
    EXPECT_TRUE(has("NoDataLeadCount: 3")) << r.out;
    EXPECT_NE(r.out.find("TIP"), std::string::npos);
    EXPECT_NE(r.out.find("PRESSURE U2"), std::string::npos);
    EXPECT_NE(r.out.find("Depth increment: 0.02"), std::string::npos) << r.out;
}

// ------------------------------------------------------------ --page

TEST_F(FileActions, PagePrintsTwentyFourRowsOfTabSeparatedCells) {
    CliRun r = run({input_, "--page"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto lines = r.outLines();
    ASSERT_EQ(lines.size(), 24u);
    // The load puts the cursor on reading 4 in row 4, so row 1 shows reading 1.
    EXPECT_EQ(lines[0], "0.020\t100\t-32768.0\t3.4\t2.00");
    EXPECT_EQ(lines[4], "0.100\t500\t0.5\t17.2\t2.00");
    EXPECT_EQ(lines[5], "0.120\t600\t0.6\t20.7\t12.50");
    for (const std::string& l : lines) EXPECT_EQ(split(l).size(), 5u) << l;
}

TEST_F(FileActions, PageIndexMovesTheCursorAndKeepsItOnThePage) {
    CliRun down = run({input_, "--page", "28"});
    ASSERT_EQ(down.status, kExitOk) << down.err;
    // Reading 28 in the bottom row: row 1 shows reading 5.
    EXPECT_EQ(split(down.outLines()[0])[0], "0.100");
    EXPECT_EQ(split(down.outLines()[23])[0], "0.560");

    // Back up from the bottom row to reading 4: it must be on the page.
    CliRun up = run({input_, "--page", "30", "--page", "4"});
    ASSERT_EQ(up.status, kExitOk) << up.err;
    const auto lines = up.outLines();
    ASSERT_EQ(lines.size(), 48u);
    bool shown = false;
    for (std::size_t i = 24; i < 48; ++i) shown = shown || split(lines[i])[0] == "0.080";
    EXPECT_TRUE(shown) << up.out;

    for (const char* index : {"3", "31", "0"}) {
        CliRun outside = run({input_, "--page", index});
        EXPECT_EQ(outside.status, kExitFailed) << index;
        EXPECT_NE(outside.err.find("Reading"), std::string::npos) << outside.err;
    }
}

TEST_F(FileActions, UnitsDepthUnitsAndDigitsChangeThePage) {
    CliRun r = run({input_, "--units", "1=MPA", "--units", "3=BAR", "--depth-units", "ft", "--page", "--digits", "2",
                 "--depth-units", "m", "--page"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto lines = r.outLines();
    ASSERT_EQ(lines.size(), 48u);
    // 0.02 m is 0.06562 ft; 100 KPA is 0.1 MPA; 3.4475 KPA is 0.034475 BAR.
    EXPECT_EQ(lines[0], "0.066\t0.100\t-32768.0\t0.034\t2.00");
    EXPECT_EQ(lines[24], "0.02\t0.100\t-32768.0\t0.034\t2.00");

    CliRun unknownUnit = run({input_, "--units", "1=NOPE"});
    EXPECT_EQ(unknownUnit.status, kExitFailed);
    EXPECT_NE(unknownUnit.err.find("NOPE"), std::string::npos) << unknownUnit.err;
    CliRun unknownChannel = run({input_, "--units", "9=KPA"});
    EXPECT_EQ(unknownChannel.status, kExitFailed);
    EXPECT_NE(unknownChannel.err.find("9"), std::string::npos) << unknownChannel.err;
}

// ------------------------------------------------------------ --save

TEST_F(FileActions, SaveWritesANewFileAndReplacesAnExistingOneOnlyWithForce) {
    const std::string out = dir_.file("out.cpt");
    CliRun saved = run({input_, "--save", out});
    ASSERT_EQ(saved.status, kExitOk) << saved.err;
    EXPECT_EQ(saved.errLines(), (std::vector<std::string>{"Drillout detected at 0.2 m",
                                                          "File saved.  To cleanup another file, restart the program."}));
    const std::string written = test::readFile(out);
    const auto lines = splitLines(written);
    EXPECT_EQ(lines[0], "BM Sounding File ver. 2015.07.02.1");
    EXPECT_EQ(written.find("DRILLOUT"), std::string::npos);
    EXPECT_EQ(lines.back(), cliFile().finalBaselineText());
    Sounding back;
    ASSERT_TRUE(readSoundingFile(out, test::shippedTables(), 0, back).ok);
    EXPECT_EQ(back.readingCount, 30);

    // Without --force the existing file stays as it is.
    test::writeFile(out, "earlier");
    CliRun refused = run({input_, "--save", out});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(test::readFile(out), "earlier");

    CliRun forced = run({input_, "--save", out, "--force"});
    ASSERT_EQ(forced.status, kExitOk) << forced.err;
    EXPECT_EQ(test::readFile(out), written);

    // The input itself may be replaced too.
    CliRun over = run({input_, "--save", input_, "--force"});
    ASSERT_EQ(over.status, kExitOk) << over.err;
    EXPECT_EQ(test::readFile(input_), written);
}

TEST_F(FileActions, SaveFollowsDigitsAndUnits) {
    const std::string older = dir_.file("older.cpt");
    const std::string units = dir_.file("units.cpt");
    CliRun r = run({input_, "--digits", "2", "--save", older, "--digits", "3", "--units", "2=MPA", "--save", units});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto o = splitLines(test::readFile(older));
    EXPECT_EQ(o[0], "Brennomarck Sounding File");
    EXPECT_EQ(o[22], "   (m) (cm/s)");
    EXPECT_EQ(o[23].substr(0, 13), "  0.02   2.00");
    const auto u = splitLines(test::readFile(units));
    EXPECT_EQ(u[0], "BM Sounding File ver. 2015.07.02.1");
    EXPECT_EQ(channelField(u[20], 2), std::string(17, ' ') + "MPA");
    EXPECT_EQ(channelField(u[21], 2), std::string(15, ' ') + "0.001");
    // The raw readings do not follow the display unit.
    EXPECT_EQ(channelField(u[27], 2), channelField(splitLines(test::readFile(older))[27], 2));
}

TEST_F(FileActions, FailedSaveWritesNothingAndStopsTheRun) {
    // A depth of 999.997 m fits only the 3-digit layout.
    SoundingFileBuilder b = cliFile();
    b.row(999.997, 2.0, {1, 2, 3});
    const std::string deep = dir_.file("deep.cpt");
    test::writeFile(deep, b.text());
    const std::string out = dir_.file("out.cpt");
    const std::string after = dir_.file("after.cpt");
    CliRun r = run({deep, "--digits", "2", "--save", out, "--save", after});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("reading 31"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("3 digits"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(after));

    const std::string nowhere = dir_.file("no/such/folder/out.cpt");
    CliRun missing = run({input_, "--save", nowhere});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_NE(missing.err.find(nowhere), std::string::npos) << missing.err;
}

// ------------------------------------------------------------ tables

TEST_F(FileActions, DamagedTableIsReportedOnceAndTheRunGoesOn) {
    const fs::path tables = dir_.path() / "tables";
    fs::create_directory(tables);
    for (int t = 1; t <= 3; ++t) {
        const std::string name = "Channel" + std::to_string(t) + ".txt";
        fs::copy_file(fs::path(test::dataDir()) / name, tables / name);
    }
    test::writeFile((tables / "Channel5.txt").string(), test::channelTypeTableText({{"X", "#0", "1"}}).substr(0, 20));
    CliRun r = run({"--tables", tables.string(), input_, "--info"}, false);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const auto errs = r.errLines();
    ASSERT_EQ(errs.size(), 2u) << r.err;
    EXPECT_NE(errs[0].find("Channel5.txt"), std::string::npos) << errs[0];
    EXPECT_EQ(errs[1], "Drillout detected at 0.2 m");

    // Without the table of a channel's type the input is refused.
    fs::remove(tables / "Channel3.txt");
    CliRun refused = run({"--tables", tables.string(), input_, "--info"}, false);
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("Channel3.txt"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace qm::cli
