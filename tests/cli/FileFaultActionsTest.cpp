// The batch tool's writes under a failing call of the file system: each call
// of --save, each export and --log fails in turn; the output stays the earlier
// file, no temporary file is left, the tool says why on one line and exits
// with a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ToolRun.h"
#include "model/SafeFile.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

struct FailingCall {
    explicit FailingCall(int n) {
        setFileFaultHook([this, n](const char*) { return ++calls == n ? EIO : 0; });
    }
    ~FailingCall() { setFileFaultHook({}); }
    FailingCall(const FailingCall&) = delete;
    FailingCall& operator=(const FailingCall&) = delete;
    int calls = 0;
};

int entriesIn(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(BatchToolFileFaults, EachFailingCallKeepsTheEarlierOutput) {
    const std::string sample = test::samplesDir() + "/sample-10ch.cpt";
    const std::vector<std::vector<std::string>> writes = {{"--save", "OUT", "--force"},
                                                          {"--export-cpd", "OUT", "--system", "english", "--force"},
                                                          {"--export-csv", "OUT", "--force"},
                                                          {"--export-gef", "OUT", "--force"},
                                                          {"--export-ags", "OUT", "--force"},
                                                          {"--digits", "2", "--log", "OUT", "--force"}};
    for (const auto& write : writes) {
        SCOPED_TRACE(write[0]);
        int calls = 0;
        for (int n = 1;; ++n) {
            test::TempDir dir;
            const std::string out = dir.file("out.file");
            test::writeFile(out, "earlier\r\n");
            std::vector<std::string> args = {sample};
            for (const std::string& a : write) args.push_back(a == "OUT" ? out : a);
            FailingCall fault(n);
            const test::ToolRun run = test::runTool(args);
            if (fault.calls < n) {
                // Every call passed: the whole new file is there.
                EXPECT_EQ(run.status, 0) << run.err;
                EXPECT_NE(test::readFile(out), "earlier\r\n");
                calls = fault.calls;
                break;
            }
            SCOPED_TRACE("call " + std::to_string(n));
            EXPECT_NE(run.status, 0);
            EXPECT_EQ(test::readFile(out), "earlier\r\n");
            EXPECT_EQ(entriesIn(dir.path()), 1) << "a temporary file was left behind";
            const std::vector<std::string> lines = run.errLines();
            ASSERT_EQ(lines.size(), 1u) << run.err;
            EXPECT_NE(lines[0].find(std::strerror(EIO)), std::string::npos) << lines[0];
            EXPECT_NE(lines[0].find("out.file"), std::string::npos) << lines[0];
        }
        EXPECT_GE(calls, 5);
    }
}

}  // namespace
}  // namespace qm
