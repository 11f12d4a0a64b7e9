// Inputs the window's monkey test found faults with, replayed step by step.

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QPushButton>

#include "model/PageText.h"
#include "ui/TextCodec.h"
#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

std::string sample(const std::string& name) { return samplesDir() + "/" + name; }

// Every page cell shows the reading its row stands for, in the model and on
// the widget.
void expectPageShowsTheSounding(const Window& win) {
    const Sounding& s = win.form->sounding();
    const auto rows = pageRowTexts(s, win.form->tables(), win.form->decimalSeparator());
    for (int r = 1; r <= kPageRows; ++r) {
        SCOPED_TRACE("page row " + std::to_string(r) + ", reading " + std::to_string(rows[r].readingIndex));
        EXPECT_EQ(win.form->page().cell(kDepthColumn, r).text, rows[r].depth);
        EXPECT_EQ(ui::toCp1252(win.text(QStringLiteral("txtDepth_%1").arg(r))), rows[r].depth);
        for (int c = 1; c <= s.channelCount; ++c) EXPECT_EQ(win.form->page().cell(c, r).text, rows[r].channel[c]);
    }
}

// The combine gives the sounding the second file's leading count (10 here)
// and leaves the cursor on reading 6 in row 6. Down asks the row selection
// for row 7, which puts the cursor on row 11, the first row it may take
// now: the page had to follow, or row 11 went on showing reading 11 while
// the cursor (and a value typed there) stood for reading 7.
TEST(MonkeyFindings, DownAfterACombineThatRaisedTheLeadingCountKeepsRowsOnTheirReadings) {
    Window win;
    win.open(sample("sample-nopore.cpt"));
    ASSERT_TRUE(win.form->soundingLoaded());
    const Sounding& s = win.form->sounding();
    ASSERT_EQ(s.dataIndex, 6);
    ASSERT_EQ(s.pageRow, 6);

    win.files->answers.push_back(sample("sample-newer.cpt"));
    win.form->action("menuCombine")->trigger();
    ASSERT_TRUE(win.form->panelFrame("frmSecondFileData")->isVisibleTo(win.form.get()));
    clickOn(win.w<QPushButton>("cmdCombineOK"));
    ASSERT_FALSE(win.form->panelFrame("frmSecondFileData")->isVisibleTo(win.form.get()));
    ASSERT_EQ(s.noDataLeadCount, 10);
    ASSERT_EQ(s.dataIndex, 6);

    // The combine itself leaves the page as it was until its next refresh.
    sendKey(win.cell("txtDepth_6"), Qt::Key_Down);
    EXPECT_EQ(s.dataIndex, 7);
    EXPECT_EQ(s.pageRow, 11);
    expectPageShowsTheSounding(win);

    // A value typed in the cursor row goes to the reading that row shows.
    const int column = 1;
    QLineEdit* cell = win.cell(QStringLiteral("txtChannel%1_11").arg(column));
    clickOn(cell);
    typeInto(cell, "5");
    sendKey(cell, Qt::Key_Return);
    EXPECT_FLOAT_EQ(s.value(column, 7), 5.0f);
}

}  // namespace
}  // namespace qm::test
