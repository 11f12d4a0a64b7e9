#include "ops/DepthAxis.h"

#include <gtest/gtest.h>

#include "ops/CorrectionSoundings.h"

namespace qm {
namespace {

using test::soundingWithDepths;

TEST(StartDepth, EveryDepthMovesByTheOffsetFromTheShownValue) {
    Sounding s = soundingWithDepths({0.00f, 0.05f, 0.10f});
    EXPECT_TRUE(changeStartDepth(s, "1.50", '.').ok);
    EXPECT_FLOAT_EQ(s.depth[1], 1.50f);
    EXPECT_FLOAT_EQ(s.depth[3], 1.60f);

    // The current value is the two-decimal text, not Depth(1).
    Sounding shown = soundingWithDepths({1.004f, 1.054f});
    EXPECT_EQ(currentStartDepthText(shown, ','), "1,00");
    EXPECT_TRUE(changeStartDepth(shown, "2,00", ',').ok);
    EXPECT_EQ(shown.depth[1], 1.0f + 1.004f);
    EXPECT_EQ(shown.depth[2], 1.0f + 1.054f);

    Sounding e = soundingWithDepths({-0.05f, -0.10f});
    e.depthFormat = e.depthFormatApplied = kDepthFormatElevation;
    EXPECT_TRUE(changeStartDepth(e, "100.00", '.').ok);
    EXPECT_FLOAT_EQ(e.depth[1], 100.00f);
    EXPECT_FLOAT_EQ(e.depth[2], 99.95f);
    EXPECT_EQ(startDepthCaptions(kDepthFormatElevation).frame, "CHANGE START ELEVATION");
    EXPECT_EQ(startDepthCaptions(kDepthFormatDepth).newLabel, "New Start Depth");
}

TEST(StartDepth, ATextThatIsNotANumberChangesNothing) {
    for (const char* bad : {"", "abc", "1,5", "1e999"}) {
        Sounding s = soundingWithDepths({0.5f, 0.55f});
        const OpResult result = changeStartDepth(s, bad, '.');
        EXPECT_FALSE(result.ok) << bad;
        ASSERT_EQ(result.messages.size(), 1u);
        EXPECT_NE(result.messages[0].find("start depth"), std::string::npos);
        EXPECT_EQ(s.depth[1], 0.5f);
    }
    Sounding e = soundingWithDepths({-0.5f});
    e.depthFormat = e.depthFormatApplied = kDepthFormatElevation;
    EXPECT_NE(changeStartDepth(e, "x", '.').messages.at(0).find("start elevation"), std::string::npos);
}

TEST(Increment, DepthsAndSpeedsScaleByTheRatio) {
    Sounding s = soundingWithDepths({0.05f, 0.10f, 0.15f});
    EXPECT_TRUE(changeIncrement(s, "0.02", '.').ok);
    EXPECT_EQ(s.depth[1], 0.05f * (0.02f / 0.05f));
    EXPECT_FLOAT_EQ(s.depth[2], 0.04f);
    EXPECT_FLOAT_EQ(s.depth[3], 0.06f);
    EXPECT_FLOAT_EQ(s.speed[1], 0.8f);
    EXPECT_EQ(s.depthIncrement, 0.02f);

    Sounding start = soundingWithDepths({1.00f, 1.05f});
    EXPECT_TRUE(changeIncrement(start, "0,025", ',').ok);
    EXPECT_FLOAT_EQ(start.depth[1], 0.50f);
}

TEST(Increment, IncreaseStepsThePendingIncrement) {
    Sounding s = soundingWithDepths({1.00f, 1.05f});
    IncrementStepper stepper(s);
    EXPECT_EQ(stepper.text('.'), "0.050");
    std::string shown[3];
    for (std::string& text : shown) {
        stepper.increase();
        text = stepper.text('.');
    }
    EXPECT_EQ(shown[0], "0.055");
    EXPECT_EQ(shown[1], "0.060");
    EXPECT_EQ(shown[2], "0.065");
    EXPECT_TRUE(changeIncrement(s, shown[2], '.').ok);
    EXPECT_EQ(s.depth[1], 1.00f * (0.065f / 0.05f));
    EXPECT_FLOAT_EQ(s.speed[1], 2.6f);
}

TEST(Increment, DecreaseLooksAtTheAcceptedIncrement) {
    Sounding fine = soundingWithDepths({1.0f}, 0.005f);
    IncrementStepper stuck(fine);
    EXPECT_FALSE(stuck.decrease(fine));
    EXPECT_EQ(stuck.text('.'), "0.005");

    Sounding s = soundingWithDepths({1.0f}, 0.02f);
    IncrementStepper stepper(s);
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(stepper.decrease(s));
        shown.push_back(stepper.text('.'));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"0.015", "0.010", "0.005", "-0.000", "-0.005"}));
    // Reaching 0 or below by stepping is refused like a typed one.
    for (const std::string& text : {shown[3], shown[4]}) {
        const OpResult result = changeIncrement(s, text, '.');
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.messages.at(0).find("greater than 0"), std::string::npos);
    }
    EXPECT_EQ(s.depthIncrement, 0.02f);
    EXPECT_EQ(s.depth[1], 1.0f);
}

TEST(Increment, RefusedTextsAndAZeroIncrementChangeNothing) {
    for (const char* bad : {"", "fast", "0.02", "1e40"}) {
        Sounding s = soundingWithDepths({1.0f, 1.05f});
        const OpResult result = changeIncrement(s, bad, ',');
        EXPECT_FALSE(result.ok) << bad;
        EXPECT_EQ(result.messages.size(), 1u);
        EXPECT_EQ(s.depthIncrement, 0.05f);
        EXPECT_EQ(s.depth[2], 1.05f);
        EXPECT_EQ(s.speed[2], 2.0f);
    }
    Sounding zero = soundingWithDepths({1.0f, 1.0f}, 0.0f);
    const OpResult result = changeIncrement(zero, "0.05", '.');
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.messages.at(0).find("current depth increment is 0"), std::string::npos);
    EXPECT_EQ(zero.depthIncrement, 0.0f);
    EXPECT_EQ(zero.depth[1], 1.0f);
}

TEST(DepthFormat, SwitchingNegatesAndSwitchingBackRestores) {
    Sounding s = soundingWithDepths({0.02f, 1.337f, 2.5f});
    setDepthFormat(s, kDepthFormatElevation);
    EXPECT_EQ(s.depthFormat, kDepthFormatElevation);
    EXPECT_EQ(s.depthFormatApplied, kDepthFormatElevation);
    EXPECT_EQ(s.depth[2], -1.337f);
    EXPECT_EQ(depthLabelCaption(s.depthFormat), "ELEVATION");

    // The format already in force changes nothing.
    setDepthFormat(s, kDepthFormatElevation);
    EXPECT_EQ(s.depth[2], -1.337f);

    setDepthFormat(s, kDepthFormatDepth);
    EXPECT_EQ(s.depth[1], 0.02f);
    EXPECT_EQ(s.depth[2], 1.337f);
    EXPECT_EQ(s.depth[3], 2.5f);
    EXPECT_EQ(depthLabelCaption(s.depthFormat), "DEPTH");
    EXPECT_EQ(s.depthIncrement, 0.05f);
}

}  // namespace
}  // namespace qm
