// The readings page without widgets: the cursor and colour rules, scrolling,
// Insert and Delete, and the commit of typed values. (What the page shows as
// text is checked by the --page cases.)
#include "model/ReadingsPage.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"

namespace qm {
namespace {

// `count` readings every 0.02 m: channel 1 (tip, KPA) holds 100 + r, channel 2
// (sleeve, KPA) 1000 + r or no data for its first `missing2`; speed 2 cm/s.
struct Page {
    explicit Page(int count, int missing2 = 0, int commaMode = 0) : s(std::make_unique<Sounding>()) {
        s->channelCount = 2;
        for (int c = 1; c <= 2; ++c) {
            s->channelType[c] = static_cast<int16_t>(c);
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
        s->noDataCount[2] = s->noDataLeadCount = static_cast<int16_t>(missing2);
        s->dataIndex = missing2 + 1;
        s->pageRow = static_cast<int16_t>(std::min(s->dataIndex, kPageRows));
        page = std::make_unique<ReadingsPage>(*s, test::shippedTables(), commaMode);
        page->startAfterLoad();
    }
    std::string text(int column, int row) const { return page->cell(column, row).text; }
    Rgb bg(int column, int row) const { return page->cell(column, row).background; }
    void down(int times) {
        for (int i = 0; i < times; ++i) page->depthKeyDown(s->pageRow, keys::kDown);
    }
    std::unique_ptr<Sounding> s;
    std::unique_ptr<ReadingsPage> page;
};

TEST(ReadingsPage, LoadPaintsTheCursorRowAndEachChannelsGreyCellAtItsOffset) {
    Page p(400, 5);
    EXPECT_EQ(p.bg(kDepthColumn, 6), kGreen);
    EXPECT_EQ(p.bg(kSpeedColumn, 6), kLightGrey);
    EXPECT_EQ(p.bg(1, 6), kLightGrey);
    EXPECT_EQ(p.bg(2, 1), kLightGrey);
    EXPECT_EQ(p.bg(2, 6), kWhite);
    EXPECT_EQ(p.page->dataIndexLabel(), "Data Index:  6");
    EXPECT_EQ(p.page->numberOfReadingsLabel(), "# of Readings:  400");
}

TEST(ReadingsPage, SpeedAndDepthTurnRedAboveTenOrAtZeroOfTheShownText) {
    Page p(10);
    const float speeds[] = {0.0f, 10.0f, 10.004f, 10.01f, -1.5f};
    for (int r = 1; r <= 5; ++r) p.s->speed[r] = speeds[r - 1];
    p.page->refreshDisplay();
    const Rgb expected[] = {kRed, kBlack, kBlack, kRed, kBlack};
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(p.page->cell(kSpeedColumn, r).textColor, expected[r - 1]) << r;
        EXPECT_EQ(p.page->cell(kDepthColumn, r).textColor, expected[r - 1]) << r;
    }
    EXPECT_EQ(p.page->cell(kSpeedColumn, 11).textColor, kRed);  // past the readings: zeros
}

TEST(ReadingsPage, CursorMovesToTheBottomRowThenScrollsAndStopsAtBothEnds) {
    Page p(100, 3);
    p.page->depthKeyDown(4, keys::kUp);
    EXPECT_EQ(p.s->dataIndex, 4);
    p.down(20);
    EXPECT_EQ(p.s->pageRow, 24);
    EXPECT_EQ(p.text(kDepthColumn, 1), "0.02");
    p.down(1);
    EXPECT_EQ(p.s->dataIndex, 25);
    EXPECT_EQ(p.text(kDepthColumn, 1), "0.04");
    EXPECT_EQ(p.bg(kDepthColumn, 24), kGreen);
    p.down(200);
    EXPECT_EQ(p.s->dataIndex, 100);
    EXPECT_EQ(p.page->dataIndexLabel(), "Data Index:  100");
    for (int i = 0; i < 120; ++i) p.page->depthKeyDown(p.s->pageRow, keys::kUp);
    EXPECT_EQ(p.s->dataIndex, 4);
    EXPECT_EQ(p.s->pageRow, 4);
}

TEST(ReadingsPage, InsertCopiesTheReadingAboveKeepsTheStepAndMarksTheLastNoData) {
    Page p(50, 3);
    p.down(6);
    ASSERT_EQ(p.s->dataIndex, 10);
    p.page->depthKeyDown(10, keys::kInsert);
    EXPECT_EQ(p.s->readingCount, 51);
    EXPECT_EQ(p.text(1, 10), "109");
    EXPECT_EQ(p.text(1, 9), "108");
    EXPECT_EQ(p.text(1, 8), "108");
    EXPECT_EQ(p.s->value(2, 51), kNoDataValue);
    for (int r = 2; r <= 51; ++r) EXPECT_NEAR(p.s->depth[r] - p.s->depth[r - 1], 0.02f, 1e-5f) << r;
    EXPECT_EQ(p.page->numberOfReadingsLabel(), "# of Readings:  51");

    Page first(50);
    EXPECT_FALSE(first.page->insertReading());
    Page full(kMaxReadings);
    full.down(5);
    EXPECT_FALSE(full.page->insertReading());
    EXPECT_EQ(full.s->readingCount, kMaxReadings);
}

TEST(ReadingsPage, DeleteRemovesTheReadingAtEachChannelsOffsetAndKeepsTheDepths) {
    Page p(50, 2);
    p.down(7);
    p.page->depthKeyDown(10, keys::kDelete);
    EXPECT_EQ(p.s->readingCount, 49);
    EXPECT_EQ(p.s->value(1, 10), 111.0f);
    EXPECT_EQ(p.s->value(2, 8), 1009.0f);
    EXPECT_EQ(p.s->value(2, 7), 1007.0f);
    EXPECT_EQ(p.s->depth[10], static_cast<float>(0.2));
    p.down(60);
    p.page->depthKeyDown(24, keys::kDelete);
    p.page->depthKeyDown(24, keys::kDelete);  // one past the last: nothing
    EXPECT_EQ(p.s->readingCount, 48);
}

TEST(ReadingsPage, TypedValuesCommitOnClickKeyOrEnterAndInvalidOnesAreRefused) {
    Page p(100);
    p.page->channelClick(1, 5);
    p.page->setCellText(1, 5, "7");
    EXPECT_TRUE(p.page->channelClick(2, 8).messages.empty());
    EXPECT_EQ(p.s->value(1, 5), 7.0f);
    EXPECT_EQ(p.bg(2, 8), kGreen);
    p.page->setCellText(2, 8, "abc");
    const PageReaction r = p.page->channelClick(1, 9);
    EXPECT_EQ(r.messages, std::vector<std::string>{"Invalid Text Entry"});
    EXPECT_EQ(p.text(2, 8), "1008.0");
    for (const std::string& text : std::vector<std::string>{"1.2.3", "-", "", "1" + std::string(50, '0'), "1,5"}) {
        std::vector<std::string> messages;
        p.page->setCellText(1, 3, text);
        EXPECT_FALSE(p.page->commit(1, 3, messages)) << text;
        EXPECT_EQ(p.s->value(1, 3), 103.0f);
    }
    p.page->channelClick(2, 1);
    p.page->setCellText(2, 1, "-0.5");
    p.page->channelKeyDown(2, 1, keys::kDown);
    EXPECT_EQ(p.s->value(2, 1), -0.5f);
    EXPECT_EQ(p.s->dataIndex, 2);

    Page comma(10, 0, 1);
    std::vector<std::string> messages;
    comma.page->setCellText(1, 3, "12,5");
    EXPECT_TRUE(comma.page->commit(1, 3, messages));
    EXPECT_EQ(comma.s->value(1, 3), 12.5f);
}

}  // namespace
}  // namespace qm
