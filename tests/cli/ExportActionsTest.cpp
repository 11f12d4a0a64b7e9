// --export-cpd of the batch tool: the option click and OK of the export panel.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "ops/AnalogExport.h"
#include "ops/UnitSystems.h"
#include "support/TestSupport.h"
#include "ToolRun.h"

namespace qm {
namespace {

using test::ToolRun;
using test::runTool;

const std::string kSample = test::samplesDir() + "/sample-older.cpt";

// The file the panel writes for the sample after the option click.
std::string panelExport(const std::string& input, UnitSystem system, const std::string& title, bool feet) {
    const int mode = detectCommaDecimalMode();
    Sounding s;
    EXPECT_TRUE(readSoundingFile(input, test::shippedTables(), mode, s).ok);
    EXPECT_TRUE(selectUnitSystem(s, test::shippedTables(), system).messages.empty());
    AnalogExportRequest request;
    request.system = system;
    request.fileTitle = title;
    request.texts = headerTextsOf(s);
    request.depthInFeet = feet;
    request.sep = decimalSeparator(mode);
    std::string bytes;
    EXPECT_TRUE(analogFileText(s, request, bytes).ok);
    return bytes;
}

TEST(ExportCpdAction, WritesWhatThePanelWritesInTheChosenSystem) {
    test::TempDir dir;
    const std::string out = dir.file("site.cpd");
    const ToolRun run = runTool({kSample, "--export-cpd", out, "--system", "si-kpa"});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_EQ(run.err, "Drillout detected at 7.24 m\n");  // from the load; the export itself says nothing
    const std::string bytes = test::readFile(out);
    EXPECT_EQ(bytes, panelExport(kSample, UnitSystem::MetricAbsKpa, "site.c", false));
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")).substr(6 + 15 + 16), "Metric Absolute [SI]");
    EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2, 58),
              "Riverside Indust" "CN-1208         " "J21-0417        " " 3  1.85  ");

    const std::string feet = dir.file("feet.cpd");
    ASSERT_EQ(runTool({kSample, "--depth-units", "ft", "--export-cpd", feet, "--system", "ksc-bar"}).status,
              cli::kExitOk);
    EXPECT_EQ(test::readFile(feet), panelExport(kSample, UnitSystem::MetricWtBar, "feet.c", true));
}

TEST(ExportCpdAction, TheChosenUnitsStayForTheActionsThatFollow) {
    test::TempDir dir;
    const ToolRun run = runTool({kSample, "--export-cpd", dir.file("a.cpd"), "--system", "ksc", "--info"});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_NE(run.out.find("KSC"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("TSF"), std::string::npos) << run.out;
}

TEST(ExportCpdAction, AnExistingFileIsReplacedOnlyWithForce) {
    test::TempDir dir;
    const std::string out = dir.file("old.cpd");
    test::writeFile(out, "earlier");
    const ToolRun refused = runTool({kSample, "--export-cpd", out, "--system", "english"});
    EXPECT_EQ(refused.status, cli::kExitFailed);
    EXPECT_NE(refused.err, "");
    EXPECT_EQ(test::readFile(out), "earlier");

    EXPECT_EQ(runTool({kSample, "--export-cpd", out, "--force", "--system", "english"}).status, cli::kExitOk);
    EXPECT_EQ(test::readFile(out), panelExport(kSample, UnitSystem::English, "old.cp", false));
    test::writeFile(out, "earlier");
    EXPECT_EQ(runTool({kSample, "--export-cpd", out, "--system", "english", "--force"}).status, cli::kExitOk);
    EXPECT_NE(test::readFile(out), "earlier");
}

TEST(ExportCpdAction, AWaterTableThatIsNoNumberWritesNothing) {
    test::TempDir dir;
    std::string bytes = test::readFile(kSample);
    const std::size_t at = bytes.find("\r\n1.85\r\n");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 8, "\r\nabout 2 m\r\n");
    const std::string input = dir.file("wt.cpt");
    test::writeFile(input, bytes);

    const std::string out = dir.file("wt.cpd");
    const ToolRun run = runTool({input, "--export-cpd", out, "--system", "english"});
    EXPECT_EQ(run.status, cli::kExitFailed);
    EXPECT_EQ(run.err, "Drillout detected at 7.24 m\nPlease enter a number in the water table depth box.\n");
    EXPECT_FALSE(fileExists(out));
}

TEST(ExportCpdAction, UsageErrors) {
    test::TempDir dir;
    const std::string out = dir.file("u.cpd");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {kSample, "--export-cpd", out},
             {kSample, "--export-cpd", out, "--system", "metric"},
             {kSample, "--export-cpd", out, "--system"},
             {kSample, "--export-cpd"},
         }) {
        SCOPED_TRACE(args.size());
        EXPECT_EQ(runTool(args).status, cli::kExitUsage);
    }
    EXPECT_FALSE(fileExists(out));
}

}  // namespace
}  // namespace qm
