// The batch tool's writes under a failing call of the file system: each call
// of --save, each export, --log and --plot fails in turn; the output stays the earlier
// file, no temporary file is left, the tool says why on one line and exits
// with a failure. Beside them: the mode of a new file and the day an export
// carries.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

// A file the tool creates gets what any new file gets under umask 022, and a
// user other than its owner can read it. A fresh tool: it reads the umask once.
TEST(BatchToolFileModes, ANewFileIsReadableByOtherUsers) {
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string out = dir.file("new.cpt");
    const std::string run = "umask 022 && '" QM_CLI "' --tables '" + test::dataDir() + "' '" + test::samplesDir() +
                            "/sample-older.cpt' --save '" + out + "' 2>/dev/null";
    ASSERT_EQ(std::system(run.c_str()), 0);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    if (::geteuid() == 0) {
        const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups cat '" + out + "' >/dev/null";
        EXPECT_EQ(std::system(asNobody.c_str()), 0);
    }
}

// Without a fixed day an export carries the day of the user's calendar: a
// zone a whole day east of UTC tells it from the day in UTC.
TEST(BatchToolExports, AnExportWithoutAFixedDayCarriesTodaysLocalDate) {
    test::TempDir dir;
    const std::string fixed = std::getenv("QM_TODAY") ? std::getenv("QM_TODAY") : "";
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone ? zone : "";
    ::unsetenv("QM_TODAY");
    ::setenv("TZ", "EAST-24", 1);
    ::tzset();
    const auto today = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        return "#FILEDATE= " + std::to_string(local.tm_year + 1900) + ", " + std::to_string(local.tm_mon + 1) + ", " +
               std::to_string(local.tm_mday) + "\r\n";
    };
    const std::string before = today();
    std::ostringstream out, err;
    const int status = cli::runCli({"--tables", test::dataDir(), test::samplesDir() + "/sample-older.cpt", "--export-gef",
                                    dir.file("today.gef")}, out, err);
    const std::string after = today();
    if (!fixed.empty()) ::setenv("QM_TODAY", fixed.c_str(), 1);
    zone ? ::setenv("TZ", savedZone.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    ASSERT_EQ(status, 0) << err.str();
    const std::string gef = test::readFile(dir.file("today.gef"));
    EXPECT_TRUE(gef.find(before) != std::string::npos || gef.find(after) != std::string::npos) << before << gef.substr(0, 300);
}

TEST(BatchToolFileFaults, AFailedPageLeavesTheEarlierLogWhole) {
    test::TempDir dir;
    for (int page = 1; page <= 3; ++page) test::writeFile(dir.file("log-" + std::to_string(page) + ".svg"), "earlier");
    // The third page's bytes cannot be written: the disk is full.
    int calls = 0;
    setFileFaultHook([&calls](const char* op) { return std::string(op) == "write" && ++calls == 3 ? ENOSPC : 0; });
    std::ostringstream out, err;
    const int status = cli::runCli({"--tables", test::dataDir(), test::samplesDir() + "/sample-10ch.cpt", "--plot",
                                    dir.file("log.svg"), "--depth-per-page", "3", "--force"}, out, err);
    setFileFaultHook({});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err.str(), "Could not write " + dir.file("log-3.svg") + ": " + std::strerror(ENOSPC) + ".\n");
    for (int page = 1; page <= 3; ++page) EXPECT_EQ(test::readFile(dir.file("log-" + std::to_string(page) + ".svg")), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3) << "a temporary file was left";
}

}  // namespace
}  // namespace qm
