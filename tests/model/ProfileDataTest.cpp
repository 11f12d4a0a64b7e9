// The profile without drawing: tracks per channel-type set, the friction
// ratio and its gaps, line breaks, u0 from the water table, ticks; and the
// page's jumps that move the cursor through a long sounding.

#include "model/ProfileData.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "model/ReadingsPage.h"
#include "ops/AxisTicks.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::shippedTables;

// `types` give the channels (unit 1 of each type, factor 1); depths every
// 0.02 m; channel c holds 10 c + r; the cursor on reading 1.
std::unique_ptr<Sounding> sounding(std::vector<int> types, int count = 10) {
    auto s = std::make_unique<Sounding>();
    s->channelCount = static_cast<int16_t>(types.size());
    for (int c = 1; c <= s->channelCount; ++c) {
        s->channelType[c] = static_cast<int16_t>(types[static_cast<std::size_t>(c - 1)]);
        s->channelName[c] = "CH" + std::to_string(c);
        s->channelUnitIndex[c] = 1;
        s->channelUnitFactor[c] = 1.0f;
    }
    s->readingCount = count;
    s->depthIncrement = 0.02f;
    for (int r = 1; r <= count; ++r) {
        s->depth[r] = 0.02f * static_cast<float>(r);
        for (int c = 1; c <= s->channelCount; ++c) s->value(c, r) = static_cast<float>(10 * c + r);
    }
    s->dataIndex = s->pageRow = 1;
    return s;
}

std::string kinds(const ProfileData& p) {
    static const char* names[] = {"qc", "fs", "u", "Rf", "other"};
    std::string out;
    for (const ProfileTrack& t : p.tracks) {
        out += names[static_cast<int>(t.kind)];
        if (t.optional) out += "(" + std::to_string(t.channel) + ")";
        if (t.kind == TrackKind::PorePressure) out += std::to_string(t.series.size());
        out += " ";
    }
    return out;
}

TEST(ProfileData, TracksOfEachChannelTypeSet) {
    const struct {
        std::vector<int> types;
        std::string tracks;
    } cases[] = {
        {{1, 2, 3}, "qc fs u1 Rf "},
        {{1, 2}, "qc fs Rf "},
        {{1}, "qc "},
        {{3, 1}, "qc u1 "},
        {{1, 2, 3, 6, 7, 10, 4, 11, 9, 13}, "qc fs u2 Rf other(4) other(5) other(6) other(8) other(9) other(10) "},
        {{1, 2, 5, 4, 3}, "qc fs u3 Rf "},
        {{1, 1, 2}, "qc fs Rf other(2) "},
        {{}, ""},
    };
    for (const auto& c : cases) {
        const ProfileData p = buildProfile(*sounding(c.types), shippedTables(), false, std::nullopt);
        EXPECT_EQ(kinds(p), c.tracks);
    }
    // A second pore channel is drawn in the first one's unit: here KPA in PSI.
    auto s = sounding({3, 4});
    s->channelUnitFactor[1] = 0.1450377f;
    EXPECT_NEAR(buildProfile(*s, shippedTables(), false, std::nullopt).tracks[0].series[1].values[1], 21 * 0.1450377, 1e-4);
}

TEST(ProfileData, FrictionRatioInOneBaseUnitWithGaps) {
    // Tip in MPA (factor 0.001), sleeve in KPA: Rf = fs / (qc * 1000) * 100.
    auto s = sounding({1, 2}, 6);
    s->channelUnitIndex[1] = 2;
    s->channelUnitFactor[1] = 0.001f;
    const struct {
        float qc, fs, rf;  // rf < 0: absent
    } rows[] = {{5.0f, 100.0f, 2.0f}, {2.0f, 10.0f, 0.5f}, {kNoDataValue, 10.0f, -1}, {4.0f, kNoDataValue, -1},
                {0.0f, 10.0f, -1},    {-1.0f, 10.0f, -1}};
    for (int r = 1; r <= 6; ++r) {
        s->value(1, r) = rows[r - 1].qc;
        s->value(2, r) = rows[r - 1].fs;
    }
    const ProfileData p = buildProfile(*s, shippedTables(), false, std::nullopt);
    const ProfileSeries& rf = p.tracks.back().series[0];
    ASSERT_EQ(p.tracks.back().unit, "%");
    for (int r = 1; r <= 6; ++r) {
        if (rows[r - 1].rf < 0)
            EXPECT_EQ(rf.values[static_cast<std::size_t>(r)], kNoDataValue) << r;
        else
            EXPECT_NEAR(rf.values[static_cast<std::size_t>(r)], rows[r - 1].rf, 1e-5) << r;
    }
    EXPECT_EQ(rf.runs, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}}));
}

TEST(ProfileData, LinesBreakAtMissingReadingsAndWideDepthGaps) {
    auto s = sounding({1}, 12);
    s->value(1, 4) = kNoDataValue;
    s->value(1, 8) = kNoDataValue;
    s->value(1, 9) = kNoDataValue;
    // A drill-out: reading 11 lies three increments below reading 10;
    // exactly two increments (reading 6 to 7) still joins.
    for (int r = 7; r <= 12; ++r) s->depth[r] += 0.02f;
    for (int r = 11; r <= 12; ++r) s->depth[r] += 0.04f;
    const ProfileData p = buildProfile(*s, shippedTables(), false, std::nullopt);
    EXPECT_EQ(p.tracks[0].series[0].runs, (std::vector<std::pair<int32_t, int32_t>>{{1, 3}, {5, 7}, {10, 10}, {11, 12}}));
    // The axis in feet, depth format: downward.
    const ProfileData ft = buildProfile(*s, shippedTables(), true, std::nullopt);
    EXPECT_FLOAT_EQ(ft.axis[1], static_cast<float>(0.02f * 3.281));
    EXPECT_FALSE(ft.elevation);
}

TEST(ProfileData, HydrostaticLineFromTheWaterTable) {
    // Depths 0.5 .. 3.0 m; u2 in KPA or in PSI (factor 0.1450377).
    auto s = sounding({1, 3}, 6);
    for (int r = 1; r <= 6; ++r) s->depth[r] = 0.5f * static_cast<float>(r);
    s->depthIncrement = 0.5f;
    const struct {
        int unit;
        double water;
        bool feet;
        bool elevation;
        std::vector<std::pair<double, double>> line;
    } cases[] = {
        {1, 1.0, false, false, {{0.5, 0}, {1.0, 0}, {3.0, 19.62}}},
        {1, 0.2, false, false, {{0.5, 2.943}, {3.0, 27.468}}},
        {1, 1.0, true, false, {{0.5 * 3.281, 0}, {3.281, 0}, {3.0 * 3.281, 19.62}}},
        {4, 1.0, false, false, {{0.5, 0}, {1.0, 0}, {3.0, 19.62 * 0.1450377}}},
        // Elevations -0.5 .. -3.0: the first reading counts as the ground.
        {1, 1.0, false, true, {{-0.5, 0}, {-1.5, 0}, {-3.0, 14.715}}},
    };
    for (const auto& c : cases) {
        auto copy = std::make_unique<Sounding>(*s);
        copy->channelUnitIndex[2] = static_cast<int16_t>(c.unit);
        copy->channelUnitFactor[2] = shippedTables().unitFactor[3][c.unit];
        if (c.elevation) {
            copy->depthFormatApplied = 1;
            for (int r = 1; r <= 6; ++r) copy->depth[r] = -copy->depth[r];
        }
        const ProfileData p = buildProfile(*copy, shippedTables(), c.feet, c.water);
        const ProfileTrack& u = p.tracks[1];
        ASSERT_EQ(u.kind, TrackKind::PorePressure);
        ASSERT_EQ(u.hydrostatic.size(), c.line.size()) << c.water;
        for (std::size_t i = 0; i < c.line.size(); ++i) {
            EXPECT_NEAR(u.hydrostatic[i].first, c.line[i].first, 1e-4) << c.water << " point " << i;
            EXPECT_NEAR(u.hydrostatic[i].second, c.line[i].second, 1e-3) << c.water << " point " << i;
        }
    }
    EXPECT_TRUE(buildProfile(*s, shippedTables(), false, std::nullopt).tracks[1].hydrostatic.empty());
}

TEST(ProfileData, TicksAndTheirTexts) {
    EXPECT_EQ(niceTicks(0, 12.3, 7), (std::vector<double>{0, 2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(niceTicks(-3.2, -0.1, 4), (std::vector<double>{-3, -2, -1}));
    EXPECT_EQ(niceTicks(0, 0.05, 6), (std::vector<double>{0, 0.01, 0.02, 0.03, 0.04, 0.05}));
    EXPECT_EQ(tickText(0.25, 0.05, ','), "0,25");
    EXPECT_EQ(tickText(2000, 500, '.'), "2000");
    EXPECT_EQ(tickText(-1e-17, 0.1, '.'), "0.0");
}

// ---- the page's jumps --------------------------------------------------

struct JumpCase {
    const char* what;
    int readings, lead;
    int32_t fromIndex;
    int fromRow;
    std::function<PageReaction(ReadingsPage&)> move;
    int32_t index;
    int row;
};

TEST(PageJumps, WhereTheCursorLands) {
    auto key = [](int code) { return [code](ReadingsPage& p) { return p.jumpKey(kDepthColumn, 1, code); }; };
    const JumpCase cases[] = {
        {"Page Down keeps the row", 1000, 0, 30, 10, key(keys::kPageDown), 54, 10},
        {"Page Down near the end", 1000, 0, 990, 10, key(keys::kPageDown), 1000, 24},
        {"Page Up near the start", 1000, 0, 20, 20, key(keys::kPageUp), 1, 1},
        {"Page Up stops at the lead", 1000, 3, 30, 20, key(keys::kPageUp), 6, 6},
        {"Ctrl+Home", 1000, 3, 500, 12, key(keys::kCtrlHome), 4, 4},
        {"Ctrl+End", 1000, 0, 5, 5, key(keys::kCtrlEnd), 1000, 24},
        {"Ctrl+End on a short sounding", 10, 0, 2, 2, key(keys::kCtrlEnd), 10, 10},
        {"lead of 30", 1000, 30, 500, 24, key(keys::kCtrlHome), 31, 24},
        {"wheel up at the top", 1000, 0, 3, 3, [](ReadingsPage& p) { return p.scrollBy(-3); }, 1, 1},
        {"scroll bar", 1000, 0, 50, 7, [](ReadingsPage& p) { return p.scrollTo(601); }, 607, 7},
        {"scroll bar at its end", 1000, 0, 50, 7, [](ReadingsPage& p) { return p.scrollTo(p.lastTopReading()); }, 983, 7},
        {"go to a reading on the page", 1000, 0, 50, 10, [](ReadingsPage& p) { return p.goToReading(45); }, 45, 5},
        {"go to a reading off the page", 1000, 0, 50, 10, [](ReadingsPage& p) { return p.goToReading(400); }, 400, 12},
        {"go above the lead", 1000, 5, 50, 10, [](ReadingsPage& p) { return p.goToReading(2); }, 6, 6},
    };
    for (const JumpCase& c : cases) {
        auto sp = sounding({1}, c.readings);
        Sounding& s = *sp;
        s.noDataLeadCount = static_cast<int16_t>(c.lead);
        s.dataIndex = c.fromIndex;
        s.pageRow = static_cast<int16_t>(c.fromRow);
        ReadingsPage page(s, shippedTables(), 0);
        page.startAfterLoad();
        const PageReaction r = c.move(page);
        EXPECT_EQ(s.dataIndex, c.index) << c.what;
        EXPECT_EQ(s.pageRow, c.row) << c.what;
        EXPECT_EQ(page.cell(kDepthColumn, c.row).background, kGreen) << c.what;
        EXPECT_EQ(page.dataIndexLabel(), "Data Index:  " + std::to_string(c.index)) << c.what;
        EXPECT_EQ(r.focusRow, c.row) << c.what;
        EXPECT_EQ(page.changeCount(), 0u) << c.what;
    }
}

TEST(PageJumps, OnlyATypedValueIsCommittedFirst) {
    auto sp = sounding({1}, 100);
    Sounding& s = *sp;
    for (int r = 1; r <= 100; ++r) s.value(1, r) = 1.234f;
    ReadingsPage page(s, shippedTables(), 0);
    page.startAfterLoad();
    // A shown value is no typed value: nothing rounds it.
    page.channelClick(1, 3);
    page.jumpKey(kDepthColumn, 1, keys::kPageDown);
    EXPECT_EQ(s.value(1, 3), 1.234f);
    EXPECT_EQ(s.dataIndex, 25);
    page.channelClick(1, 3);
    page.setCellText(1, 3, "7");
    page.scrollBy(3);
    EXPECT_EQ(s.value(1, 27), 7.0f);
    EXPECT_EQ(s.dataIndex, 28);
}

}  // namespace
}  // namespace qm
