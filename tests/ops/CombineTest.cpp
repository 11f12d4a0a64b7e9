#include "ops/Combine.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/SoundingReader.h"
#include "model/Units.h"
#include "ops/CombineFixtures.h"

namespace qm {
namespace {

using test::dataRow;
using test::ChannelSpec;
using test::combineChannel;
using test::FileSpec;
using test::otherCone;
using test::rightAligned;
using test::soundingText;
using test::steadyRows;

const ChannelTypeTable& table() {
    static const ChannelTypeTable t = test::combineTable();
    return t;
}

const std::vector<std::string> kFirstRaws{"300.00000", "300.00000", "300.00000"};
const std::vector<std::string> kSecondRaws{"600.00000", "600.00000", "600.00000"};

// 14 readings from 1.00 m to 1.26 m, every value 10, no leading readings
// without data.
FileSpec firstSpec() {
    FileSpec f;
    f.rows = steadyRows(false, 1000, 20, 14, kFirstRaws);
    return f;
}

// 14 readings from 1.20 m to 1.46 m.
FileSpec secondSpec() {
    FileSpec f;
    f.rows = steadyRows(false, 1200, 20, 14, kSecondRaws);
    return f;
}

std::unique_ptr<Sounding> load(const FileSpec& f, int mode = 0) {
    auto s = std::make_unique<Sounding>();
    const LoadResult r = readSoundingText(soundingText(f), table(), mode, *s);
    EXPECT_TRUE(r.ok) << r.error;
    return s;
}

struct Combined {
    std::unique_ptr<Sounding> first;
    std::unique_ptr<SecondSounding> second = std::make_unique<SecondSounding>();
    CombineReadResult read;

    AppendResult append(const std::string& start, bool normalize = true) {
        return appendSecondSounding(*first, *second, start, normalize, 0, false);
    }
};

Combined combine(const FileSpec& firstFile, const FileSpec& secondFile) {
    Combined c;
    c.first = load(firstFile);
    c.read = readSecondFileText(soundingText(secondFile), *c.first, table(), 0, *c.second);
    return c;
}

std::string col(const std::string& text) { return rightAligned(text, 15); }

TEST(CombineRead, SameConeConvertsWithTheFirstCalibrationAndFillsThePreview) {
    FileSpec second = secondSpec();
    for (ChannelSpec& c : second.channels) c = otherCone(c);
    second.rows[0] = dataRow(false, "1.20", {"600.00000", "-32768", "600.00000"});
    Combined c = combine(firstSpec(), second);

    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.read.messages, std::vector<std::string>{kSameConeMessage});
    const Sounding& s = c.second->sounding;
    EXPECT_TRUE(c.second->sameCone);
    EXPECT_EQ(s.readingCount, 14);
    EXPECT_FLOAT_EQ(s.value(1, 1), 25.0f);  // (600 - 100) / 1000 * 50
    EXPECT_EQ(s.value(2, 1), kNoDataValue);
    EXPECT_EQ(s.noDataCount[2], 1);
    EXPECT_EQ(s.noDataLeadCount, 1);

    const CombinePreview& p = c.read.preview;
    EXPECT_EQ(p.channelHeadings, " Depth" + col("TIP") + col("FRICTION") + col("PRESSURE"));
    ASSERT_EQ(p.dataLines.size(), 14u);
    EXPECT_EQ(p.dataLines[0], "   1.20" + col("25.000") + col("-32768.000") + col("25.000"));
    EXPECT_EQ(p.dataLines[13], "   1.46" + col("25.000") + col("25.000") + col("25.000"));
    EXPECT_EQ(p.dataText().substr(0, p.dataLines[0].size() + 2), p.dataLines[0] + "\r\n");
    EXPECT_EQ(p.finalDepthOfFirstSounding, "1.26 m");
    EXPECT_EQ(p.startDepth, "1.2");
    EXPECT_TRUE(p.normalizeDepth);
}

TEST(CombineRead, DifferentConesUseTheSecondCalibrationInTheChannelsCurrentUnit) {
    FileSpec second = secondSpec();
    for (ChannelSpec& c : second.channels) c = otherCone(c);
    second.cone = "c-100";  // letter case counts

    auto first = load(firstSpec());
    ASSERT_EQ(changeChannelUnit(*first, table(), 1, 2), "");  // the tip shown in kPa
    SecondSounding s2;
    CombineReadResult read = readSecondFileText(soundingText(second), *first, table(), 0, s2);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.messages, std::vector<std::string>{kDifferentConesMessage});
    EXPECT_FALSE(s2.sameCone);
    // (600 - 200) / 2000 * 100 = 20 MPa, held as the first file holds its tip.
    EXPECT_FLOAT_EQ(s2.sounding.value(1, 1), 20000.0f);
    EXPECT_FLOAT_EQ(s2.sounding.value(2, 1), 20.0f);

    second.cone = "C-100";
    read = readSecondFileText(soundingText(second), *first, table(), 0, s2);
    ASSERT_TRUE(read.ok);
    EXPECT_FLOAT_EQ(s2.sounding.value(1, 1), 25000.0f);
}

TEST(CombineRead, ChannelMatchingBySubsetsAndDuplicates) {
    // A subset: the count message, and the first file's friction gets no data.
    FileSpec subset = secondSpec();
    subset.channels = {combineChannel(1, "TIP"), combineChannel(3, "PRESSURE")};
    subset.rows = steadyRows(false, 1200, 20, 14, {"600.00000", "800.00000"});
    Combined c = combine(firstSpec(), subset);
    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.read.messages, (std::vector<std::string>{kSameConeMessage, kChannelCountMessage}));
    EXPECT_EQ(c.read.preview.channelHeadings, " Depth" + col("TIP") + col("PRESSURE"));
    ASSERT_TRUE(c.append(c.read.preview.startDepth).ok);
    EXPECT_FLOAT_EQ(c.first->value(1, 15), 25.0f);
    EXPECT_EQ(c.first->value(2, 15), kNoDataValue);
    EXPECT_FLOAT_EQ(c.first->value(3, 15), 35.0f);
    EXPECT_FLOAT_EQ(c.first->value(2, 14), 10.0f);  // the first file's own readings stay

    // Two tips against one, and a type the first file lacks: no count
    // message (three channels each), the later tip's value remains.
    FileSpec dup = secondSpec();
    dup.channels = {combineChannel(1, "TIP A"), combineChannel(4, "TILT"), combineChannel(1, "TIP B")};
    dup.rows = steadyRows(false, 1200, 20, 14, {"600.00000", "700.00000", "800.00000"});
    c = combine(firstSpec(), dup);
    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.read.messages, std::vector<std::string>{kSameConeMessage});
    EXPECT_EQ(c.read.preview.channelHeadings, " Depth" + col("TIP A") + col("TIP B"));
    ASSERT_TRUE(c.append(c.read.preview.startDepth).ok);
    EXPECT_FLOAT_EQ(c.first->value(1, 15), 35.0f);
    EXPECT_EQ(c.first->value(2, 15), kNoDataValue);
    EXPECT_EQ(c.first->value(3, 15), kNoDataValue);

    // Two channels of one type in the first file: the higher index wins.
    Sounding first;
    first.channelCount = 3;
    first.channelType = {0, 1, 2, 1};
    std::array<int16_t, kMaxChannels + 1> types{0, 1, 2, 3};
    const auto map = channelMapOf(first, types, 3);
    EXPECT_EQ(map[1], 3);
    EXPECT_EQ(map[2], 2);
    EXPECT_EQ(map[3], 0);
}

TEST(CombineRead, DrillOutLinesAndTheTrailingBaselineAreNoReadings) {
    FileSpec second = secondSpec();
    second.rows.insert(second.rows.begin() + 3, "************ Drillout ************");
    second.rows.insert(second.rows.begin(), "DRILLOUT");
    second.rows.insert(second.rows.begin() + 8, "  re-push after drillout");
    second.rows.push_back(std::string(14, ' ') + rightAligned("300.00000", 20) + rightAligned("300.00000", 20));
    Combined c = combine(firstSpec(), second);
    ASSERT_TRUE(c.read.ok) << c.read.messages.back();
    EXPECT_EQ(c.read.messages,
              (std::vector<std::string>{kSameConeMessage, "Drillout detected in 2nd file at 0 m",
                                        "Drillout detected in 2nd file at 1.24 m",
                                        "Drillout detected in 2nd file at 1.3 m"}));
    EXPECT_EQ(c.second->sounding.readingCount, 14);
    EXPECT_FLOAT_EQ(c.second->sounding.depth[14], 1.46f);

    // Six leading blanks on the very first data row make a reading (the
    // newer layout's depth reaches column 7), on later rows a baseline line.
    FileSpec newer;
    newer.newer = true;
    newer.rows = steadyRows(true, 5020, 20, 12, kSecondRaws);
    newer.rows.insert(newer.rows.begin(), dataRow(true, "5", kSecondRaws));
    newer.rows.insert(newer.rows.begin() + 5, std::string(14, ' ') + rightAligned("300.00000", 20));
    c = combine(firstSpec(), newer);
    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.second->sounding.readingCount, 13);
    EXPECT_FLOAT_EQ(c.second->sounding.depth[1], 5.0f);
    EXPECT_FLOAT_EQ(c.second->sounding.speed[1], 2.0f);
}

TEST(CombineRead, DepthAndElevationMustAgree) {
    FileSpec elevations = secondSpec();
    elevations.rows = steadyRows(false, -1200, -20, 14, kSecondRaws);
    Combined c = combine(firstSpec(), elevations);
    EXPECT_FALSE(c.read.ok);
    EXPECT_EQ(c.read.messages.back(), kDepthThenElevationMessage);
    EXPECT_FALSE(c.second->readyToAppend);
    EXPECT_EQ(c.append("-1.2").messages, std::vector<std::string>{"There is no 2nd file ready to append."});

    FileSpec firstElevations = firstSpec();
    firstElevations.rows = steadyRows(false, -1000, -20, 14, kFirstRaws);
    c = combine(firstElevations, secondSpec());
    EXPECT_FALSE(c.read.ok);
    EXPECT_EQ(c.read.messages.back(), kElevationThenDepthMessage);

    // Fewer than 12 readings: judged by the first and last depths.
    FileSpec shortDepths = secondSpec();
    shortDepths.rows.resize(5);
    EXPECT_TRUE(combine(firstSpec(), shortDepths).read.ok);
    EXPECT_FALSE(combine(firstElevations, shortDepths).read.ok);
    FileSpec single = secondSpec();
    single.rows.resize(1);
    EXPECT_TRUE(combine(firstSpec(), single).read.ok);
    EXPECT_TRUE(combine(firstElevations, single).read.ok);
}

TEST(CombineRead, RefusesMalformedFilesAndKeepsTheEarlierOne) {
    auto first = load(firstSpec());
    SecondSounding s2;
    ASSERT_TRUE(readSecondFileText(soundingText(secondSpec()), *first, table(), 0, s2).ok);

    const auto refusalOf = [&](const FileSpec& f) {
        const CombineReadResult r = readSecondFileText(soundingText(f), *first, table(), 0, s2);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(s2.readyToAppend);
        EXPECT_EQ(s2.sounding.readingCount, 14);
        return r.messages.empty() ? std::string() : r.messages[0];
    };

    FileSpec eleven = secondSpec();
    eleven.channels.assign(11, combineChannel(1, "TIP"));
    EXPECT_EQ(refusalOf(eleven).rfind("The file cannot be opened: line 16 describes 11 channels", 0), 0u);

    FileSpec badRow = secondSpec();
    badRow.rows[2] = dataRow(false, "1.24", {"600.00000", "abc", "600.00000"});
    EXPECT_EQ(refusalOf(badRow),
              "The file cannot be opened: line 26 has no number for the reading of channel 2 (\"" +
                  rightAligned("abc", 20) + "\").");

    FileSpec noDepth = secondSpec();
    noDepth.rows[0] = "  x.yz" + noDepth.rows[0].substr(6);
    EXPECT_EQ(refusalOf(noDepth).rfind("The file cannot be opened: line 24 has no depth", 0), 0u);

    FileSpec unknownType = secondSpec();
    unknownType.channels[2].type = "9";
    EXPECT_EQ(refusalOf(unknownType).rfind("The file cannot be opened: line 16 gives channel 3 the type 9", 0), 0u);

    FileSpec empty = secondSpec();
    empty.rows = {"DRILLOUT"};
    EXPECT_EQ(refusalOf(empty), "The file cannot be combined: it holds no readings.");

    FileSpec tooMany = secondSpec();
    tooMany.rows = steadyRows(false, 1200, 1, kMaxReadings + 1, kSecondRaws);
    EXPECT_EQ(refusalOf(tooMany),
              "The file cannot be opened: line 10024 would be reading 10001; a sounding holds at most 10000 readings.");
}

TEST(CombineRead, SleeveLagUsesTheOpenSoundingsIncrement) {
    FileSpec second = secondSpec();
    second.channels[0].fullScale = "100000 MPa";
    second.rows = steadyRows(false, 1200, 50, 14, kSecondRaws);  // its own step would give 2
    Combined c = combine(firstSpec(), second);
    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.second->sounding.noDataLeadCount, 5);  // 0.1 / 0.02
    ASSERT_TRUE(c.append(c.read.preview.startDepth).ok);
    EXPECT_EQ(c.first->noDataLeadCount, 5);
}

TEST(CombineAppend, DefaultStartAppendsEveryReadingNormalized) {
    Combined c = combine(firstSpec(), secondSpec());
    ASSERT_TRUE(c.read.ok);
    const AppendResult a = c.append(c.read.preview.startDepth);
    ASSERT_TRUE(a.ok);
    EXPECT_TRUE(a.messages.empty());
    EXPECT_EQ(a.readingCount, 28);
    EXPECT_EQ(a.numberOfReadingsCaption, "# of Readings:  28");
    const Sounding& s = *c.first;
    EXPECT_EQ(s.readingCount, 28);
    EXPECT_EQ(s.depth[14], 1.26f);
    EXPECT_EQ(s.depth[15], 1.24f);  // anchored on the reading before the last
    EXPECT_EQ(s.depth[16], (1.22f - 1.2f) + 1.24f);
    EXPECT_EQ(s.value(0, 16), s.depth[16]);
    EXPECT_FLOAT_EQ(s.value(1, 28), 25.0f);
    EXPECT_FLOAT_EQ(s.speed[28], 2.0f);
    EXPECT_EQ(s.noDataLeadCount, 0);
    // The panel is gone: a second OK appends nothing more.
    EXPECT_FALSE(c.append(c.read.preview.startDepth).ok);
    EXPECT_EQ(s.readingCount, 28);
}

TEST(CombineAppend, SkipCountAtAndBetweenSecondFileDepths) {
    Combined at = combine(firstSpec(), secondSpec());
    ASSERT_TRUE(at.append("1.3").ok);
    EXPECT_EQ(at.first->readingCount, 14 + 9);
    EXPECT_EQ(at.first->depth[15], 1.24f);  // the reading at the start value is kept and lands on the anchor

    Combined between = combine(firstSpec(), secondSpec());
    ASSERT_TRUE(between.append("1.31").ok);
    EXPECT_EQ(between.first->readingCount, 14 + 8);
    EXPECT_EQ(between.first->depth[15], (1.32f - 1.3f) + 1.24f);
}

TEST(CombineAppend, WithoutNormalizationTheDepthsAreKeptAndMustExceedTheLast) {
    Combined c = combine(firstSpec(), secondSpec());
    AppendResult a = c.append("1.26", false);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.messages, std::vector<std::string>{"Value must exceed 1.26 m."});
    EXPECT_EQ(c.first->readingCount, 14);
    EXPECT_TRUE(c.second->readyToAppend);

    ASSERT_TRUE(c.append("1.28", false).ok);
    EXPECT_EQ(c.first->readingCount, 14 + 10);
    EXPECT_EQ(c.first->depth[15], 1.28f);
    EXPECT_EQ(c.first->depth[24], 1.46f);
}

TEST(CombineAppend, StartValueOutsideTheSecondFileOrNoNumberGivesTheRangeMessage) {
    FileSpec second = secondSpec();
    second.rows = {dataRow(false, "0.05", kSecondRaws), dataRow(false, "7.50", kSecondRaws)};
    Combined c = combine(firstSpec(), second);
    ASSERT_TRUE(c.read.ok);
    for (const char* text : {"0.04", "7.51", "abc", "", "1,5", "1e999"}) {
        const AppendResult a = c.append(text);
        EXPECT_FALSE(a.ok) << text;
        EXPECT_EQ(a.messages, std::vector<std::string>{"Value must be between 0.05 and 7.5."}) << text;
    }
    EXPECT_EQ(c.first->readingCount, 14);
    EXPECT_TRUE(c.append("7.5").ok);
    EXPECT_EQ(c.first->readingCount, 15);

    // A comma locale shows and reads the comma.
    auto first = load(firstSpec(), 1);
    SecondSounding s2;
    ASSERT_TRUE(readSecondFileText(soundingText(second), *first, table(), 1, s2).ok);
    EXPECT_EQ(appendSecondSounding(*first, s2, "7.6", true, 1, false).messages,
              std::vector<std::string>{"Value must be between 0,05 and 7,5."});
    EXPECT_TRUE(appendSecondSounding(*first, s2, "0,05", true, 1, false).ok);
}

TEST(CombineAppend, LeadingReadingsWithoutDataOfTheFirstSoundingGiveWay) {
    FileSpec first = firstSpec();
    first.rows[0] = dataRow(false, "1.00", {"300.00000", "-32768", "300.00000"});
    first.rows[1] = dataRow(false, "1.02", {"300.00000", "-32768", "300.00000"});
    Combined c = combine(first, secondSpec());
    ASSERT_EQ(c.first->noDataLeadCount, 2);
    ASSERT_TRUE(c.append(c.read.preview.startDepth).ok);
    EXPECT_EQ(c.first->readingCount, 12 + 14);
    EXPECT_EQ(c.first->depth[13], 1.24f);  // reading AnchorIndex, replaced at its own depth
    EXPECT_FLOAT_EQ(c.first->value(2, 13), 25.0f);
    EXPECT_EQ(c.first->noDataLeadCount, 0);
}

TEST(CombineAppend, ElevationsAppendAtAndBelowTheStartValue) {
    FileSpec first = firstSpec();
    first.rows = steadyRows(false, -1000, -20, 14, kFirstRaws);
    FileSpec second = secondSpec();
    second.rows = steadyRows(false, -1200, -20, 14, kSecondRaws);

    Combined c = combine(first, second);
    ASSERT_TRUE(c.read.ok);
    EXPECT_EQ(c.read.preview.startDepth, "-1.2");
    EXPECT_EQ(c.append("-1.1").messages, std::vector<std::string>{"Value must be between -1.20 and -1.46."});
    EXPECT_EQ(c.append("-1.47").messages, std::vector<std::string>{"Value must be between -1.20 and -1.46."});
    EXPECT_EQ(c.append("-1.26", false).messages, std::vector<std::string>{"Value must be below -1.26 m."});
    ASSERT_TRUE(c.append("-1.3").ok);
    EXPECT_EQ(c.first->readingCount, 14 + 9);
    EXPECT_EQ(c.first->depth[15], -1.24f);
    EXPECT_EQ(c.first->depth[23], (-1.46f - -1.3f) + -1.24f);

    Combined kept = combine(first, second);
    ASSERT_TRUE(kept.append("-1.31", false).ok);
    EXPECT_EQ(kept.first->readingCount, 14 + 8);
    EXPECT_EQ(kept.first->depth[15], -1.32f);
}

TEST(CombineAppend, FollowsChangesMadeWhileThePanelIsOpen) {
    Combined c = combine(firstSpec(), secondSpec());
    ASSERT_TRUE(c.read.ok);
    ASSERT_EQ(changeChannelUnit(*c.first, table(), 1, 2), "");  // the tip now in kPa
    c.first->depthFormat = 1;                                    // and the axis switched to elevation
    EXPECT_EQ(c.append("1.2").messages, std::vector<std::string>{kElevationThenDepthMessage});
    c.first->depthFormat = 0;
    ASSERT_TRUE(c.append("1.2").ok);
    EXPECT_FLOAT_EQ(c.first->value(1, 14), 10000.0f);
    EXPECT_FLOAT_EQ(c.first->value(1, 15), 25000.0f);
    EXPECT_FLOAT_EQ(c.first->value(2, 15), 25.0f);
}

TEST(CombineAppend, RefusesWholeAnAppendBeyondTheCapacity) {
    FileSpec first = firstSpec();
    first.rows = steadyRows(false, 1000, 10, kMaxReadings - 10, kFirstRaws);
    Combined c = combine(first, secondSpec());
    ASSERT_TRUE(c.read.ok);
    AppendResult a = c.append(c.read.preview.startDepth);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.messages, std::vector<std::string>{
                              "Cannot combine: the sounding would hold 10004 readings, more than 10000. Only 10 "
                              "readings of the 2nd file fit; start appending further down."});
    EXPECT_EQ(c.first->readingCount, kMaxReadings - 10);
    EXPECT_EQ(c.first->depth[kMaxReadings - 9], 0.0f);

    a = c.append("1.28");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.readingCount, kMaxReadings);
}

}  // namespace
}  // namespace qm
