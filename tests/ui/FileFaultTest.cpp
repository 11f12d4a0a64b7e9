// A full disk, a lost connection or a failing rename can hit any call of a
// file write. Each of the window's three writes (File > Save, Export, Copy)
// is run once for every call it makes, with that call failing: the target
// must be the earlier file byte for byte (or still absent), no temporary
// file may be left beside it, and the user gets one message with the reason.
// With no call failing the target holds the complete new file.
#include <gtest/gtest.h>

#include <QPushButton>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "model/SafeFile.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

enum class Command { Save, Export, Copy, SaveHistory };

const char* nameOf(Command c) {
    return c == Command::Save ? "save" : c == Command::Export ? "export" : c == Command::Copy ? "copy" : "history";
}

// Counts every call of a safe write and fails the n-th (never when 0).
struct InjectedFault {
    explicit InjectedFault(int failAt) : failAt_(failAt) {
        setFileFaultHook([this](const char* operation) {
            operations.emplace_back(operation);
            return static_cast<int>(operations.size()) == failAt_ ? ENOSPC : 0;
        });
    }
    ~InjectedFault() { setFileFaultHook({}); }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;
    std::vector<std::string> operations;

   private:
    int failAt_;
};

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A folder holding the opened sounding and, unless `fresh`, an earlier file
// where the command writes.
struct Scene {
    Scene(Command command, bool fresh) : command(command) {
        opened = dir.file("CPT-07.cpt");
        writeFile(opened, readFile(samplesDir() + "/sample-10ch.cpt"));
        switch (command) {
            case Command::Save: target = fresh ? dir.file("CPT-07-clean.cpt") : opened; break;
            case Command::Export: target = dir.file("CPT-07.cpd"); break;
            case Command::Copy: target = dir.file("CPT-07-copy.cpt"); break;
            case Command::SaveHistory: target = dir.file("CPT-07-history.txt"); break;
        }
        if (!fresh && target != opened) writeFile(target, "an earlier file\r\nof two lines\r\n");
        if (fs::exists(target)) earlier = readFile(target);
        namesBefore = namesIn(dir.path());
    }

    // Runs the command in a new window on the opened file; the messages it
    // gave, and whether the run ended.
    std::vector<std::string> run(int& runsEnded) const {
        Window win;
        win.open(opened);
        win.messages->texts.clear();
        win.messages->answers.push_back(true);  // overwrite: yes
        switch (command) {
            case Command::Save:
                win.files->answers.push_back(target);
                win.form->menuFileSaveClick();
                break;
            case Command::Export:
                win.form->action("MenuExport")->trigger();
                win.files->answers.push_back(target);
                clickOn(win.w<QPushButton>("Command1"));
                break;
            case Command::Copy:
                win.files->answers.push_back(opened);
                win.files->answers.push_back(target);
                win.form->mnuCopyClick();
                break;
            case Command::SaveHistory:
                // One step, so the record is not empty.
                win.form->action(win.form->action("mnu3Digits")->isChecked() ? "mnu2Digits" : "mnu3Digits")->trigger();
                win.files->answers.push_back(target);
                win.form->action("mnuSaveHistory")->trigger();
                break;
        }
        runsEnded = win.runsEnded;
        // The overwrite question of a save comes before the write; only the
        // messages after it count.
        std::vector<std::string> messages = win.messages->texts;
        std::erase(messages, std::string("Do you want to overwrite the existing file?"));
        return messages;
    }

    Command command;
    TempDir dir;
    std::string opened, target, earlier;
    std::vector<std::string> namesBefore;
};

// What the command writes when nothing fails, from a scene of its own.
std::string completeFile(Command command, bool fresh) {
    Scene scene(command, fresh);
    int ended = 0;
    scene.run(ended);
    return readFile(scene.target);
}

class FileFaults : public testing::TestWithParam<std::tuple<Command, bool>> {};

TEST_P(FileFaults, EveryFailingCallLeavesTheEarlierFileAndTellsWhy) {
    const auto [command, fresh] = GetParam();
    const std::string complete = completeFile(command, fresh);
    ASSERT_FALSE(complete.empty());

    // How many calls the write makes: all of open, write, flush, close and
    // rename ask the seam.
    int calls = 0;
    {
        Scene scene(command, fresh);
        InjectedFault none(0);
        int ended = 0;
        scene.run(ended);
        calls = static_cast<int>(none.operations.size());
        for (const char* op : {"open", "write", "flush", "close", "rename"})
            EXPECT_NE(std::find(none.operations.begin(), none.operations.end(), op), none.operations.end()) << op;
    }
    ASSERT_GE(calls, 5);

    for (int n = 1; n <= calls + 1; ++n) {
        SCOPED_TRACE(std::string(nameOf(command)) + (fresh ? " to a new file" : " over an earlier file") +
                     ", call " + std::to_string(n) + " of " + std::to_string(calls) + " failing");
        Scene scene(command, fresh);
        std::vector<std::string> messages;
        int ended = 0;
        {
            InjectedFault fault(n);
            messages = scene.run(ended);
        }
        std::vector<std::string> names = scene.namesBefore;
        if (n > calls) {
            // Nothing failed: the complete new file, and the command's own
            // closing message, if it has one.
            EXPECT_EQ(readFile(scene.target), complete);
            if (fresh) names.push_back(fs::path(scene.target).filename().string());
            std::sort(names.begin(), names.end());
            EXPECT_EQ(namesIn(scene.dir.path()), names);
            std::vector<std::string> closing;
            if (command == Command::Save) closing = {"File saved.  To cleanup another file, restart the program."};
            if (command == Command::Copy) closing = {"File copied"};
            if (command == Command::SaveHistory) closing = {"History saved."};
            EXPECT_EQ(messages, closing);
            continue;
        }
        if (fresh)
            EXPECT_FALSE(fs::exists(scene.target));
        else
            EXPECT_EQ(readFile(scene.target), scene.earlier);
        EXPECT_EQ(readFile(scene.opened), readFile(samplesDir() + "/sample-10ch.cpt"));
        EXPECT_EQ(namesIn(scene.dir.path()), names) << "a temporary file was left behind";
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(std::strerror(ENOSPC)), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(fs::path(scene.target).filename().string()), std::string::npos) << messages[0];
        EXPECT_EQ(ended, 0) << "a failed write ended the run";
    }
}

INSTANTIATE_TEST_SUITE_P(SaveExportCopy, FileFaults,
                         testing::Combine(testing::Values(Command::Save, Command::Export, Command::Copy, Command::SaveHistory),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<Command, bool>>& info) {
                             return std::string(nameOf(std::get<0>(info.param))) +
                                    (std::get<1>(info.param) ? "ToANewFile" : "OverAnEarlierFile");
                         });

}  // namespace
}  // namespace qm::test
