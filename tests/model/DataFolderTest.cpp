// Where the programs look for the channel type tables: beside themselves in
// the build folder, in <prefix>/share/quillmere once installed.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/DataFolder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, BuildAndInstalledLayouts) {
    struct Case {
        const char* name;
        bool tablesBesideProgram, tablesInShare;
        const char* programFolder;  // under the prefix
        const char* expected;       // under the prefix
    };
    const Case cases[] = {
        {"build folder", true, false, "bin", "bin"},
        {"installed", false, true, "bin", "share/quillmere"},
        {"installed, folder given with a slash", false, true, "bin/", "share/quillmere"},
        {"tables beside the program win", true, true, "bin", "bin"},
        {"no tables anywhere", false, false, "bin", "bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempDir prefix;
        fs::create_directories(prefix.path() / "bin");
        fs::create_directories(prefix.path() / "share/quillmere/samples");
        if (c.tablesBesideProgram) test::writeFile(prefix.file("bin/Channel3.txt"), "");
        if (c.tablesInShare) test::writeFile(prefix.file("share/quillmere/Channel1.txt"), "");
        const std::string folder = dataFolderFor(prefix.file(c.programFolder));
        EXPECT_TRUE(fs::equivalent(folder, prefix.path() / c.expected)) << folder;
    }
}

TEST(DataFolder, InstalledProgramsFirstDialogStartsInTheSamples) {
    const test::TempDir prefix;
    fs::create_directories(prefix.path() / "bin");
    fs::create_directories(prefix.path() / "share/quillmere/samples");
    test::writeFile(prefix.file("share/quillmere/Channel1.txt"), "");
    const std::string folder = firstDialogFolder(dataFolderFor(prefix.file("bin")));
    EXPECT_TRUE(fs::equivalent(folder, prefix.path() / "share/quillmere/samples")) << folder;
}

}  // namespace
}  // namespace qm
