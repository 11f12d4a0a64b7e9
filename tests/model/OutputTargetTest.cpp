// What a safe write may replace: only a regular file, reached through any
// links, keeping its owner and group and never a set-id bit; several files
// as one write; a name of the longest legal length.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/SafeFile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

TEST(OutputTarget, OnlyARegularFileIsReplacedAndTheRefusalSaysWhatItIs) {
    test::TempDir dir;
    const std::string pipe = dir.file("pipe.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const FileResult r = writeFileSafely(pipe, "x");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Could not write " + pipe + ": it is a named pipe, not a regular file.");
    EXPECT_TRUE(S_ISFIFO(statOf(pipe).st_mode));
    EXPECT_EQ(outputTargetProblem("/dev/null"), "Could not write /dev/null: it is a character device, not a regular file.");
    EXPECT_EQ(outputTargetProblem(dir.path().string()), "Could not write " + dir.path().string() + ": Is a directory.");
    EXPECT_EQ(outputTargetProblem(dir.file("new.csv")), "");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(OutputTarget, ALinkReplacesTheFileItLeadsToAndStaysALink) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string real = dir.file("real/data.csv"), link = dir.file("link.csv");
    test::writeFile(real, "old");
    fs::create_symlink("real/data.csv", link);
    ASSERT_TRUE(writeFileSafely(link, "new").ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFile(real), "new");
    EXPECT_EQ(entriesIn(dir.path() / "real"), 1u) << "a temporary file was left";

    // A link that leads nowhere is refused, and nothing is created.
    const std::string dangling = dir.file("dangling.csv");
    fs::create_symlink("real/gone.csv", dangling);
    const FileResult r = writeFileSafely(dangling, "x");
    EXPECT_EQ(r.error, "Could not write " + dangling + ": it is a link to real/gone.csv, which does not exist.");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(dir.path() / "real" / "gone.csv"));
}

TEST(OutputTarget, AReplacedFileKeepsOwnerAndGroupAndLosesTheSetIdBits) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file away takes root";
    test::TempDir dir;
    const std::string path = dir.file("shared.cpt");
    test::writeFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 1002, 2000), 0);
    ASSERT_EQ(::chmod(path.c_str(), 06775), 0);
    ASSERT_TRUE(writeFileSafely(path, "new").ok);
    struct stat st = statOf(path);
    EXPECT_EQ(st.st_uid, 1002u);
    EXPECT_EQ(st.st_gid, 2000u);
    EXPECT_EQ(st.st_mode & 07777, 0775u);

    // Where the owner cannot be set, the group still is, and the write goes on.
    setFileFaultHook([](const char* op) { return std::strcmp(op, "chown") == 0 ? EPERM : 0; });
    const FileResult r = writeFileSafely(path, "newer");
    setFileFaultHook({});
    ASSERT_TRUE(r.ok) << r.error;
    st = statOf(path);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_gid, 2000u);
    EXPECT_EQ(test::readFile(path), "newer");
}

TEST(OutputTarget, ANameOfTheLongestLegalLengthIsWritable) {
    test::TempDir dir;
    const long limit = ::pathconf(dir.path().c_str(), _PC_NAME_MAX);
    const std::string path = dir.file(std::string(static_cast<std::size_t>(limit - 4), 'n') + ".csv");
    const FileResult r = writeFileSafely(path, "x");
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(test::readFile(path), "x");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(OutputTarget, SeveralFilesReplaceNothingUntilAllAreWhole) {
    test::TempDir dir;
    const std::string a = dir.file("log-1.svg"), b = dir.file("log-2.svg"), c = dir.file("log-3.svg");
    test::writeFile(a, "old 1");
    test::writeFile(b, "old 2");
    // The third page's temporary file cannot be made: the first two stay old.
    int opens = 0;
    setFileFaultHook([&opens](const char* op) { return std::strcmp(op, "open") == 0 && ++opens == 3 ? ENOSPC : 0; });
    const FileResult r = writeFilesSafely({{a, "new 1"}, {b, "new 2"}, {c, "new 3"}});
    setFileFaultHook({});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(c + ": " + std::strerror(ENOSPC)), std::string::npos) << r.error;
    EXPECT_EQ(test::readFile(a), "old 1");
    EXPECT_EQ(test::readFile(b), "old 2");
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "a temporary file was left";
    ASSERT_TRUE(writeFilesSafely({{a, "new 1"}, {b, "new 2"}, {c, "new 3"}}).ok);
    EXPECT_EQ(test::readFile(c), "new 3");
}

}  // namespace
}  // namespace qm
