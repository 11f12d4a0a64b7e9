// The batch tool run as an ordinary user (the test drops root's rights with
// setpriv): standard output works through "-", a terminal or pipe named as a
// file is refused, and replacing a file the user may not give back to its
// owner still replaces it whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "cli/ToolRun.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

struct UserRun {
    int status = -1;
    std::string out;
};

// The built tool as user 65534 on sample-older (or on `inputs`), its stderr
// folded into its stdout.
UserRun runAsNobody(const std::string& args, std::string inputs = {}) {
    if (inputs.empty()) inputs = test::samplesDir() + "/sample-older.cpt";
    const std::string tool = fs::read_symlink("/proc/self/exe").parent_path().string() + "/quillmere-cli";
    const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups " + tool + " --tables " +
                                test::dataDir() + " " + inputs + " " + args + " 2>&1";
    UserRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class OtherUser : public testing::Test {
   protected:
    void SetUp() override {
        if (::geteuid() != 0 || ::system("command -v setpriv >/dev/null") != 0)
            GTEST_SKIP() << "dropping rights takes root and setpriv";
        ASSERT_EQ(::chown(dir_.path().c_str(), kNobody, kNobody), 0);
    }
    test::TempDir dir_;
};

TEST_F(OtherUser, WritesTextToStandardOutputAndRefusesAPipeNamedAsAFile) {
    const UserRun csv = runAsNobody("--export-csv -");
    EXPECT_EQ(csv.status, 0) << csv.out;
    EXPECT_NE(csv.out.find("Depth (m),TIP RESISTANCE (TSF)"), std::string::npos) << csv.out;

    const UserRun named = runAsNobody("--export-csv /dev/stdout");
    EXPECT_EQ(named.status, 2) << named.out;
    EXPECT_NE(named.out.find("Could not write /dev/stdout: it is a named pipe, not a regular file."), std::string::npos)
        << named.out;
}

TEST_F(OtherUser, ReplacesAFileOfAnotherOwnerWholeInItsOwnFolder) {
    const std::string path = dir_.file("shared.csv");
    test::writeFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 1002, 2000), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const UserRun r = runAsNobody("--export-csv " + path + " --force");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(test::readFile(path).rfind("Depth (m)", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 1);

    // A folder the user may not write: refused, nothing written.
    const UserRun refused = runAsNobody("--export-csv /work-not-writable.csv");
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_NE(refused.out.find("Could not write /work-not-writable.csv: Permission denied."), std::string::npos)
        << refused.out;
    EXPECT_FALSE(fs::exists("/work-not-writable.csv"));
}

TEST_F(OtherUser, AnUnreadableEntryOfAFolderFailsAloneAndTheOthersGoOn) {
    const std::string sample = test::readFile(test::samplesDir() + "/sample-older.cpt");
    test::writeFile(dir_.file("a-locked.cpt"), sample);
    test::writeFile(dir_.file("b-open.cpt"), sample);
    ASSERT_EQ(::chmod(dir_.file("a-locked.cpt").c_str(), 0), 0);
    const UserRun r = runAsNobody("--export-csv " + dir_.file("{stem}.csv"), dir_.path().string());
    EXPECT_EQ(r.status, 1) << r.out;
    // The reader's own words name the reason.
    const std::size_t line = r.out.find("a-locked.cpt: ");
    EXPECT_NE(line, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Permission denied", line), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 files: 1 done, 1 failed"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dir_.file("b-open.csv")));
    EXPECT_FALSE(fs::exists(dir_.file("a-locked.csv")));
}

// Never a real device here: a fault that let the check through would replace it.
TEST(BatchOutputs, APipeNamedAsOutputIsRefusedBeforeAnyInputIsRead) {
    test::TempDir dir;
    const std::string pipe = dir.file("out.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const test::ToolRun run = test::runTool({dir.file("missing.cpt"), "--export-csv", pipe});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "quillmere-cli: Could not write " + pipe +
                           ": it is a named pipe, not a regular file.\n(quillmere-cli --help lists the actions)\n");
    struct stat st {};
    EXPECT_TRUE(::lstat(pipe.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace qm
