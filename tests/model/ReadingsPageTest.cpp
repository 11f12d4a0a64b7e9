// The readings page without widgets: cursor and colour rules, scrolling,
// Insert and Delete, and the commit of typed values.

#include "model/ReadingsPage.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"

namespace qm {
namespace {

using test::shippedTables;

// A sounding of `count` readings every 0.02 m, channel 1 tip resistance and
// channel 2 sleeve friction in KPA. Channel 1 holds 100 + r, channel 2 the
// value 1000 + r (or NoDataValue for its first `missing2` readings). Speeds
// are 2 cm/s.
std::unique_ptr<Sounding> makeSounding(int count, int missing2 = 0, int lead = -1) {
    auto s = std::make_unique<Sounding>();
    s->channelCount = 2;
    s->channelType[1] = 1;
    s->channelType[2] = 2;
    for (int c = 1; c <= 2; ++c) {
        s->channelUnitIndex[c] = 1;
        s->channelUnitFactor[c] = 1.0f;
    }
    s->readingCount = count;
    s->depthIncrement = 0.02f;
    s->depthDecimals = 2;
    for (int r = 1; r <= count; ++r) {
        s->depth[r] = static_cast<float>(0.02 * r);
        s->speed[r] = 2.0f;
        s->value(1, r) = static_cast<float>(100 + r);
        s->value(2, r) = r <= missing2 ? kNoDataValue : static_cast<float>(1000 + r);
    }
    s->noDataCount[2] = static_cast<int16_t>(missing2);
    s->noDataLeadCount = static_cast<int16_t>(lead >= 0 ? lead : missing2);
    s->dataIndex = s->noDataLeadCount + 1;
    s->pageRow = static_cast<int16_t>(std::min<int32_t>(s->dataIndex, kPageRows));
    return s;
}

struct Page {
    explicit Page(std::unique_ptr<Sounding> sounding, int commaMode = 0)
        : s(std::move(sounding)), page(*s, shippedTables(), commaMode) {
        page.startAfterLoad();
    }
    std::string depth(int row) const { return page.cell(kDepthColumn, row).text; }
    std::string channel(int c, int row) const { return page.cell(c, row).text; }
    Rgb bg(int column, int row) const { return page.cell(column, row).background; }
    int greenDepthRow() const {
        int found = 0;
        for (int r = 1; r <= kPageRows; ++r)
            if (bg(kDepthColumn, r) == kGreen) found = found ? -1 : r;
        return found;
    }
    void keys(int column, int row, int key, int times) {
        for (int i = 0; i < times; ++i) {
            if (column == kDepthColumn)
                page.depthKeyDown(row, key);
            else if (column == kSpeedColumn)
                page.speedKeyDown(row, key);
            else
                page.channelKeyDown(column, row, key);
        }
    }
    std::unique_ptr<Sounding> s;
    ReadingsPage page;
};

TEST(ReadingsPage, LoadSelectsTheFirstReadingAndPaintsItsRow) {
    Page p(makeSounding(400, 5));
    EXPECT_EQ(p.s->dataIndex, 6);
    EXPECT_EQ(p.s->pageRow, 6);
    EXPECT_EQ(p.greenDepthRow(), 6);
    EXPECT_EQ(p.bg(kSpeedColumn, 6), kLightGrey);
    // Channel 1 has no missing readings: its cell in the cursor row is grey.
    EXPECT_EQ(p.bg(1, 6), kLightGrey);
    // Channel 2 misses five: its grey cell is five rows higher.
    EXPECT_EQ(p.bg(2, 1), kLightGrey);
    EXPECT_EQ(p.bg(2, 6), kWhite);
    EXPECT_EQ(p.depth(1), "0.02");
    EXPECT_EQ(p.channel(1, 6), "106");
    EXPECT_EQ(p.channel(2, 6), "1006.0");
    EXPECT_EQ(p.channel(2, 1), "-32768.0");
    EXPECT_EQ(p.page.dataIndexLabel(), "Data Index:  6");
    EXPECT_EQ(p.page.numberOfReadingsLabel(), "# of Readings:  400");
    EXPECT_EQ(p.page.editColumn, 0);
    EXPECT_FALSE(p.page.rowSelectArmed);
}

TEST(ReadingsPage, NoGreyCellWhenTheCursorRowIsWithinTheMissingReadings) {
    auto s = makeSounding(100, 5, 2);
    Page p(std::move(s));
    EXPECT_EQ(p.s->pageRow, 3);
    for (int r = 1; r <= kPageRows; ++r) EXPECT_EQ(p.bg(2, r), kWhite) << r;
}

TEST(ReadingsPage, DownMovesTheCursorRowThenScrollsAtTheBottom) {
    Page p(makeSounding(100));
    ASSERT_EQ(p.s->pageRow, 1);
    p.keys(kDepthColumn, 1, keys::kDown, 22);
    EXPECT_EQ(p.s->pageRow, 23);
    PageReaction r = p.page.depthKeyDown(23, keys::kDown);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(r.focus, PageReaction::Focus::DepthCell);
    EXPECT_EQ(r.focusRow, 24);
    EXPECT_EQ(p.depth(1), "0.02");

    r = p.page.depthKeyDown(24, keys::kDown);
    EXPECT_EQ(p.s->dataIndex, 25);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(r.focus, PageReaction::Focus::Unchanged);
    EXPECT_EQ(p.depth(1), "0.04");
    EXPECT_EQ(p.depth(24), "0.50");
    EXPECT_EQ(p.greenDepthRow(), 24);
    EXPECT_EQ(p.page.dataIndexLabel(), "Data Index:  25");

    // To the last reading, then Down does nothing.
    p.keys(kSpeedColumn, 24, keys::kDown, 200);
    EXPECT_EQ(p.s->dataIndex, 100);
    EXPECT_EQ(p.depth(24), "2.00");
    EXPECT_EQ(p.page.dataIndexLabel(), "Data Index:  100");
    // A click on a depth cell does not move the cursor after the load.
    p.page.selectRow(3);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(p.greenDepthRow(), 24);
}

TEST(ReadingsPage, UpStopsAtTheFirstReadingAfterTheLeadingOnes) {
    Page p(makeSounding(200, 3));
    ASSERT_EQ(p.s->pageRow, 4);
    p.page.depthKeyDown(4, keys::kUp);
    EXPECT_EQ(p.s->dataIndex, 4);
    EXPECT_EQ(p.s->pageRow, 4);

    p.keys(kDepthColumn, 4, keys::kDown, 60);
    EXPECT_EQ(p.s->dataIndex, 64);
    EXPECT_EQ(p.s->pageRow, 24);
    // Up brings the cursor back up to row 4, then scrolls.
    p.keys(kDepthColumn, 24, keys::kUp, 20);
    EXPECT_EQ(p.s->pageRow, 4);
    EXPECT_EQ(p.s->dataIndex, 44);
    p.keys(kDepthColumn, 4, keys::kUp, 100);
    EXPECT_EQ(p.s->dataIndex, 4);
    EXPECT_EQ(p.s->pageRow, 4);
    EXPECT_EQ(p.depth(4), "0.08");
    EXPECT_EQ(p.depth(1), "0.02");
}

TEST(ReadingsPage, ManyLeadingReadingsKeepTheCursorOnTheBottomRow) {
    Page p(makeSounding(300, 30));
    EXPECT_EQ(p.s->dataIndex, 31);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(p.greenDepthRow(), 24);
    EXPECT_EQ(p.page.readingIndexOfRow(1), 8);
    p.keys(kDepthColumn, 24, keys::kDown, 5);
    EXPECT_EQ(p.s->pageRow, 24);
    p.keys(kDepthColumn, 24, keys::kUp, 50);
    EXPECT_EQ(p.s->dataIndex, 31);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(p.page.readingIndexOfRow(1), 8);
}

TEST(ReadingsPage, RowsBeyondTheCapacityShowEmptyCells) {
    auto s = makeSounding(kMaxReadings);
    s->dataIndex = 9995;
    s->pageRow = 10;
    Page p(std::move(s));
    EXPECT_EQ(p.s->pageRow, 10);
    EXPECT_EQ(p.depth(15), "200.00");
    EXPECT_EQ(p.depth(16), "");
    EXPECT_EQ(p.channel(1, 24), "");
    EXPECT_EQ(p.page.cell(kSpeedColumn, 24).text, "");
}

TEST(ReadingsPage, SpeedColourFollowsTheShownText) {
    auto s = makeSounding(10);
    s->speed[1] = 0.0f;
    s->speed[2] = 10.0f;
    s->speed[3] = 10.004f;
    s->speed[4] = 10.01f;
    s->speed[5] = -1.5f;
    Page p(std::move(s));
    EXPECT_EQ(p.page.cell(kSpeedColumn, 1).text, ".00");
    EXPECT_EQ(p.page.cell(kSpeedColumn, 1).textColor, kRed);
    EXPECT_EQ(p.page.cell(kDepthColumn, 1).textColor, kRed);
    EXPECT_EQ(p.page.cell(kSpeedColumn, 2).textColor, kBlack);
    EXPECT_EQ(p.page.cell(kSpeedColumn, 3).text, "10.00");
    EXPECT_EQ(p.page.cell(kSpeedColumn, 3).textColor, kBlack);
    EXPECT_EQ(p.page.cell(kSpeedColumn, 4).textColor, kRed);
    EXPECT_EQ(p.page.cell(kDepthColumn, 5).textColor, kBlack);
    // Rows past the last reading show the zero entries, red.
    EXPECT_EQ(p.page.cell(kSpeedColumn, 11).textColor, kRed);
}

TEST(ReadingsPage, DepthInFeetAndBackShowsTheSameMetres) {
    Page p(makeSounding(60));
    p.s->depth[1] = 1.0f;
    p.page.setDepthInFeet(true);
    EXPECT_EQ(p.depth(1), "3.28");
    p.s->depthDecimals = 3;
    p.page.refreshDisplay();
    EXPECT_EQ(p.depth(1), "3.281");
    p.page.setDepthInFeet(false);
    EXPECT_EQ(p.depth(1), "1.000");
    EXPECT_EQ(p.s->depth[1], 1.0f);
}

TEST(ReadingsPage, InsertDuplicatesTheReadingAboveAndKeepsTheDepthsEven) {
    Page p(makeSounding(50));
    p.keys(kDepthColumn, 1, keys::kDown, 9);  // reading 10 on row 10
    ASSERT_EQ(p.s->dataIndex, 10);
    p.page.depthKeyDown(10, keys::kInsert);
    EXPECT_EQ(p.s->readingCount, 51);
    EXPECT_EQ(p.s->dataIndex, 10);
    // The former reading 9 is in the cursor row, a copy of reading 8 above it.
    EXPECT_EQ(p.channel(1, 10), "109");
    EXPECT_EQ(p.channel(1, 9), "108");
    EXPECT_EQ(p.channel(1, 8), "108");
    EXPECT_EQ(p.s->value(1, 51), 150.0f);
    for (int r = 2; r <= 51; ++r)
        EXPECT_NEAR(p.s->depth[r] - p.s->depth[r - 1], 0.02f, 1e-5f) << r;
    EXPECT_EQ(p.page.numberOfReadingsLabel(), "# of Readings:  51");
}

TEST(ReadingsPage, InsertMarksTheNewLastReadingOfAChannelWithMissingData) {
    Page p(makeSounding(50, 3));
    p.keys(kDepthColumn, 4, keys::kDown, 6);
    ASSERT_EQ(p.s->dataIndex, 10);
    p.page.depthKeyDown(10, keys::kInsert);
    EXPECT_EQ(p.s->value(2, 51), kNoDataValue);
    EXPECT_EQ(p.s->value(1, 51), 150.0f);
}

TEST(ReadingsPage, InsertIsRefusedWhereItWouldReadOutsideTheReadings) {
    Page first(makeSounding(50));
    ASSERT_EQ(first.s->dataIndex, 1);
    EXPECT_FALSE(first.page.insertReading());
    first.page.depthKeyDown(1, keys::kInsert);
    EXPECT_EQ(first.s->readingCount, 50);
    EXPECT_EQ(first.page.numberOfReadingsLabel(), "# of Readings:  50");

    Page full(makeSounding(kMaxReadings));
    full.keys(kDepthColumn, 1, keys::kDown, 5);
    EXPECT_FALSE(full.page.insertReading());
    EXPECT_EQ(full.s->readingCount, kMaxReadings);
}

TEST(ReadingsPage, DeleteRemovesTheCurrentReadingAtEachChannelsOffset) {
    Page p(makeSounding(50, 2));
    p.keys(kDepthColumn, 3, keys::kDown, 7);
    ASSERT_EQ(p.s->dataIndex, 10);
    p.page.depthKeyDown(10, keys::kDelete);
    EXPECT_EQ(p.s->readingCount, 49);
    EXPECT_EQ(p.s->value(1, 10), 111.0f);
    EXPECT_EQ(p.s->value(1, 9), 109.0f);
    // Channel 2 moves at its offset of two readings.
    EXPECT_EQ(p.s->value(2, 8), 1009.0f);
    EXPECT_EQ(p.s->value(2, 7), 1007.0f);
    // Depths are not shifted.
    EXPECT_EQ(p.s->depth[10], static_cast<float>(0.2));
    EXPECT_EQ(p.page.numberOfReadingsLabel(), "# of Readings:  49");
}

TEST(ReadingsPage, DeletingTheLastReadingLeavesTheCursorOnePast) {
    Page p(makeSounding(30));
    p.keys(kDepthColumn, 1, keys::kDown, 40);
    ASSERT_EQ(p.s->dataIndex, 30);
    p.page.depthKeyDown(24, keys::kDelete);
    EXPECT_EQ(p.s->readingCount, 29);
    EXPECT_EQ(p.s->dataIndex, 30);
    p.page.depthKeyDown(24, keys::kDown);
    EXPECT_EQ(p.s->dataIndex, 30);
    p.page.depthKeyDown(24, keys::kDelete);  // one past the last: nothing
    EXPECT_EQ(p.s->readingCount, 29);
    p.page.depthKeyDown(24, keys::kUp);
    EXPECT_EQ(p.s->dataIndex, 29);
}

TEST(ReadingsPage, ClickTypeAndClickAnotherCellCommits) {
    Page p(makeSounding(100));
    p.page.channelClick(1, 5);
    EXPECT_EQ(p.bg(1, 5), kGreen);
    EXPECT_EQ(p.page.editOriginalText, "105");
    p.page.setCellText(1, 5, "7");
    PageReaction r = p.page.channelClick(2, 8);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(p.s->value(1, 5), 7.0f);
    // The cell keeps the text as typed until the next refresh.
    EXPECT_EQ(p.channel(1, 5), "7");
    EXPECT_EQ(p.bg(1, 5), kWhite);
    EXPECT_EQ(p.bg(2, 8), kGreen);
    EXPECT_EQ(p.page.editColumn, 2);
    EXPECT_EQ(p.page.editRow, 8);
}

TEST(ReadingsPage, ASelectedGreyCellGoesBackToGrey) {
    Page p(makeSounding(100));
    ASSERT_EQ(p.bg(1, 1), kLightGrey);
    p.page.channelClick(1, 1);
    EXPECT_EQ(p.page.editCellShaded, 1);
    p.page.channelClick(2, 4);
    EXPECT_EQ(p.bg(1, 1), kLightGrey);
}

TEST(ReadingsPage, AnInvalidTextKeepsTheCellSelected) {
    Page p(makeSounding(100));
    p.page.channelClick(1, 5);
    p.page.setCellText(1, 5, "abc");
    PageReaction r = p.page.channelClick(2, 8);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], "Invalid Text Entry");
    EXPECT_EQ(r.focus, PageReaction::Focus::ChannelCell);
    EXPECT_EQ(r.focusColumn, 1);
    EXPECT_EQ(r.focusRow, 5);
    EXPECT_EQ(p.channel(1, 5), "105");
    EXPECT_EQ(p.bg(1, 5), kGreen);
    EXPECT_EQ(p.bg(2, 8), kWhite);
    EXPECT_EQ(p.s->value(1, 5), 105.0f);
}

TEST(ReadingsPage, TextsThatPassTheCharacterCheckButAreNoNumberAreRefused) {
    for (const char* text : {"1.2.3", "-", ".", "-.", ""}) {
        Page p(makeSounding(100));
        p.page.channelClick(1, 5);
        p.page.setCellText(1, 5, text);
        std::vector<std::string> messages;
        EXPECT_FALSE(p.page.commit(1, 5, messages)) << text;
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(p.channel(1, 5), "105");
        EXPECT_FALSE(p.page.entryValid);
    }
    // A number no Single can hold is refused too, not stored as infinity.
    Page p(makeSounding(100));
    p.page.channelClick(1, 5);
    p.page.setCellText(1, 5, "1" + std::string(50, '0'));
    std::vector<std::string> messages;
    EXPECT_FALSE(p.page.commit(1, 5, messages));
    EXPECT_EQ(p.s->value(1, 5), 105.0f);
}

TEST(ReadingsPage, CommitFollowsTheDecimalMode) {
    Page point(makeSounding(100));
    std::vector<std::string> messages;
    point.page.setCellText(1, 3, "-0.3");
    EXPECT_TRUE(point.page.commit(1, 3, messages));
    EXPECT_EQ(point.s->value(1, 3), -0.3f);
    point.page.setCellText(1, 3, "1,5");
    EXPECT_FALSE(point.page.commit(1, 3, messages));

    Page comma(makeSounding(100), 1);
    messages.clear();
    comma.page.setCellText(1, 3, "12,5");
    EXPECT_TRUE(comma.page.commit(1, 3, messages));
    EXPECT_EQ(comma.s->value(1, 3), 12.5f);
    comma.page.setCellText(1, 3, "12.5");
    EXPECT_FALSE(comma.page.commit(1, 3, messages));
    EXPECT_EQ(comma.s->value(1, 3), 12.5f);
    // The page writes numbers with the comma there.
    EXPECT_EQ(comma.channel(2, 1), "1001,0");
}

TEST(ReadingsPage, DownInAChannelCellCommitsThenMoves) {
    Page p(makeSounding(100));
    p.page.channelClick(2, 1);
    p.page.setCellText(2, 1, "55");
    PageReaction r = p.page.channelKeyDown(2, 1, keys::kDown);
    EXPECT_TRUE(r.keyTaken);
    EXPECT_EQ(p.s->value(2, 1), 55.0f);
    EXPECT_EQ(p.s->dataIndex, 2);
    EXPECT_EQ(r.focus, PageReaction::Focus::DepthCell);
    EXPECT_EQ(r.focusRow, 2);
    EXPECT_EQ(p.page.editColumn, 0);
    // The label follows navigation from channel cells too.
    EXPECT_EQ(p.page.dataIndexLabel(), "Data Index:  2");

    // An invalid text: the message, no move, the focus stays.
    p.page.channelClick(2, 2);
    p.page.setCellText(2, 2, "x");
    r = p.page.channelKeyDown(2, 2, keys::kDown);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(p.s->dataIndex, 2);
    EXPECT_EQ(r.focus, PageReaction::Focus::Unchanged);
    EXPECT_EQ(p.channel(2, 2), "1002.0");
}

TEST(ReadingsPage, DownAtTheLastReadingDoesNotEvenCommit) {
    Page p(makeSounding(3));
    p.keys(kDepthColumn, 1, keys::kDown, 2);
    ASSERT_EQ(p.s->dataIndex, 3);
    p.page.channelClick(1, 3);
    p.page.setCellText(1, 3, "junk");
    PageReaction r = p.page.channelKeyDown(1, 3, keys::kDown);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(p.channel(1, 3), "junk");
}

TEST(ReadingsPage, EnterCommitsAndRemovesTheHighlightOnly) {
    Page p(makeSounding(100));
    p.page.channelClick(1, 4);
    p.page.setCellText(1, 4, "9.5");
    PageReaction r = p.page.channelKeyDown(1, 4, keys::kEnter);
    EXPECT_EQ(p.s->value(1, 4), 9.5f);
    EXPECT_EQ(p.bg(1, 4), kWhite);
    EXPECT_EQ(p.page.editColumn, 1);
    EXPECT_EQ(p.page.editRow, 4);
    EXPECT_EQ(r.focus, PageReaction::Focus::DepthCell);
    EXPECT_EQ(r.focusRow, 1);
    EXPECT_EQ(p.s->pageRow, 1);
}

TEST(ReadingsPage, ARefusedKeyCommitInAnotherCellPutsBackItsOwnText) {
    Page p(makeSounding(100));
    p.page.channelClick(1, 4);
    // Cell (2, 6) was never selected; its refused text goes back to what
    // the page showed in it, not to the selected cell's text.
    p.page.setCellText(2, 6, "zz");
    PageReaction r = p.page.channelKeyDown(2, 6, keys::kEnter);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(p.channel(2, 6), "1006.0");
}

TEST(ReadingsPage, KeysDoNothingBeforeALoad) {
    Sounding s;
    ReadingsPage page(s, shippedTables(), 0);
    for (int key : {keys::kUp, keys::kDown, keys::kInsert, keys::kDelete}) page.depthKeyDown(1, key);
    EXPECT_EQ(s.readingCount, 0);
    EXPECT_EQ(page.dataIndexLabel(), "");
}

}  // namespace
}  // namespace qm
