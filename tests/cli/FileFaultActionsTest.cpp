// The batch tool's writes under a failing call of the file system: each call
// of --save, each export, --log and --plot fails in turn; the output stays the earlier
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
    const std::vector<std::vector<std::string>> writes = {
        {"--save", "OUT"},       {"--export-cpd", "OUT", "--system", "english"}, {"--export-csv", "OUT"},
        {"--export-gef", "OUT"}, {"--export-ags", "OUT"},                        {"--digits", "2", "--log", "OUT"},
        {"--plot", "OUT"}};
    for (const std::vector<std::string>& write : writes) {
        int n = 1;
        for (int calls = 0;; ++n) {
            test::TempDir dir;
            const std::string name = write[0] == "--plot" ? "out.svg" : "out.file";
            const std::string out = dir.file(name);
            test::writeFile(out, "earlier\r\n");
            std::vector<std::string> args = {"--tables", test::dataDir(), test::samplesDir() + "/sample-10ch.cpt"};
            for (const std::string& a : write) args.push_back(a == "OUT" ? out : a);
            args.push_back("--force");
            setFileFaultHook([&calls, n](const char*) { return ++calls == n ? EIO : 0; });
            std::ostringstream stdoutText, stderrText;
            const int status = cli::runCli(args, stdoutText, stderrText);
            setFileFaultHook({});
            if (calls < n) {  // every call passed: the whole new file is there
                EXPECT_EQ(status, 0) << stderrText.str();
                EXPECT_NE(test::readFile(out), "earlier\r\n");
                // The exports and the record name the file they wrote.
                if (write[0] != "--save" && write[0] != "--export-cpd") {
                    EXPECT_NE(stderrText.str().find(" " + out + ".\n"), std::string::npos) << stderrText.str();
                }
                break;
            }
            EXPECT_NE(status, 0) << write[0] << " call " << n;
            EXPECT_EQ(test::readFile(out), "earlier\r\n") << write[0] << " call " << n;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
            const std::string err = stderrText.str();
            EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
            EXPECT_NE(err.find(name + ": " + std::strerror(EIO)), std::string::npos) << err;
            calls = 0;
        }
        EXPECT_GE(n, 6) << write[0];
    }
}

TEST(BatchToolFileFaults, AFailedPageTakesTheNewPagesOfItsLogWithIt) {
    test::TempDir dir;
    // Three pages; the open of the second page's temporary file fails.
    int calls = 0;
    setFileFaultHook([&calls](const char* op) { return std::string(op) == "open" && ++calls == 2 ? EIO : 0; });
    std::ostringstream out, err;
    const int status = cli::runCli({"--tables", test::dataDir(), test::samplesDir() + "/sample-10ch.cpt", "--plot",
                                    dir.file("log.svg"), "--depth-per-page", "3"}, out, err);
    setFileFaultHook({});
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("log-2.svg: "), std::string::npos) << err.str();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0) << "pages were left";
}

}  // namespace
}  // namespace qm
