// Several inputs in one run of the batch tool: each input gives the files
// and lines of a run of its own, whatever the number of threads, and one
// input's failure leaves the others done.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "ToolRun.h"
#include "model/SafeFile.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> sampleFiles() {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(test::samplesDir()))
        if (e.path().extension() == ".cpt") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) files[e.path().filename().string()] = test::readFile(e.path().string());
    return files;
}

std::vector<std::string> chainInto(const std::string& folder) {
    return {"--info", "--auto-clean", "--digits", "3", "--save", folder + "/{name}",
            "--export-cpd", folder + "/{stem}.cpd", "--system", "si-bar"};
}

test::ToolRun runOn(const std::vector<std::string>& lead, const std::vector<std::string>& inputs,
                    const std::string& folder) {
    std::vector<std::string> args = lead;
    args.insert(args.end(), inputs.begin(), inputs.end());
    for (const std::string& a : chainInto(folder)) args.push_back(a);
    return test::runTool(args);
}

std::string prefixed(const std::string& prefix, const std::string& text) {
    std::string result;
    for (const std::string& l : test::ToolRun::lines(text)) result += prefix + l + "\n";
    return result;
}

TEST(BatchRun, ManyInputsGiveTheFilesAndLinesOfOneRunEach) {
    const std::vector<std::string> inputs = sampleFiles();
    ASSERT_GE(inputs.size(), 5u);
    test::TempDir one, each, four;

    std::string expectedOut, expectedErr;
    std::size_t failed = 0;
    for (const std::string& input : inputs) {
        const test::ToolRun alone = runOn({}, {input}, each.path().string());
        const std::string prefix = fs::path(input).filename().string() + ": ";
        expectedOut += prefixed(prefix, alone.out);
        expectedErr += prefixed(prefix, alone.err);
        failed += alone.status == 0 ? 0 : 1;
    }
    ASSERT_LT(failed, inputs.size());
    expectedErr += std::to_string(inputs.size()) + " files: " + std::to_string(inputs.size() - failed) + " done, " +
                   std::to_string(failed) + " failed\n";

    const test::ToolRun byOne = runOn({"--jobs", "1"}, inputs, one.path().string());
    const test::ToolRun byFour = runOn({"--jobs", "4"}, inputs, four.path().string());
    EXPECT_EQ(byOne.status, failed ? 1 : 0);
    EXPECT_EQ(byOne.out, expectedOut);
    EXPECT_EQ(byOne.err, expectedErr);
    EXPECT_EQ(byFour.status, byOne.status);
    EXPECT_EQ(byFour.out, expectedOut);
    EXPECT_EQ(byFour.err, expectedErr);
    EXPECT_GT(filesIn(one.path()).size(), inputs.size());
    EXPECT_EQ(filesIn(one.path()), filesIn(each.path()));
    EXPECT_EQ(filesIn(four.path()), filesIn(each.path()));
}

TEST(BatchRun, AFailedWriteOfOneInputLeavesTheOthersDone) {
    const std::vector<std::string> inputs = sampleFiles();
    test::TempDir dir;
    std::atomic<int> renames{0};
    setFileFaultHook([&renames](const char* op) { return std::strcmp(op, "rename") == 0 && renames++ == 0 ? EIO : 0; });
    const test::ToolRun run =
        test::runTool({"--jobs", "3", inputs[0], inputs[1], inputs[2], "--save", dir.file("{name}")});
    setFileFaultHook({});

    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = run.errLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "3 files: 2 done, 1 failed");
    int failed = 0;
    for (int i = 0; i < 3; ++i) {
        const std::string name = fs::path(inputs[static_cast<std::size_t>(i)]).filename().string();
        const bool written = fs::exists(dir.file(name));
        bool reported = false;
        for (const std::string& l : lines)
            reported |= l.rfind(name + ": ", 0) == 0 && l.find(std::strerror(EIO)) != std::string::npos;
        EXPECT_NE(written, reported) << name << "\n" << run.err;
        failed += written ? 0 : 1;
    }
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(filesIn(dir.path()).size(), 2u) << "a temporary file was left behind";
}

}  // namespace
}  // namespace qm
