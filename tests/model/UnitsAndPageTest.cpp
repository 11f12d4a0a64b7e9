#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>

#include "model/PageText.h"
#include "model/Sounding.h"
#include "model/Units.h"
#include "support/SoundingFileBuilder.h"

namespace qm {
namespace {

// Type 1 with a base unit and one a thousand times finer; type 2 holds a
// unit whose factor is 0.
const ChannelTypeTable& unitTables() {
    static const ChannelTypeTable t = [] {
        ChannelTypeTable table;
        parseChannelTypeTable(test::channelTypeTableText({{"KPA", "##0.00", "1"}, {"PA", "#####0", "1000"}, {"MPA", "##0.000", "0.001"}}),
                              1, table);
        parseChannelTypeTable(test::channelTypeTableText({{"KPA", "##0.00", "1"}, {"NIL", "##0.00", "0"}}), 2, table);
        return table;
    }();
    return t;
}

std::unique_ptr<Sounding> sounding(int readings) {
    auto s = std::make_unique<Sounding>();
    s->depthDecimals = 2;
    s->channelCount = 2;
    for (int c = 1; c <= 2; ++c) {
        s->channelType[c] = static_cast<int16_t>(c);
        s->channelName[c] = "CH" + std::to_string(c);
        s->channelUnitIndex[c] = 1;
        s->channelUnitFactor[c] = 1;
    }
    s->readingCount = readings;
    for (int r = 1; r <= readings; ++r) {
        s->depth[r] = 0.02f * static_cast<float>(r);
        s->value(0, r) = s->depth[r];
        s->speed[r] = 2.0f;
        s->value(1, r) = 0.5f * static_cast<float>(r);
        s->value(2, r) = 1.25f;
    }
    s->dataIndex = 1;
    s->pageRow = 1;
    return s;
}

// ------------------------------------------------------------ depth unit

TEST(PageDepthUnit, FeetAreComputedInDoubleAndMetresComeBackExactly) {
    auto s = sounding(3000);
    updatePageDepths(*s, true);
    for (int r = 1; r <= s->readingCount; ++r) {
        // Depth x 3.281 at higher precision, stored once as a Single.
        const float feet = static_cast<float>(static_cast<double>(s->depth[r]) * 3.281);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(s->value(0, r)), std::bit_cast<std::uint32_t>(feet)) << "reading " << r;
    }
    updatePageDepths(*s, false);
    for (int r = 1; r <= s->readingCount; ++r) ASSERT_EQ(s->value(0, r), s->depth[r]);
    // The depths themselves never change.
    EXPECT_EQ(s->depth[50], 0.02f * 50.0f);
}

TEST(PageDepthUnit, OneMetreShowsAsMetresFeetAndThreeDigits) {
    auto s = sounding(1);
    s->depth[1] = 1.0f;
    updatePageDepths(*s, false);
    EXPECT_EQ(pageRowTexts(*s, unitTables(), '.')[1].depth, "1.00");
    updatePageDepths(*s, true);
    EXPECT_EQ(pageRowTexts(*s, unitTables(), '.')[1].depth, "3.28");
    s->depthDecimals = 3;
    EXPECT_EQ(pageRowTexts(*s, unitTables(), '.')[1].depth, "3.281");
    EXPECT_EQ(pageRowTexts(*s, unitTables(), ',')[1].depth, "3,281");
}

// ------------------------------------------------------------ channel units

TEST(ChannelUnit, FactorOneToThousandShowsHalfAsFiveHundredAndKeepsNoData) {
    auto s = sounding(3);
    s->value(1, 1) = 0.5f;
    s->value(1, 2) = kNoDataValue;
    ASSERT_EQ(changeChannelUnit(*s, unitTables(), 1, 2), "");
    EXPECT_EQ(s->channelUnitIndex[1], 2);
    EXPECT_EQ(s->channelUnitFactor[1], 1000.0f);
    EXPECT_EQ(s->value(1, 1), 500.0f);
    EXPECT_EQ(s->value(1, 2), kNoDataValue);
    const auto rows = pageRowTexts(*s, unitTables(), '.');
    EXPECT_EQ(rows[1].channel[1], "500");
    EXPECT_EQ(rows[2].channel[1], "-32768");
    EXPECT_EQ(rows[1].channel[2], "1.25");  // the other channel keeps its unit

    // And on to MPA: new = old / 1000 x 0.001, once rounded.
    const float before = s->value(1, 3);
    ASSERT_EQ(changeChannelUnit(*s, unitTables(), 1, 3), "");
    EXPECT_EQ(s->value(1, 3), static_cast<float>(static_cast<double>(before) / 1000.0f * 0.001f));
    EXPECT_EQ(s->value(1, 2), kNoDataValue);
    EXPECT_EQ(pageRowTexts(*s, unitTables(), '.')[1].channel[1], "0.001");
}

TEST(ChannelUnit, SameUnitAgainChangesNothing) {
    auto s = sounding(50);
    auto before = std::make_unique<Sounding>(*s);
    ASSERT_EQ(changeChannelUnit(*s, unitTables(), 1, 1), "");
    for (int r = 1; r <= 50; ++r) EXPECT_EQ(s->value(1, r), before->value(1, r));
}

TEST(ChannelUnit, DriftFollowsTheUnitOnlyWithAFinalBaseline) {
    auto s = sounding(3);
    s->baselineDrift[1] = 2.5f;
    ASSERT_EQ(changeChannelUnit(*s, unitTables(), 1, 2), "");
    EXPECT_EQ(s->baselineDrift[1], 2.5f);
    s->hasFinalBaseline = true;
    ASSERT_EQ(changeChannelUnit(*s, unitTables(), 1, 1), "");
    EXPECT_EQ(s->baselineDrift[1], 2.5f / 1000.0f);
}

TEST(ChannelUnit, ZeroFactorIsRefusedAndTheChannelStays) {
    auto s = sounding(5);
    auto before = std::make_unique<Sounding>(*s);
    const std::string refusal = changeChannelUnit(*s, unitTables(), 2, 2);
    EXPECT_FALSE(refusal.empty());
    EXPECT_NE(refusal.find("NIL"), std::string::npos) << refusal;
    EXPECT_EQ(s->channelUnitIndex[2], 1);
    EXPECT_EQ(s->channelUnitFactor[2], 1.0f);
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(s->value(2, r), before->value(2, r));

    // A channel whose current factor is 0 cannot be converted either.
    s->channelUnitFactor[1] = 0.0f;
    EXPECT_FALSE(changeChannelUnit(*s, unitTables(), 1, 2).empty());
    EXPECT_EQ(s->channelUnitIndex[1], 1);
    EXPECT_EQ(s->value(1, 3), before->value(1, 3));

    // Channels and units that do not exist.
    EXPECT_FALSE(changeChannelUnit(*s, unitTables(), 3, 1).empty());
    EXPECT_FALSE(changeChannelUnit(*s, unitTables(), 2, 3).empty());
    EXPECT_FALSE(changeChannelUnit(*s, unitTables(), 2, 0).empty());
}

TEST(ChannelUnit, FindUnitIsExactAndTakesTheLastMatch) {
    ChannelTypeTable t;
    parseChannelTypeTable(test::channelTypeTableText({{"A", "#0", "1"}, {"B", "#0", "2"}, {"A", "#0", "3"}}), 1, t);
    auto s = sounding(1);
    EXPECT_EQ(findUnit(*s, t, 1, "A"), 3);
    EXPECT_EQ(findUnit(*s, t, 1, "B"), 2);
    EXPECT_EQ(findUnit(*s, t, 1, "a"), 0);
    EXPECT_EQ(findUnit(*s, t, 1, "A "), 0);
    EXPECT_EQ(findUnit(*s, t, 3, "A"), 0);
}

// ------------------------------------------------------------ page rows

TEST(PageSpeedColour, RedAboveTenOrAtZeroOnTheShownText) {
    struct Case {
        float speed;
        const char* text;
        bool red;
    };
    auto s = sounding(8);
    const Case cases[] = {{0.0f, ".00", true},      {10.0f, "10.00", false}, {10.01f, "10.01", true},
                          {-1.5f, "-1.50", false},  {10.004f, "10.00", false}, {0.004f, ".00", true},
                          {2.0f, "2.00", false},    {250.0f, "250.00", true}};
    for (int r = 1; r <= 8; ++r) s->speed[r] = cases[r - 1].speed;
    for (char sep : {'.', ','}) {
        const auto rows = pageRowTexts(*s, unitTables(), sep);
        for (int r = 1; r <= 8; ++r) {
            std::string expected = cases[r - 1].text;
            for (char& ch : expected)
                if (ch == '.') ch = sep;
            EXPECT_EQ(rows[r].speed, expected) << "speed " << cases[r - 1].speed;
            EXPECT_EQ(rows[r].red, cases[r - 1].red) << "speed " << cases[r - 1].speed << " sep " << sep;
        }
    }
}

TEST(PageRows, RowsMapFromTheCursorAndRowsOutsideTheReadingsAreEmpty) {
    auto s = sounding(10);
    s->dataIndex = 3;
    s->pageRow = 5;  // rows 1 and 2 would show readings -1 and 0
    auto rows = pageRowTexts(*s, unitTables(), '.');
    for (int r = 1; r <= 24; ++r) EXPECT_EQ(rows[r].readingIndex, r - 2);
    EXPECT_FALSE(rows[1].inRange);
    EXPECT_EQ(rows[1].depth, "");
    EXPECT_EQ(rows[1].speed, "");
    EXPECT_EQ(rows[1].channel[1], "");
    EXPECT_FALSE(rows[2].inRange);
    EXPECT_EQ(rows[3].depth, "0.02");
    EXPECT_EQ(rows[3].channel[1], "0.50");
    EXPECT_EQ(rows[5].depth, "0.06");
    // Past the readings, within the capacity: the zero entries, in red.
    EXPECT_TRUE(rows[24].inRange);
    EXPECT_EQ(rows[24].depth, "0.00");
    EXPECT_EQ(rows[24].speed, ".00");
    EXPECT_TRUE(rows[24].red);

    // Near the end of a full sounding, with the cursor not on the bottom row.
    auto full = sounding(kMaxReadings);
    full->dataIndex = kMaxReadings;
    full->pageRow = 1;
    rows = pageRowTexts(*full, unitTables(), '.');
    EXPECT_TRUE(rows[1].inRange);
    EXPECT_EQ(rows[1].depth, "200.00");
    for (int r = 2; r <= 24; ++r) {
        EXPECT_FALSE(rows[r].inRange);
        EXPECT_EQ(rows[r].depth, "");
        EXPECT_EQ(rows[r].channel[2], "");
    }
}

TEST(PageRows, ChannelsAboveTheCountAreLeftEmpty) {
    auto s = sounding(3);
    s->channelCount = 1;
    const auto rows = pageRowTexts(*s, unitTables(), '.');
    EXPECT_EQ(rows[1].channel[1], "0.50");
    EXPECT_EQ(rows[1].channel[2], "");
}

}  // namespace
}  // namespace qm
