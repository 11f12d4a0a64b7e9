// A full disk, a lost connection or a failing rename can hit any call of a
// file write. Each of the window's writes (File > Save, Export, Copy, Export
// Log, History > Save History)
// runs once for every call it makes, with that call failing: the target is
// the earlier file byte for byte (or still absent), no temporary file is
// left beside it, the run goes on, and the user gets one message naming the
// file and the reason. With no call failing the target is the complete file,
// and a replaced file keeps its owner, group and mode (without set-id bits).
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "model/SafeFile.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::vector<std::string> messages, calls;
    QStringList namesBefore, names;
    std::string earlier, target, targetName;
    bool openedKept = false;
    int runsEnded = 0;
    struct stat targetStat {};
};

// Runs `command` on a copy of sample-10ch in a fresh folder, over an earlier
// file unless `fresh`, with the `failAt`-th call of the write failing (none
// for 0).
Outcome run(const std::string& command, bool fresh, int failAt) {
    TempDir dir;
    const std::string opened = dir.file("CPT-07.cpt"), sample = readFile(samplesDir() + "/sample-10ch.cpt");
    const std::string target = command == "save"     ? (fresh ? dir.file("CPT-07-clean.cpt") : opened)
                               : command == "history" ? dir.file("CPT-07-history.txt")
                               : command == "log"     ? dir.file("CPT-07-log.svg")
                                                      : dir.file(command == "export" ? "CPT-07.cpd" : "CPT-07-copy.cpt");
    writeFile(opened, sample);
    if (!fresh && target != opened) writeFile(target, "an earlier file\r\n");
    // A file of a shared project folder, of another owner and group.
    if (!fresh && ::geteuid() == 0 && (::chown(target.c_str(), 1002, 2000) != 0 || ::chmod(target.c_str(), 02664) != 0))
        ADD_FAILURE() << "cannot give " << target << " away";
    auto contents = [&] { return fs::exists(target) ? readFile(target) : "(absent)"; };
    auto names = [&] { return QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files | QDir::Hidden); };
    Outcome out{{}, {}, names(), {}, contents(), {}, fs::path(target).filename().string()};
    Window win;
    win.open(opened);
    win.messages->texts.clear();
    win.messages->answers = {true};  // overwrite: yes
    win.files->answers = {target};
    if (command == "copy") win.files->answers.push_front(opened);
    if (command == "history")  // one step, so the record is not empty
        win.form->action(win.form->action("mnu3Digits")->isChecked() ? "mnu2Digits" : "mnu3Digits")->trigger();
    setFileFaultHook([&](const char* operation) {
        // Setting the owner may fail without harm: the write goes on.
        if (std::strcmp(operation, "chown") == 0) return 0;
        out.calls.emplace_back(operation);
        return int(out.calls.size()) == failAt ? ENOSPC : 0;
    });
    if (command == "save") win.form->menuFileSaveClick();
    if (command == "export") win.form->action("MenuExport")->trigger(), clickOn(win.w<QPushButton>("Command1"));
    if (command == "copy") win.form->mnuCopyClick();
    if (command == "history") win.form->action("mnuSaveHistory")->trigger();
    if (command == "log") win.form->action("mnuExportLog")->trigger();
    setFileFaultHook({});
    // The overwrite question of a save comes before the write.
    out.messages = win.messages->texts;
    std::erase(out.messages, std::string("Do you want to overwrite the existing file?"));
    out.target = contents();
    ::stat(target.c_str(), &out.targetStat);
    out.names = names();
    out.openedKept = readFile(opened) == (target == opened ? out.target : sample);
    out.runsEnded = win.runsEnded;
    return out;
}

class FileFaults : public testing::TestWithParam<std::tuple<const char*, bool>> {};

TEST_P(FileFaults, EveryFailingCallLeavesTheEarlierFileAndTellsWhy) {
    const auto [command, fresh] = GetParam();
    const std::string which = command;
    const Outcome complete = run(command, fresh, 0);
    for (const char* op : {"open", "write", "flush", "close", "rename"})
        EXPECT_NE(std::find(complete.calls.begin(), complete.calls.end(), op), complete.calls.end()) << op;
    const std::string closing = which == "copy"      ? "File copied"
                                : which == "history" ? "History saved."
                                                     : "File saved.  To cleanup another file, restart the program.";
    const bool silent = which == "export" || which == "log";
    EXPECT_EQ(complete.messages, silent ? std::vector<std::string>{} : std::vector<std::string>{closing});
    EXPECT_TRUE(complete.openedKept && complete.target.size() > (which == "history" ? 10u : 1000u));
    EXPECT_EQ(complete.names.size(), complete.namesBefore.size() + fresh);
    if (!fresh && ::geteuid() == 0) {
        EXPECT_EQ(complete.targetStat.st_uid, 1002u);
        EXPECT_EQ(complete.targetStat.st_gid, 2000u);
        EXPECT_EQ(complete.targetStat.st_mode & 07777, 0664u);
    }
    for (int n = 1; n <= int(complete.calls.size()); ++n) {
        SCOPED_TRACE(which + (fresh ? " to a new file" : " over an earlier file") + ", call " + std::to_string(n));
        const Outcome failed = run(command, fresh, n);
        EXPECT_TRUE(failed.target == failed.earlier) << "the earlier file was changed";
        EXPECT_EQ(failed.names, failed.namesBefore) << "a temporary file was left behind";
        EXPECT_TRUE(failed.openedKept);
        ASSERT_EQ(failed.messages.size(), 1u);
        EXPECT_NE(failed.messages[0].find(std::strerror(ENOSPC)), std::string::npos) << failed.messages[0];
        EXPECT_NE(failed.messages[0].find(failed.targetName), std::string::npos) << failed.messages[0];
        EXPECT_EQ(failed.runsEnded, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(SaveExportCopy, FileFaults, testing::Combine(testing::Values("save", "export", "copy", "history", "log"), testing::Bool()),
                         [](const auto& i) { return std::get<0>(i.param) + std::string(std::get<1>(i.param) ? "New" : "Over"); });

}  // namespace
}  // namespace qm::uitest
