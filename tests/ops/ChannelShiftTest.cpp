#include "ops/ChannelShift.h"

#include <gtest/gtest.h>

#include "ops/CorrectionSoundings.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::shippedTables;
using test::soundingWithDepths;

// A channel of type 3 (pore pressure, kPa "###0.0" in the shipped tables)
// with the given readings.
Sounding poreSounding(std::initializer_list<float> readings, float fullScale = 150.0f) {
    Sounding s = soundingWithDepths({}, 0.05f, 1);
    s.channelType[1] = 3;
    s.channelName[1] = "PORE";
    s.channelFullScale[1] = fullScale;
    int r = 0;
    for (const float v : readings) s.value(1, ++r) = v;
    s.readingCount = r;
    return s;
}

TEST(ChannelShiftThresholds, FollowTheFullScaleInTheShownUnit) {
    Sounding s = poreSounding({0.0f}, 100000.0f);
    EXPECT_EQ(lowestReadingFloor(s, 1), -2000.0f);
    EXPECT_EQ(replacementValue(s, 1), 1.0f);
    // The same channel shown in MPa.
    s.channelUnitFactor[1] = 0.001f;
    EXPECT_FLOAT_EQ(lowestReadingFloor(s, 1), -2.0f);
    EXPECT_FLOAT_EQ(replacementValue(s, 1), 0.001f);
}

TEST(ChannelShiftPanel, LowestReadingSkipsNoDataAndReadingsAtTheFloor) {
    const Sounding s = poreSounding({kNoDataValue, kNoDataValue, 0.5f, -3.0f, -0.1f, 2.0f});
    ASSERT_EQ(lowestReadingFloor(s, 1), -3.0f);
    EXPECT_EQ(lowestReading(s, 1), -0.1f);
    const auto rows = shiftPanelRows(s, shippedTables(), '.');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].channelName, "PORE");
    EXPECT_EQ(rows[0].lowestReading, "-0.1");
    EXPECT_EQ(rows[0].unitName, "KPA");
    EXPECT_EQ(rows[0].offset, "0");
    EXPECT_EQ(rows[0].finalBaseline, "Not Available");
    EXPECT_EQ(shiftPanelRows(s, shippedTables(), ',')[0].lowestReading, "-0,1");
}

TEST(ChannelShiftPanel, WithoutAQualifyingReadingTheFirstIsShown) {
    EXPECT_EQ(lowestReading(poreSounding({-4.0f, -3.0f, -5.0f}), 1), -4.0f);
    EXPECT_EQ(lowestReading(poreSounding({kNoDataValue, kNoDataValue}), 1), kNoDataValue);
}

TEST(ChannelShiftPanel, FinalBaselineShowsTheDrift) {
    Sounding s = poreSounding({1.0f});
    s.hasFinalBaseline = true;
    s.baselineDrift[1] = 2.25f;
    EXPECT_EQ(shiftPanelRows(s, shippedTables(), '.')[0].finalBaseline, "2.3");
}

TEST(ChannelShiftReadings, AddsEachOffsetAndLeavesNoDataAlone) {
    Sounding s = soundingWithDepths({1.0f, 1.05f, 1.1f});
    s.value(2, 2) = kNoDataValue;
    const OpResult result = shiftReadings(s, {"0.00", "-0.5"}, '.');
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(s.value(1, r), 10.0f + r);
    EXPECT_EQ(s.value(2, 1), 20.5f);
    EXPECT_EQ(s.value(2, 2), kNoDataValue);
    EXPECT_EQ(s.value(2, 3), 22.5f);

    // Shifts add up; missing boxes count as 0.
    EXPECT_TRUE(shiftReadings(s, {"1,5"}, ',').ok);
    EXPECT_EQ(s.value(1, 1), 12.5f);
    EXPECT_EQ(s.value(2, 1), 20.5f);
}

TEST(ChannelShiftReadings, ATextThatIsNotANumberShiftsNothing) {
    for (const char* bad : {"abc", "", "1.5", "--1"}) {
        Sounding s = soundingWithDepths({1.0f, 1.05f});
        const OpResult result = shiftReadings(s, {"2", bad}, ',');
        EXPECT_FALSE(result.ok) << bad;
        ASSERT_EQ(result.messages.size(), 1u);
        EXPECT_NE(result.messages[0].find("CH2"), std::string::npos);
        EXPECT_NE(result.messages[0].find("not a number"), std::string::npos);
        EXPECT_EQ(s.value(1, 1), 11.0f) << bad;
    }
}

TEST(ChannelShiftRemoveNegatives, ReplacesNegativesZerosAndNoData) {
    Sounding s = poreSounding({-1.2f, 0.0f, 0.3f, kNoDataValue}, 100000.0f);
    EXPECT_TRUE(removeNegatives(s).ok);
    EXPECT_EQ(s.value(1, 1), 1.0f);
    EXPECT_EQ(s.value(1, 2), 1.0f);
    EXPECT_EQ(s.value(1, 3), 0.3f);
    EXPECT_EQ(s.value(1, 4), 1.0f);
}

TEST(ChannelShiftRemoveNegatives, TypesSixAndSevenKeepTheirNegatives) {
    Sounding s = soundingWithDepths({1.0f}, 0.05f, 3);
    s.channelType[1] = 6;
    s.channelType[2] = 7;
    for (int c = 1; c <= 3; ++c) s.value(c, 1) = -1.0f;
    removeNegatives(s);
    EXPECT_EQ(s.value(1, 1), -1.0f);
    EXPECT_EQ(s.value(2, 1), -1.0f);
    EXPECT_EQ(s.value(3, 1), replacementValue(s, 3));
}

}  // namespace
}  // namespace qm
