// Where the programs look for the channel type tables, and where the first
// file dialog starts: beside the programs in the build folder, in
// <prefix>/share/quillmere once installed.

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
        const char* programFolder;  // the rest under a temporary prefix
        const char* dataFolder;
        const char* firstDialog;
    };
    const Case cases[] = {
        {"build folder", true, false, "bin", "bin", "bin/samples"},
        {"installed", false, true, "bin", "share/quillmere", "share/quillmere/samples"},
        {"installed, named with a slash", false, true, "bin/", "share/quillmere", "share/quillmere/samples"},
        {"tables beside the program win", true, true, "bin", "bin", "bin/samples"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempDir prefix;
        fs::create_directories(prefix.path() / "share/quillmere/samples");
        fs::create_directories(prefix.path() / "bin/samples");
        if (c.tablesBesideProgram) test::writeFile(prefix.file("bin/Channel3.txt"), "");
        if (c.tablesInShare) test::writeFile(prefix.file("share/quillmere/Channel1.txt"), "");
        const std::string folder = dataFolderFor(prefix.file(c.programFolder));
        EXPECT_TRUE(fs::equivalent(folder, prefix.path() / c.dataFolder)) << folder;
        EXPECT_TRUE(fs::equivalent(firstDialogFolder(folder), prefix.path() / c.firstDialog));
    }
}

}  // namespace
}  // namespace qm
