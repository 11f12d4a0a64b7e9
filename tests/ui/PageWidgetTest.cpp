// The readings page through its widgets: keys and clicks on the cells, the
// colours they show, focus moves, and the unit boxes.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

const QColor kGreenColor(0, 220, 0);
const QColor kGreyColor(220, 220, 220);
const QColor kWhiteColor(255, 255, 255);

QString depthCell(int r) { return QString("txtDepth_%1").arg(r); }
QString channelCell(int c, int r) { return QString("txtChannel%1_%2").arg(c).arg(r); }

struct LoadedWindow : Window {
    explicit LoadedWindow(SoundingText text = {}, int commaMode = 0) : Window(commaMode) {
        open(text.writeTo(dir, "page.cpt"));
        EXPECT_TRUE(form->soundingLoaded());
    }
    int greenRow() const {
        int found = 0;
        for (int r = 1; r <= 24; ++r)
            if (background(cell(depthCell(r))) == kGreenColor) found = found ? -1 : r;
        return found;
    }
    QString label() const { return w<QLabel>("lblDataIndex")->text(); }
    TempDir dir;
};

TEST(PageWidget, DownMovesTheFocusThenScrollsAtTheBottomRow) {
    LoadedWindow win;
    QLineEdit* cell = win.cell(depthCell(1));
    for (int i = 0; i < 23; ++i) {
        sendKey(cell, Qt::Key_Down);
        cell = qobject_cast<QLineEdit*>(win.form->focusWidget());
        ASSERT_NE(cell, nullptr);
    }
    EXPECT_EQ(cell->objectName(), depthCell(24));
    EXPECT_EQ(win.greenRow(), 24);
    EXPECT_EQ(win.text(depthCell(1)), "0.020");
    sendKey(cell, Qt::Key_Down);
    EXPECT_EQ(win.form->focusWidget(), cell);
    EXPECT_EQ(win.greenRow(), 24);
    EXPECT_EQ(win.text(depthCell(1)), "0.040");
    EXPECT_EQ(win.text(depthCell(24)), "0.500");
    EXPECT_EQ(win.text(channelCell(1, 24)), "125");
    EXPECT_EQ(win.label(), "Data Index:  25");
    // The grey cells stay with the cursor row.
    EXPECT_EQ(background(win.cell(channelCell(1, 24))), kGreyColor);
    EXPECT_EQ(background(win.cell(channelCell(1, 23))), kWhiteColor);
}

TEST(PageWidget, SpeedColumnNavigatesAndUpdatesTheLabel) {
    LoadedWindow win;
    sendKey(win.cell("txtSpeed_1"), Qt::Key_Down);
    EXPECT_EQ(win.form->focusWidget(), win.cell(depthCell(2)));
    EXPECT_EQ(win.label(), "Data Index:  2");
    sendKey(win.cell("txtSpeed_2"), Qt::Key_Up);
    EXPECT_EQ(win.label(), "Data Index:  1");
    // Up at the first reading does nothing.
    sendKey(win.cell("txtSpeed_1"), Qt::Key_Up);
    EXPECT_EQ(win.label(), "Data Index:  1");
    EXPECT_EQ(win.greenRow(), 1);
}

TEST(PageWidget, InsertAndDeleteKeysInTheDepthColumn) {
    LoadedWindow win;
    for (int r = 1; r <= 4; ++r) sendKey(win.cell(depthCell(r)), Qt::Key_Down);
    ASSERT_EQ(win.label(), "Data Index:  5");
    sendKey(win.cell(depthCell(5)), Qt::Key_Insert);
    EXPECT_EQ(win.w<QLabel>("lblNumberOfReadings")->text(), "# of Readings:  61");
    EXPECT_EQ(win.text(channelCell(1, 5)), "104");
    EXPECT_EQ(win.text(channelCell(1, 4)), "103");
    EXPECT_EQ(win.text(channelCell(1, 3)), "103");
    sendKey(win.cell(depthCell(5)), Qt::Key_Delete);
    EXPECT_EQ(win.w<QLabel>("lblNumberOfReadings")->text(), "# of Readings:  60");
    EXPECT_EQ(win.text(channelCell(1, 5)), "105");
    // The depth cell's text is not edited by these keys.
    EXPECT_EQ(win.text(depthCell(5)), "0.100");
}

TEST(PageWidget, InsertAtTheFirstReadingDoesNothing) {
    LoadedWindow win;
    sendKey(win.cell(depthCell(1)), Qt::Key_Insert);
    EXPECT_EQ(win.form->sounding().readingCount, 60);
    EXPECT_EQ(win.w<QLabel>("lblNumberOfReadings")->text(), "# of Readings:  60");
}

TEST(PageWidget, ClickTypeClickCommits) {
    LoadedWindow win;
    QLineEdit* a = win.cell(channelCell(1, 5));
    QLineEdit* b = win.cell(channelCell(2, 8));
    clickOn(a);
    EXPECT_EQ(background(a), kGreenColor);
    typeInto(a, "7");
    EXPECT_EQ(shown(a), "7");
    clickOn(b);
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_EQ(win.form->sounding().value(1, 5), 7.0f);
    EXPECT_EQ(shown(a), "7");
    EXPECT_EQ(background(a), kWhiteColor);
    EXPECT_EQ(background(b), kGreenColor);

    // An invalid text: the message, the text put back, A stays selected.
    typeInto(b, "abc");
    clickOn(a);
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "Invalid Text Entry");
    EXPECT_EQ(shown(b), "208.0");
    EXPECT_EQ(background(b), kGreenColor);
    EXPECT_EQ(background(a), kWhiteColor);
    EXPECT_EQ(win.form->focusWidget(), b);
}

TEST(PageWidget, KeyCommitsInBothDecimalModes) {
    for (int mode : {0, 1}) {
        LoadedWindow win({}, mode);
        const QString sep = mode ? "," : ".";
        QLineEdit* cell = win.cell(channelCell(2, 1));
        clickOn(cell);
        typeInto(cell, "12" + sep + "5");
        sendKey(cell, Qt::Key_Down);
        EXPECT_TRUE(win.messages->texts.empty()) << mode;
        EXPECT_EQ(win.form->sounding().value(2, 1), 12.5f) << mode;
        EXPECT_EQ(win.label(), "Data Index:  2");
        EXPECT_EQ(win.form->focusWidget(), win.cell(depthCell(2)));
        // The page's own texts carry the mode's separator.
        EXPECT_EQ(win.text(channelCell(2, 3)), "203" + sep + "0");

        // The other separator is refused, and Up does not move.
        cell = win.cell(channelCell(2, 2));
        clickOn(cell);
        typeInto(cell, QString("1") + (mode ? "." : ",") + "5");
        sendKey(cell, Qt::Key_Up);
        ASSERT_EQ(win.messages->texts.size(), 1u) << mode;
        EXPECT_EQ(win.messages->texts[0], "Invalid Text Entry");
        EXPECT_EQ(shown(cell), "202" + sep + "0");
        EXPECT_EQ(win.label(), "Data Index:  2");

        // Enter commits and gives the focus to the depth cell.
        typeInto(cell, "-3");
        sendKey(cell, Qt::Key_Return);
        EXPECT_EQ(win.form->sounding().value(2, 2), -3.0f);
        EXPECT_EQ(background(cell), kGreyColor);
        EXPECT_EQ(win.form->focusWidget(), win.cell(depthCell(2)));
    }
}

TEST(PageWidget, OtherKeysEditAChannelCell) {
    LoadedWindow win;
    QLineEdit* cell = win.cell(channelCell(1, 3));
    clickOn(cell);
    cell->setCursorPosition(0);
    sendKey(cell, Qt::Key_Delete);
    EXPECT_EQ(shown(cell), "03");
    EXPECT_EQ(win.form->sounding().value(1, 3), 103.0f);
}

TEST(PageWidget, TheEditingBufferFollowsWhenACellIsUsed) {
    LoadedWindow win;
    for (int i = 0; i < 30; ++i) sendKey(win.cell("txtSpeed_24"), Qt::Key_Down);
    QLineEdit* cell = win.cell(channelCell(1, 3));
    // Reading 31 on row 24, so row 3 shows reading 10.
    EXPECT_EQ(shown(cell), "110");
    clickOn(cell);
    EXPECT_EQ(cell->text(), "110");
    // Typing edits the text the cell shows.
    cell->setCursorPosition(3);
    sendKey(cell, 0, "5");
    EXPECT_EQ(shown(cell), "1105");
}

TEST(PageWidget, ChannelUnitChangeAndRoundTrip) {
    LoadedWindow win;
    QComboBox* units = win.w<QComboBox>("cmbChannelUnits_1");
    const int mpa = units->findText("MPA");
    ASSERT_GT(mpa, 0);
    units->setCurrentIndex(mpa);
    emit units->activated(mpa);
    EXPECT_EQ(win.text(channelCell(1, 1)), "0.101");
    EXPECT_EQ(win.form->sounding().channelUnitIndex[1], mpa + 1);
    units->setCurrentIndex(0);
    emit units->activated(0);
    EXPECT_EQ(win.text(channelCell(1, 1)), "101");
    EXPECT_NEAR(win.form->sounding().value(1, 1), 101.0f, 1e-3f);
    // The saved file does not depend on the display unit.
    win.form->selectChannelUnit(1, mpa);
    EXPECT_EQ(units->currentIndex(), mpa);
    EXPECT_EQ(win.text(channelCell(1, 2)), "0.102");
}

TEST(PageWidget, AUnitWithFactorZeroIsRefused) {
    TempDir tables;
    for (int t = 1; t <= 20; ++t) {
        const std::string name = "Channel" + std::to_string(t) + ".txt";
        writeFile(tables.file(name), readFile(dataDir() + "/" + name));
    }
    writeFile(tables.file("Channel1.txt"),
              "1,2,3,4,5,6,7,8,9,10,11,12,13,2,\"KPA\",\"#####0\",1,\"BROKEN\",\"##0.00\",0\r\n");
    Window win(0, tables.path().string());
    TempDir dir;
    win.open(SoundingText{}.writeTo(dir, "page.cpt"));
    ASSERT_TRUE(win.form->soundingLoaded());
    QComboBox* units = win.w<QComboBox>("cmbChannelUnits_1");
    ASSERT_EQ(units->count(), 2);
    units->setCurrentIndex(1);
    emit units->activated(1);
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("BROKEN"), std::string::npos);
    EXPECT_EQ(units->currentIndex(), 0);
    EXPECT_EQ(win.form->sounding().value(1, 1), 101.0f);
    EXPECT_EQ(win.text(channelCell(1, 1)), "101");
}

TEST(PageWidget, DepthUnitFeetAndBack) {
    LoadedWindow win;
    QComboBox* units = win.w<QComboBox>("cmbDepthUnits_1");
    units->setCurrentIndex(1);
    emit units->activated(1);
    EXPECT_EQ(win.text(depthCell(1)), "0.066");
    units->setCurrentIndex(0);
    emit units->activated(0);
    EXPECT_EQ(win.text(depthCell(1)), "0.020");
    EXPECT_EQ(win.form->sounding().depth[1], static_cast<float>(0.02));
}

TEST(PageWidget, RedSpeedAndDepthText) {
    SoundingText text;
    text.readings = 10;
    LoadedWindow win(text);
    // Rows past the last reading show zero speeds, in red.
    EXPECT_EQ(win.text("txtSpeed_11"), ".00");
    EXPECT_EQ(textColor(win.cell("txtSpeed_11")), QColor(255, 0, 0));
    EXPECT_EQ(textColor(win.cell(depthCell(11))), QColor(255, 0, 0));
    EXPECT_EQ(textColor(win.cell("txtSpeed_1")), QColor(0, 0, 0));
}

TEST(PageWidget, DepthClickAfterTheLoadOnlyRemovesTheHighlight) {
    LoadedWindow win;
    QLineEdit* a = win.cell(channelCell(1, 6));
    clickOn(a);
    typeInto(a, "42");
    clickOn(win.cell(depthCell(9)));
    EXPECT_EQ(win.greenRow(), 1);
    EXPECT_EQ(background(a), kWhiteColor);
    EXPECT_EQ(win.form->page().editColumn, 1);
    // The typed text stays and is committed by the next click elsewhere.
    EXPECT_EQ(shown(a), "42");
    clickOn(win.cell(channelCell(2, 2)));
    EXPECT_EQ(win.form->sounding().value(1, 6), 42.0f);
}

}  // namespace
}  // namespace qm::test
