// Files that are no sounding by their nature or size: each is refused with a
// message that says what it is, before the memory it would take is asked
// for, and a batch goes on with the good inputs around it. Memory that runs
// out in the middle of a write fails that action alone and writes nothing.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#include "cli/ToolRun.h"
#include "model/ChannelTypeTable.h"
#include "model/SafeFile.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::runTool;

const std::string kBound = std::to_string(kSoundingFileLimit.maxBytes);

// A sample sounding whose free header line is padded until the file is
// exactly `size` bytes: still a sounding the reader takes.
std::string soundingOfSize(std::size_t size) {
    std::string bytes = test::readFile(test::samplesDir() + "/sample-10ch.cpt");
    std::size_t at = 0;
    for (int line = 1; line < 9; ++line) at = bytes.find("\r\n", at) + 2;
    at = bytes.find("\r\n", at);  // the end of line 9, the free header
    bytes.insert(at, size - bytes.size(), 'x');
    return bytes;
}

// A FIFO that holds unread bytes, its writer still attached: a reader that
// opened it and read would wait for more.
struct FeedingFifo {
    explicit FeedingFifo(const std::string& path) {
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
    }
    ~FeedingFifo() { ::close(fd); }
    int fd = -1;
};

TEST(FileLimits, WhatIsNoSoundingFileIsRefusedWithWhatItIs) {
    test::TempDir dir;
    const std::string sparse = dir.file("big.cpt");
    test::writeFile(sparse, "");
    fs::resize_file(sparse, std::uintmax_t{100} << 30);  // 100 GiB, no block of it on disk
    const std::string fifo = dir.file("pipe.cpt");
    FeedingFifo feeding(fifo);
    const std::string over = dir.file("over.cpt"), at = dir.file("at.cpt");
    test::writeFile(over, soundingOfSize(kSoundingFileLimit.maxBytes + 1));
    test::writeFile(at, soundingOfSize(kSoundingFileLimit.maxBytes));

    const std::vector<std::pair<std::string, std::string>> refused = {
        {sparse, "Could not open " + sparse + ": it holds 107374182400 bytes, more than a sounding file can (at most " +
                     kBound + " bytes)."},
        {over, "Could not open " + over + ": it holds " + std::to_string(kSoundingFileLimit.maxBytes + 1) +
                   " bytes, more than a sounding file can (at most " + kBound + " bytes)."},
        {"/dev/zero", "Could not open /dev/zero: it is a character device, not a file that can be read."},
        {fifo, "Could not open " + fifo + ": it is a FIFO (named pipe), not a file that can be read."}};
    for (const auto& [path, message] : refused) {
        const test::ToolRun run = runTool({path, "--save", dir.file("out.cpt")});
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_EQ(run.err, message + "\n");
        EXPECT_FALSE(fs::exists(dir.file("out.cpt"))) << path;
    }
    // The file at the bound is a sounding like any other.
    const test::ToolRun run = runTool({at, "--save", dir.file("out.cpt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_GT(fs::file_size(dir.file("out.cpt")), kSoundingFileLimit.maxBytes - 1000);
}

TEST(FileLimits, ABatchGoesOnWithTheGoodInputs) {
    test::TempDir dir;
    const std::string sparse = dir.file("big.cpt"), fifo = dir.file("pipe.cpt");
    test::writeFile(sparse, "");
    fs::resize_file(sparse, std::uintmax_t{100} << 30);
    FeedingFifo feeding(fifo);
    const std::string good = test::samplesDir() + "/sample-10ch.cpt", other = test::samplesDir() + "/sample-older.cpt";
    const test::ToolRun run =
        runTool({"--jobs", "2", good, sparse, "/dev/zero", fifo, other, "--save", dir.file("{stem}-saved.cpt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("5 files: 2 done, 3 failed"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir.file("sample-10ch-saved.cpt")));
    EXPECT_TRUE(fs::exists(dir.file("sample-older-saved.cpt")));
    for (const char* stem : {"big", "zero", "pipe"}) EXPECT_FALSE(fs::exists(dir.file(std::string(stem) + "-saved.cpt")));
}

TEST(FileLimits, AReadStopsAtTheBoundWhateverSizeTheSystemReports) {
    // The kernel reports no size for its own files, yet they hold bytes.
    std::string bytes = "kept";
    const FileResult read = readWholeFile("/proc/self/maps", bytes, FileLimit{64, "a small file"});
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "Could not read /proc/self/maps: it holds more than a small file can (at most 64 bytes).");
    EXPECT_EQ(bytes, "kept");
    // Without a bound of a format the same file is read whole.
    EXPECT_TRUE(readWholeFile("/proc/self/maps", bytes).ok);
    EXPECT_GT(bytes.size(), 64u);
}

TEST(FileLimits, AChannelTypeTableThatIsNoFileIsNamed) {
    test::TempDir dir;
    fs::copy_file(test::dataDir() + "/Channel1.txt", dir.file("Channel1.txt"));
    fs::create_directory(dir.file("Channel2.txt"));
    FeedingFifo feeding(dir.file("Channel3.txt"));
    test::writeFile(dir.file("Channel4.txt"), std::string(kChannelTableLimit.maxBytes + 1, ' '));
    const TableLoadReport report = loadChannelTypeTables(dir.path().string());
    EXPECT_EQ(report.table.unitCount[1], 8);
    ASSERT_EQ(report.problems.size(), 3u);
    EXPECT_EQ(report.problems[0], "The channel type table Channel2.txt could not be read: Could not open " +
                                      dir.file("Channel2.txt") + ": it is a folder, not a file that can be read.");
    EXPECT_NE(report.problems[1].find("it is a FIFO (named pipe)"), std::string::npos) << report.problems[1];
    EXPECT_NE(report.problems[2].find("it holds 65537 bytes, more than a channel type table can (at most 65536 bytes)"),
              std::string::npos)
        << report.problems[2];
}

TEST(FileLimits, TheSecondFileOfACombineIsBoundedToo) {
    const test::ToolRun run = runTool({test::samplesDir() + "/sample-10ch.cpt", "--combine", "/dev/zero"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Could not open /dev/zero: it is a character device"), std::string::npos) << run.err;
}

// Memory that runs out in the middle of writing a file: the seam of the safe
// write throws where an allocation would.
TEST(FileLimits, MemoryRunningOutInAWriteFailsThatActionAlone) {
    for (const std::vector<std::string>& write :
         std::vector<std::vector<std::string>>{{"--save", "OUT"}, {"--export-cpd", "OUT", "--system", "si-kpa"}}) {
        test::TempDir dir;
        const std::string out = dir.file("out.file");
        test::writeFile(out, "earlier\r\n");
        std::vector<std::string> args = {test::samplesDir() + "/sample-10ch.cpt"};
        for (const std::string& a : write) args.push_back(a == "OUT" ? out : a);
        args.push_back("--force");
        setFileFaultHook([](const char* op) -> int {
            if (std::string(op) == "write") throw std::bad_alloc();
            return 0;
        });
        const test::ToolRun run = runTool(args);
        setFileFaultHook({});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "There is not enough memory to carry out " + write[0] + "; nothing was written.\n");
        EXPECT_EQ(test::readFile(out), "earlier\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";
    }
    // Among several inputs only the one whose write ran out fails.
    test::TempDir dir;
    std::atomic<int> writes{0};
    setFileFaultHook([&writes](const char* op) -> int {
        if (std::string(op) == "write" && writes++ == 0) throw std::bad_alloc();
        return 0;
    });
    const test::ToolRun run = runTool({test::samplesDir() + "/sample-10ch.cpt", test::samplesDir() + "/sample-older.cpt",
                                       test::samplesDir() + "/sample-nopore.cpt", "--save", dir.file("{stem}.cpt")});
    setFileFaultHook({});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("3 files: 2 done, 1 failed"), std::string::npos) << run.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

// A real shortage, not a seam: a child process whose address space is
// lowered to a few MiB above what it uses. A sounding at the bound then
// cannot get its buffers; the tool says so, writes nothing, and a small one
// still loads and saves.
// (AddressSanitizer reserves terabytes of address space, so not under it.)
#if defined(__SANITIZE_ADDRESS__)
#define QM_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_TEST_UNDER_ASAN 1
#endif
#endif
#if !defined(QM_TEST_UNDER_ASAN)
TEST(FileLimits, ARunThatRunsOutOfMemoryWritesNothingAndTheNextGoesOn) {
    test::TempDir dir;
    const std::string at = dir.file("at.cpt");
    test::writeFile(at, soundingOfSize(kSoundingFileLimit.maxBytes));
    const std::string small = test::samplesDir() + "/sample-10ch.cpt";
    runTool({small});  // tables and code paths touched once before the limit
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto addressSpace = [] {
            std::size_t pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
        };
        // The last large buffer a read let go of is kept for the next read;
        // this read takes it, so the tool's read needs memory of its own.
        FileBytes held;
        if (!readWholeFile(at, held, kSoundingFileLimit).ok) ::_exit(8);
        // Memory freed by the tests before stays in the process for reuse;
        // every free block as large as the read's buffer (18 MiB) is taken
        // first, until a block has to come from new address space.
        std::vector<void*> taken;
        for (int i = 0; i < 64; ++i) {
            const rlim_t before = addressSpace();
            taken.push_back(std::malloc(std::size_t{18} << 20));
            if (!taken.back()) ::_exit(9);
            if (addressSpace() > before) break;
        }
        const rlim_t used = addressSpace();
        const rlimit limit{used + (rlim_t{8} << 20), used + (rlim_t{8} << 20)};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(10);
        const test::ToolRun big = runTool({at, "--save", dir.file("big-out.cpt")});
        if (big.status != 1) ::_exit(11);
        // Where the memory runs out depends on what the process holds free:
        // in the read of the file, or in the save's rendering of it.
        if (big.err != "There is not enough memory to open " + at + ".\n" &&
            big.err != "There is not enough memory to carry out --save; nothing was written.\n") {
            test::writeFile(dir.file("err.txt"), big.err);
            ::_exit(12);
        }
        if (std::distance(fs::directory_iterator(dir.path()), {}) != 1) ::_exit(13);
        if (runTool({small, "--save", dir.file("small-out.cpt")}).status != 0) ::_exit(14);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "8: no read, 9: no memory, 10: no limit, 11: status, 12: message, 13: a file written, 14: no recovery";
    EXPECT_TRUE(fs::exists(dir.file("small-out.cpt")));
    if (fs::exists(dir.file("err.txt"))) ADD_FAILURE() << test::readFile(dir.file("err.txt"));
}
#endif

}  // namespace
}  // namespace qm
