#include "ops/AutoClean.h"

#include <gtest/gtest.h>

#include "ops/CorrectionSoundings.h"

namespace qm {
namespace {

using test::soundingWithDepths;

// The grid depth k increments from zero, as the snapping stores it.
float gridDepth(int k, float increment = 0.05f) {
    return static_cast<float>(static_cast<double>(k) * static_cast<double>(increment));
}

// ---- Pore-pressure channel -----------------------------------------------

TEST(AutoCleanChannel, FourChannelsMoveUpBehindTheNewOne) {
    Sounding s = soundingWithDepths({1.00f, 1.05f, 1.10f}, 0.05f, 4);
    s.channelUnitIndex[4] = 2;
    s.channelUnitFactor[4] = 0.001f;
    s.noDataCount[3] = 1;
    s.noDataCount[4] = 2;
    s.baselineDrift[4] = 0.25f;

    std::vector<std::string> messages;
    EXPECT_EQ(insertPorePressureChannel(s, messages), 3);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(s.channelCount, 5);
    EXPECT_FALSE(s.porePressureMissing);

    EXPECT_EQ(s.channelName[3], "PRESSURE U2");
    EXPECT_EQ(s.channelType[3], 3);
    EXPECT_EQ(s.channelFullScale[3], 3447.5f);
    EXPECT_EQ(s.noDataCount[3], 0);
    // The former channels 3 and 4 keep everything that describes them, their
    // offset in readings and drift included.
    EXPECT_EQ(s.channelName[4], "CH3");
    EXPECT_EQ(s.noDataCount[4], 1);
    EXPECT_EQ(s.channelName[5], "CH4");
    EXPECT_EQ(s.channelType[5], 5);
    EXPECT_EQ(s.channelUnitIndex[5], 2);
    EXPECT_EQ(s.channelUnitFactor[5], 0.001f);
    EXPECT_EQ(s.noDataCount[5], 2);
    EXPECT_EQ(s.baselineDrift[5], 0.25f);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(s.raw(3, r), 1.0f);
        EXPECT_EQ(s.value(3, r), 0.0f);
        EXPECT_EQ(s.value(4, r), 30.0f + r);
        EXPECT_EQ(s.value(5, r), 40.0f + r);
        EXPECT_EQ(s.value(2, r), 20.0f + r);
    }
}

TEST(AutoCleanChannel, PositionFollowsTheChannelCount) {
    struct Case {
        int channels;
        int position;
    };
    for (const Case k : {Case{1, 2}, Case{2, 3}}) {
        Sounding s = soundingWithDepths({1.0f}, 0.05f, k.channels);
        std::vector<std::string> messages;
        EXPECT_EQ(insertPorePressureChannel(s, messages), k.position) << k.channels;
        EXPECT_EQ(s.channelCount, k.channels + 1);
        EXPECT_EQ(s.channelName[k.position], "PRESSURE U2");
        EXPECT_EQ(s.channelName[1], "CH1");
    }
}

TEST(AutoCleanChannel, TenChannelsLeaveNoRoomButTheDepthsAreStillCleaned) {
    Sounding s = soundingWithDepths({1.02f, 1.07f, 1.20f, 1.25f}, 0.05f, 10);
    const AutoCleanResult result = autoClean(s);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_NE(result.messages[0].find("no room for a pore-pressure channel"), std::string::npos);
    EXPECT_EQ(result.insertedChannel, 0);
    EXPECT_EQ(s.channelCount, 10);
    EXPECT_EQ(s.channelName[10], "CH10");
    EXPECT_EQ(s.depth[1], gridDepth(20));
    EXPECT_EQ(result.insertedReadings, 2);
    EXPECT_EQ(s.readingCount, 6);
}

TEST(AutoCleanChannel, ASecondRunAddsNoSecondChannel) {
    Sounding s = soundingWithDepths({1.0f, 1.05f}, 0.05f, 2);
    EXPECT_EQ(autoClean(s).insertedChannel, 3);
    EXPECT_EQ(autoClean(s).insertedChannel, 0);
    EXPECT_EQ(s.channelCount, 3);
}

// ---- Depth snapping ------------------------------------------------------

TEST(AutoCleanSnap, DepthsGoDownOntoTheGridAndCollisionsArePushedOn) {
    struct Case {
        std::vector<float> depths, snapped;
    };
    const Case cases[] = {
        {{1.02f, 1.07f, 1.12f}, {gridDepth(20), gridDepth(21), gridDepth(22)}},
        // Landing on the depth before moves one step on; the surface (0)
        // counts as the depth before the first reading.
        {{1.00f, 1.04f}, {1.00f, 1.00f + 0.05f}},
        {{0.02f}, {0.05f}},
        {{0.00f}, {0.00f}},
        // Each reading sees the snapped depth before it; depths may go back.
        {{1.12f, 1.11f, 1.13f}, {gridDepth(22), gridDepth(22) + 0.05f, gridDepth(22)}},
        // Only a bit-for-bit equal depth collides: 1.05f lies just below
        // 21 x 0.05f.
        {{1.05f, 1.07f}, {1.05f, gridDepth(21)}},
        // On the grid the stored value stays, neighbours or not.
        {{1.0503f, 1.05f, 1.05f}, {1.0503f, 1.05f, 1.05f}},
        // Elevations snap downwards and collide upwards.
        {{-1.02f, -1.07f}, {gridDepth(-21), gridDepth(-22)}},
        {{gridDepth(-21), -1.03f}, {gridDepth(-21), gridDepth(-21) + 0.05f}},
    };
    ASSERT_NE(1.05f, gridDepth(21));
    for (const Case& k : cases) {
        Sounding s = soundingWithDepths({});
        s.readingCount = static_cast<int32_t>(k.depths.size());
        for (int32_t r = 1; r <= s.readingCount; ++r) s.depth[r] = k.depths[r - 1];
        snapDepths(s);
        for (int32_t r = 1; r <= s.readingCount; ++r)
            EXPECT_EQ(s.depth[r], k.snapped[r - 1]) << "reading " << r << " of case starting " << k.depths[0];
    }
}

TEST(AutoCleanSnap, AnIncrementOfZeroRefusesTheWholeCommand) {
    for (const float increment : {0.0f, -0.05f}) {
        Sounding s = soundingWithDepths({1.02f, 1.50f}, increment);
        const AutoCleanResult result = autoClean(s);
        EXPECT_FALSE(result.ok);
        ASSERT_EQ(result.messages.size(), 1u);
        EXPECT_NE(result.messages[0].find("greater than 0"), std::string::npos);
        EXPECT_EQ(s.channelCount, 2);
        EXPECT_TRUE(s.porePressureMissing);
        EXPECT_EQ(s.readingCount, 2);
        EXPECT_EQ(s.depth[1], 1.02f);
    }
}

// ---- Gap filling ---------------------------------------------------------

TEST(AutoCleanGaps, EachMissingStepGetsAReading) {
    // The reading at 1.25 keeps the second inserted reading inside the scan.
    Sounding s = soundingWithDepths({1.00f, 1.05f, 1.20f, 1.25f});
    s.speed[1] = 1.0f;
    s.speed[2] = 1.5f;
    s.speed[3] = 3.0f;
    std::vector<std::string> messages;
    EXPECT_EQ(fillDepthGaps(s, messages), 2);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(s.readingCount, 6);
    EXPECT_EQ(s.depth[3], 1.05f + 0.05f);
    EXPECT_EQ(s.depth[4], s.depth[3] + 0.05f);
    EXPECT_FLOAT_EQ(s.depth[4], 1.15f);
    EXPECT_EQ(s.depth[5], 1.20f);
    for (int r = 3; r <= 4; ++r) {
        EXPECT_EQ(s.speed[r], 1.5f) << r;
        EXPECT_EQ(s.value(1, r), 13.0f) << r;  // the reading at 1.20
        EXPECT_EQ(s.value(2, r), 23.0f) << r;
    }
    EXPECT_EQ(s.speed[5], 3.0f);
    EXPECT_EQ(s.value(1, 5), 13.0f);
    EXPECT_EQ(s.value(1, 6), 14.0f);
}

TEST(AutoCleanGaps, ChannelsMoveAtTheirOwnOffset) {
    Sounding s = soundingWithDepths({1.00f, 1.05f, 1.15f, 1.20f, 1.25f, 1.30f}, 0.05f, 3);
    s.noDataCount[2] = 2;
    s.noDataCount[3] = 5;  // reaches below reading 1
    std::vector<std::string> messages;
    EXPECT_EQ(fillDepthGaps(s, messages), 1);
    ASSERT_EQ(s.readingCount, 7);

    const float channel1[] = {11, 12, 13, 13, 14, 15, 16};
    const float channel2[] = {21, 21, 22, 23, 24, 26, kNoDataValue};
    const float channel3[] = {31, 31, 33, 34, 35, 36, kNoDataValue};
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(s.value(1, r), channel1[r - 1]) << r;
        EXPECT_EQ(s.value(2, r), channel2[r - 1]) << r;
        EXPECT_EQ(s.value(3, r), channel3[r - 1]) << r;
    }
}

TEST(AutoCleanGaps, TheScanStopsBeforeTheFirstCountsLastReading) {
    // N0 = 4: readings 1..3 are looked at, and the inserted readings take
    // their turns, so the gap after 2.0 waits for the next run.
    Sounding s = soundingWithDepths({1.0f, 1.5f, 2.0f, 2.5f}, 0.25f);
    std::vector<std::string> messages;
    EXPECT_EQ(fillDepthGaps(s, messages), 2);
    ASSERT_EQ(s.readingCount, 6);
    const float once[] = {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.5f};
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(s.depth[r], once[r - 1]) << r;

    EXPECT_EQ(fillDepthGaps(s, messages), 1);
    EXPECT_EQ(s.depth[6], 2.25f);
    EXPECT_EQ(s.depth[7], 2.5f);
}

TEST(AutoCleanGaps, FallingElevationsHaveNoGaps) {
    Sounding s = soundingWithDepths({-1.0f, -1.5f, -3.0f});
    std::vector<std::string> messages;
    EXPECT_EQ(fillDepthGaps(s, messages), 0);
}

TEST(AutoCleanGaps, FillingStopsAtTheReadingCapacity) {
    Sounding s = soundingWithDepths({0.0f});
    s.readingCount = kMaxReadings - 2;
    for (int r = 2; r <= s.readingCount; ++r) s.depth[r] = 5.0f;
    std::vector<std::string> messages;
    EXPECT_EQ(fillDepthGaps(s, messages), 2);
    EXPECT_EQ(s.readingCount, kMaxReadings);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("10000 readings"), std::string::npos);
    EXPECT_EQ(s.depth[kMaxReadings], 5.0f);
    EXPECT_EQ(s.depth[3], 0.05f + 0.05f);
}

}  // namespace
}  // namespace qm
