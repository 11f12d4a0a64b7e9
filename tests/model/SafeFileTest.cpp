#include "model/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

// Bytes that a text-mode write would spoil: NUL, lone CR and LF, high bytes.
std::string awkwardBytes() {
    std::string bytes = "line\r\nlone\rcr\nlf";
    bytes += std::string("\0\xff\xe9\x80", 4);
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

// Resets the fault hook even when a test fails half-way.
struct FaultHookGuard {
    explicit FaultHookGuard(FileFaultHook hook) { setFileFaultHook(std::move(hook)); }
    ~FaultHookGuard() { setFileFaultHook({}); }
};

TEST(SafeFileWrite, CreatesAndReplacesWithTheExactBytesLeavingNoTemporaryFile) {
    test::TempDir dir;
    const std::string path = dir.file("out.cpt");
    ASSERT_TRUE(writeFileSafely(path, "first").ok);
    EXPECT_EQ(test::readFile(path), "first");
    const FileResult replaced = writeFileSafely(path, awkwardBytes());
    ASSERT_TRUE(replaced.ok) << replaced.error;
    EXPECT_EQ(test::readFile(path), awkwardBytes());
    ASSERT_TRUE(writeFileSafely(path, "").ok);
    EXPECT_EQ(test::readFile(path), "");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"out.cpt"});

    std::string back;
    ASSERT_TRUE(writeFileSafely(path, awkwardBytes()).ok);
    ASSERT_TRUE(readWholeFile(path, back).ok);
    EXPECT_EQ(back, awkwardBytes());
}

TEST(SafeFileWrite, ReplacedFileKeepsItsModeNewFileGetsTheUsualOne) {
    test::TempDir dir;
    const std::string path = dir.file("kept.cpt");
    test::writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileSafely(path, "new").ok);
    EXPECT_EQ(modeOf(path), 0640u);

    const mode_t mask = ::umask(022);
    const std::string fresh = dir.file("fresh.cpt");
    const FileResult created = writeFileSafely(fresh, "x");
    ::umask(mask);
    ASSERT_TRUE(created.ok);
    EXPECT_EQ(modeOf(fresh), 0644u);
}

TEST(SafeFileWrite, FailureNamesTheFileAndTheReason) {
    test::TempDir dir;
    const std::string underMissing = dir.file("no/such/folder/out.cpt");
    const FileResult a = writeFileSafely(underMissing, "x");
    EXPECT_FALSE(a.ok);
    EXPECT_NE(a.error.find(underMissing), std::string::npos) << a.error;
    EXPECT_NE(a.error.find(std::strerror(ENOENT)), std::string::npos) << a.error;

    // A file where a folder should be.
    test::writeFile(dir.file("plain"), "not a folder");
    const std::string underFile = dir.file("plain/out.cpt");
    const FileResult b = writeFileSafely(underFile, "x");
    EXPECT_FALSE(b.ok);
    EXPECT_NE(b.error.find(underFile), std::string::npos) << b.error;
    EXPECT_NE(b.error.find(std::strerror(ENOTDIR)), std::string::npos) << b.error;
    EXPECT_EQ(test::readFile(dir.file("plain")), "not a folder");

    // A folder where the file should be.
    fs::create_directory(dir.path() / "folder.cpt");
    const FileResult c = writeFileSafely(dir.file("folder.cpt"), "x");
    EXPECT_FALSE(c.ok);
    EXPECT_NE(c.error.find("folder.cpt"), std::string::npos) << c.error;
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder.cpt"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"folder.cpt", "plain"}));
}

TEST(SafeFileWrite, AFailingStepLeavesTheEarlierFileByteForByte) {
    for (const char* step : {"open", "write", "flush", "close", "rename"}) {
        SCOPED_TRACE(step);
        test::TempDir dir;
        const std::string path = dir.file("sounding.cpt");
        test::writeFile(path, awkwardBytes());
        std::vector<std::string> asked;
        const FaultHookGuard guard([&](const char* operation) {
            asked.emplace_back(operation);
            return std::string(operation) == step ? ENOSPC : 0;
        });
        const FileResult r = writeFileSafely(path, std::string(100000, 'n'));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(std::strerror(ENOSPC)), std::string::npos) << r.error;
        EXPECT_EQ(test::readFile(path), awkwardBytes());
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"sounding.cpt"});
        EXPECT_NE(std::find(asked.begin(), asked.end(), step), asked.end()) << "the hook was never asked";

        // A new file that fails is not left behind either.
        const FileResult n = writeFileSafely(dir.file("new.cpt"), "bytes");
        EXPECT_FALSE(n.ok);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"sounding.cpt"});
    }
}

TEST(SafeFileRead, MissingFileIsNamed) {
    test::TempDir dir;
    std::string bytes = "unchanged";
    const FileResult r = readWholeFile(dir.file("absent.cpt"), bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("absent.cpt"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(std::strerror(ENOENT)), std::string::npos) << r.error;
    EXPECT_EQ(bytes, "unchanged");
    EXPECT_FALSE(readWholeFile(dir.path().string(), bytes).ok);
}

TEST(SafeFileCopy, CopiesByteForByteAndReplacesAnExistingFile) {
    test::TempDir dir;
    const std::string from = dir.file("source.cpt");
    const std::string to = dir.file("copy.cpt");
    test::writeFile(from, awkwardBytes());
    test::writeFile(to, "to be replaced, and longer than nothing at all");
    const FileResult r = copyFileSafely(from, to);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(test::readFile(to), awkwardBytes());
    EXPECT_EQ(test::readFile(from), awkwardBytes());
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"copy.cpt", "source.cpt"}));
}

TEST(SafeFileCopy, OntoItselfIsRefusedAndTheFileStays) {
    test::TempDir dir;
    const std::string from = dir.file("source.cpt");
    test::writeFile(from, awkwardBytes());
    for (const std::string& to : {from, (dir.path() / "." / "source.cpt").string()}) {
        const FileResult r = copyFileSafely(from, to);
        EXPECT_FALSE(r.ok) << to;
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(test::readFile(from), awkwardBytes());
    }
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"source.cpt"});
}

TEST(SafeFileCopy, FailuresNameTheFileAndLeaveTheDestination) {
    test::TempDir dir;
    const FileResult missing = copyFileSafely(dir.file("absent.cpt"), dir.file("copy.cpt"));
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("absent.cpt"), std::string::npos) << missing.error;
    EXPECT_TRUE(namesIn(dir.path()).empty());

    test::writeFile(dir.file("source.cpt"), "source");
    test::writeFile(dir.file("copy.cpt"), "earlier copy");
    const FaultHookGuard guard([](const char* operation) { return std::string(operation) == "write" ? EIO : 0; });
    const FileResult failed = copyFileSafely(dir.file("source.cpt"), dir.file("copy.cpt"));
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("copy.cpt"), std::string::npos) << failed.error;
    EXPECT_EQ(test::readFile(dir.file("copy.cpt")), "earlier copy");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"copy.cpt", "source.cpt"}));
}

TEST(SafeFileNames, ExistenceAndTitle) {
    test::TempDir dir;
    test::writeFile(dir.file("a.cpt"), "");
    EXPECT_TRUE(fileExists(dir.file("a.cpt")));
    EXPECT_FALSE(fileExists(dir.file("b.cpt")));
    EXPECT_FALSE(fileExists(""));
    EXPECT_EQ(fileTitleOf("/some/folder/CPT-03.cpt"), "CPT-03.cpt");
    EXPECT_EQ(fileTitleOf("plain.cpt"), "plain.cpt");
}

}  // namespace
}  // namespace qm
