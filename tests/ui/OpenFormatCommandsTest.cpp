// File > Export CSV / GEF-CPT / AGS4 in the window: enabled by the load, the
// file dialog's filter, the question before an existing file is replaced,
// the header boxes' texts and the page's depth unit reaching the file, and
// the sounding left as it was.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>

#include "support/SoundingCompare.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

TEST(OpenFormatCommands, WriteWhatTheWindowShowsAndAskBeforeReplacing) {
    Window win;
    const char* items[] = {"mnuExportCsv", "mnuExportGef", "mnuExportAgs"};
    win.open(samplesDir() + "/sample-nopore.cpt");
    for (const char* item : items) EXPECT_TRUE(win.form->action(item)->isEnabled()) << item;
    const Sounding before = win.form->sounding();

    TempDir dir;
    win.form->setBoxText("txtCompanyName", "Edited, Co");
    win.w<QComboBox>("cmbDepthUnits_1")->setCurrentIndex(1);
    win.form->cmbDepthUnitsClick();
    win.files->answers = {dir.file("a.csv")};
    win.form->action("mnuExportCsv")->trigger();
    EXPECT_NE(win.files->shown.back().find("\"CSV file (*.csv)|*.csv\""), std::string::npos);
    EXPECT_EQ(readFile(dir.file("a.csv")).substr(0, 11), "Depth (ft),");

    writeFile(dir.file("b.gef"), "earlier");
    const std::size_t boxes = win.messages->texts.size();
    win.files->answers = {dir.file("b.gef")};
    win.messages->answers = {false};
    win.form->action("mnuExportGef")->trigger();
    EXPECT_EQ(readFile(dir.file("b.gef")), "earlier");
    ASSERT_EQ(win.messages->texts.size(), boxes + 1);
    EXPECT_EQ(win.messages->texts.back(), "Do you want to overwrite the existing file?");
    win.files->answers = {dir.file("b.gef")};
    win.messages->answers = {true};
    win.form->action("mnuExportGef")->trigger();
    EXPECT_NE(readFile(dir.file("b.gef")).find("#FILEOWNER= Edited  Co\r\n"), std::string::npos);

    // The box texts went into a copy: the Sounding is as the load left it
    // (but for the page's own depth column, which follows the depth unit).
    Sounding after = win.form->sounding();
    for (int r = 1; r <= after.readingCount; ++r) after.value(0, r) = before.value(0, r);
    EXPECT_EQ(test::soundingDifference(before, after), "");
}

}  // namespace
}  // namespace qm::uitest
