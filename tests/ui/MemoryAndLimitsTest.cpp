// The window and files it cannot take: a device, a FIFO, a file larger than
// a sounding can be are refused at File > Open with what they are, and the
// window stays as Open leaves it. Memory that runs out in a command fails
// that command alone: nothing is written, the run goes on, the sounding and
// the page are as they were.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <filesystem>
#include <new>

#include "model/FileLimits.h"
#include "model/SafeFile.h"
#include "support/SoundingCompare.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowCheck.h"

namespace qm::uitest {
namespace {

namespace fs = std::filesystem;

TEST(WindowFileLimits, WhatIsNoSoundingFileIsRefusedAtOpen) {
    TempDir dir;
    const std::string big = dir.file("big.cpt"), pipe = dir.file("pipe.cpt");
    writeFile(big, "");
    fs::resize_file(big, std::uintmax_t{100} << 30);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);  // never closes while the window reads
    Window win;
    for (const std::string& path : {big, std::string("/dev/zero"), pipe}) {
        win.messages->texts.clear();
        win.open(path);
        ASSERT_EQ(win.messages->texts.size(), 1u) << path;
        const std::string& text = win.messages->texts[0];
        EXPECT_EQ(text.rfind("Could not open " + path + ": it ", 0), 0u) << text;
        EXPECT_TRUE(win.form->action("MenuFileOpen")->isEnabled()) << path;
        EXPECT_FALSE(win.form->soundingLoaded()) << path;
    }
    ::close(writer);
    // The window still opens a sounding afterwards.
    win.open(samplesDir() + "/sample-10ch.cpt");
    EXPECT_TRUE(win.form->soundingLoaded());
}

// The seam of the safe write throws where an allocation would.
void runOutOfMemoryInWrites() {
    setFileFaultHook([](const char* op) -> int {
        if (std::string(op) == "write") throw std::bad_alloc();
        return 0;
    });
}

TEST(WindowMemory, ASaveOrExportThatRunsOutWritesNothingAndTheRunGoesOn) {
    for (const char* command : {"save", "export"}) {
        TempDir dir;
        Window win;
        win.open(samplesDir() + "/sample-10ch.cpt");
        const Sounding before = win.form->sounding();
        win.messages->texts.clear();
        win.files->answers = {dir.file(std::string("out.") + command)};
        runOutOfMemoryInWrites();
        if (std::string(command) == "save") {
            win.form->action("MenuFileSave")->trigger();
        } else {
            win.form->action("MenuExport")->trigger();
            clickOn(win.w<QPushButton>("Command1"));
        }
        setFileFaultHook({});
        const std::string what = std::string(command) == "save" ? "save the sounding" : "export the sounding";
        ASSERT_FALSE(win.messages->texts.empty()) << command;
        EXPECT_EQ(win.messages->texts.back(),
                  "There is not enough memory to " + what + ". The sounding and the files are as they were.");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 0) << command << ": something was written";
        EXPECT_EQ(win.runsEnded, 0) << command;
        if (std::string(command) == "save") {
            EXPECT_EQ(test::soundingDifference(before, win.form->sounding()), "");
        }
        EXPECT_EQ(windowProblem(*win.form), "") << command;
    }
}

TEST(WindowMemory, ACommandThatRunsOutPutsTheSoundingBack) {
    Window win;
    win.open(samplesDir() + "/sample-10ch.cpt");
    const Sounding before = win.form->sounding();
    win.messages->texts.clear();
    win.form->runCommand("shift the channels", [&] {
        win.form->beginStep();
        Sounding& s = win.form->sounding();
        for (int r = 1; r <= s.readingCount; ++r) s.value(1, r) += 5.0f;
        s.readingCount -= 3;
        throw std::bad_alloc();
    });
    EXPECT_EQ(win.messages->texts,
              std::vector<std::string>{
                  "There is not enough memory to shift the channels. The sounding and the files are as they were."});
    EXPECT_EQ(test::soundingDifference(before, win.form->sounding()), "");
    EXPECT_EQ(windowProblem(*win.form), "");
    EXPECT_FALSE(win.form->action("mnuUndo")->isEnabled());
    // The next command records its step as usual.
    win.form->action("mnu2Digits")->trigger();
    win.form->action("mnu3Digits")->trigger();
    EXPECT_TRUE(win.form->action("mnuUndo")->isEnabled());
}

}  // namespace
}  // namespace qm::uitest
