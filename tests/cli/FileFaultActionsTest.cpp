// The batch tool's writes under a failing call of the file system: each call
// of --save and --export-cpd fails in turn; the output stays the earlier
// file, no temporary file is left, the tool says why on one line and exits
// with a failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "cli/Cli.h"
#include "model/SafeFile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

TEST(BatchToolFileFaults, EachFailingCallKeepsTheEarlierOutput) {
    for (const char* write : {"--save", "--export-cpd"}) {
        int n = 1;
        for (int calls = 0;; ++n) {
            test::TempDir dir;
            const std::string out = dir.file("out.file");
            test::writeFile(out, "earlier\r\n");
            std::vector<std::string> args = {"--tables", test::dataDir(), test::samplesDir() + "/sample-10ch.cpt", write, out, "--force"};
            if (std::string(write) == "--export-cpd") args.insert(args.end(), {"--system", "english"});
            setFileFaultHook([&calls, n](const char*) { return ++calls == n ? EIO : 0; });
            std::ostringstream stdoutText, stderrText;
            const int status = cli::runCli(args, stdoutText, stderrText);
            setFileFaultHook({});
            if (calls < n) {  // every call passed: the whole new file is there
                EXPECT_EQ(status, 0) << stderrText.str();
                EXPECT_NE(test::readFile(out), "earlier\r\n");
                break;
            }
            EXPECT_NE(status, 0) << write << " call " << n;
            EXPECT_EQ(test::readFile(out), "earlier\r\n") << write << " call " << n;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
            const std::string err = stderrText.str();
            EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
            EXPECT_NE(err.find(std::string("out.file: ") + std::strerror(EIO)), std::string::npos) << err;
            calls = 0;
        }
        EXPECT_GE(n, 6) << write;
    }
}

}  // namespace
}  // namespace qm
