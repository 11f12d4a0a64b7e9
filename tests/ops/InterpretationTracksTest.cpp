// The interpretation's tracks in the profile: qt beside qc in the tip
// channel's own unit, the chosen tracks between the main and the optional
// ones, Ic's zone boundaries, and the zones as the column's values.
#include <gtest/gtest.h>

#include "model/SoundingReader.h"
#include "model/Units.h"
#include "ops/InterpretationTracks.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::vector<std::string> titles(const ProfileData& p) {
    std::vector<std::string> out;
    for (const ProfileTrack& t : p.tracks) out.push_back(t.title);
    return out;
}

TEST(InterpretationTracks, QtJoinsQcInItsUnitAndTheChosenTracksFollowTheMainOnes) {
    const ChannelTypeTable& tables = test::shippedTables();
    auto s = std::make_unique<Sounding>();
    ASSERT_TRUE(readSoundingFile(test::samplesDir() + "/sample-10ch.cpt", tables, 0, *s).ok);
    // The tip in kPa, so qt (in MPa) must be converted to the track's unit.
    ASSERT_EQ(changeChannelUnit(*s, tables, 1, findUnit(*s, tables, 1, "KPA")), "");
    const Interpretation in = interpret(*s, tables, {});
    ProfileData p = buildProfile(*s, tables, false, 1.85);
    const std::vector<std::string> before = titles(p);

    addInterpretationTracks(p, *s, tables, in, {true, true, true});
    const std::vector<std::string> after = titles(p);
    ASSERT_EQ(after.size(), before.size() + 3);
    EXPECT_EQ(after[4], "Bq");
    EXPECT_EQ(after[5], "Ic");
    EXPECT_EQ(after[6], "SBT");
    EXPECT_FALSE(p.tracks[4].optional || p.tracks[5].optional || p.tracks[6].optional);
    EXPECT_TRUE(p.tracks[7].optional);

    const ProfileTrack& tip = p.tracks[0];
    ASSERT_EQ(tip.kind, TrackKind::TipResistance);
    ASSERT_EQ(tip.series.size(), 2u);
    const ProfileSeries& qt = tip.series[1];
    int compared = 0;
    for (int r = 1; r <= s->readingCount; ++r) {
        if (!hasValue(in.qt[static_cast<std::size_t>(r)])) {
            EXPECT_EQ(qt.values[static_cast<std::size_t>(r)], kNoDataValue);
            continue;
        }
        EXPECT_NEAR(qt.values[static_cast<std::size_t>(r)], in.qt[static_cast<std::size_t>(r)] * 1000.0, 0.01);
        EXPECT_GE(tip.high, qt.values[static_cast<std::size_t>(r)]);
        ++compared;
    }
    EXPECT_GT(compared, 100);

    EXPECT_EQ(p.tracks[5].marks, (std::vector<double>{1.31, 2.05, 2.60, 2.95, 3.60}));
    for (int r = 1; r <= s->readingCount; ++r) {
        const int zone = in.zone[static_cast<std::size_t>(r)];
        const float shown = p.tracks[6].series[0].values[static_cast<std::size_t>(r)];
        EXPECT_EQ(shown, zone == 0 ? kNoDataValue : static_cast<float>(zone)) << r;
    }
}

TEST(InterpretationTracks, OnlyTheChosenTracksAndNoBqWithoutU2) {
    const ChannelTypeTable& tables = test::shippedTables();
    auto s = std::make_unique<Sounding>();
    ASSERT_TRUE(readSoundingFile(test::samplesDir() + "/sample-nopore.cpt", tables, 0, *s).ok);
    const Interpretation in = interpret(*s, tables, {});
    ProfileData p = buildProfile(*s, tables, false, std::nullopt);
    const std::size_t count = p.tracks.size();
    addInterpretationTracks(p, *s, tables, in, {true, false, true});
    EXPECT_EQ(titles(p).size(), count + 1);
    EXPECT_EQ(p.tracks.back().title, "SBT");
}

}  // namespace
}  // namespace qm
