// Safe writes and copies: the exact bytes or, when any step fails, the
// earlier file untouched, no temporary file left and a message naming the
// file and the system's reason.
#include "model/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

// The calls of the safe write, in order, while `recording` is on: the linker
// sends the model's write, fsync, close and rename through these wrappers
// (tests/CMakeLists.txt). Consecutive writes count once.
namespace {
bool recording = false;
std::vector<std::string> calls;
void record(const std::string& call) {
    if (recording && (call != "write" || calls.empty() || calls.back() != call)) calls.push_back(call);
}
}  // namespace

extern "C" {
ssize_t __real_write(int fd, const void* bytes, size_t n);
int __real_fsync(int fd);
int __real_close(int fd);
int __real_rename(const char* from, const char* to);
ssize_t __wrap_write(int fd, const void* bytes, size_t n) { return record("write"), __real_write(fd, bytes, n); }
int __wrap_fsync(int fd) {
    struct stat st {};
    record(::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) ? "fsync folder" : "fsync");
    return __real_fsync(fd);
}
int __wrap_close(int fd) { return record("close"), __real_close(fd); }
int __wrap_rename(const char* from, const char* to) { return record("rename"), __real_rename(from, to); }
}

namespace qm {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// NUL, lone CR and LF and every other byte: what a text-mode write would spoil.
std::string awkwardBytes() {
    std::string bytes = "line\r\nlone\rcr\nlf";
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

TEST(SafeFile, WritesAndCopiesExactBytesOrLeavesTheEarlierFile) {
    test::TempDir dir;
    const std::string path = dir.file("out.cpt"), copy = dir.file("copy.cpt");
    test::writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileSafely(path, awkwardBytes()).ok);
    EXPECT_EQ(test::readFile(path), awkwardBytes());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_TRUE(copyFileSafely(path, copy).ok);
    EXPECT_EQ(test::readFile(copy), awkwardBytes());
    EXPECT_EQ(copyFileSafely(path, (dir.path() / "." / "out.cpt").string()).error,
              "Could not copy " + path + " onto itself: choose another name for the copy.");
    EXPECT_EQ(entriesIn(dir.path()), 2u);

    // A failing step leaves the earlier file and no temporary one.
    fs::remove(copy);
    for (const char* step : {"open", "write", "flush", "close", "rename"}) {
        setFileFaultHook([step](const char* operation) { return std::strcmp(operation, step) == 0 ? ENOSPC : 0; });
        const FileResult r = writeFileSafely(path, std::string(100000, 'n'));
        const FileResult copied = copyFileSafely(path, copy);
        setFileFaultHook({});
        EXPECT_FALSE(r.ok) << step;
        EXPECT_FALSE(copied.ok) << step;
        EXPECT_NE(r.error.find(path + ": " + std::strerror(ENOSPC)), std::string::npos) << r.error;
        EXPECT_EQ(test::readFile(path), awkwardBytes());
        EXPECT_EQ(entriesIn(dir.path()), 1u) << step;
    }
    const FileResult missing = writeFileSafely("/nonexistent/folder/out.cpt", "x");
    EXPECT_NE(missing.error.find(std::string("/nonexistent/folder/out.cpt: ") + std::strerror(ENOENT)), std::string::npos)
        << missing.error;
}

// The new bytes reach the disk before the rename puts them in the old
// file's place, and the rename itself does after it.
TEST(SafeFile, SyncsTheFileBeforeTheRenameAndTheFolderAfterIt) {
    test::TempDir dir;
    test::writeFile(dir.file("out.cpt"), "old");
    calls.clear();
    recording = true;
    const bool written = writeFileSafely(dir.file("out.cpt"), "new").ok;
    recording = false;
    EXPECT_TRUE(written);
    EXPECT_EQ(calls, (std::vector<std::string>{"write", "fsync", "close", "rename", "fsync folder", "close"}));
}

}  // namespace
}  // namespace qm
