#include "model/SoundingReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "support/SoundingCompare.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::ChannelSpec;
using test::rightAligned;
using test::SoundingFileBuilder;
using test::testTables;

// Tip (raw 20000 = 100000 KPA above a baseline of 100), sleeve (20000 =
// 1000 KPA above 50) and pore pressure (10000 = 3447.5 KPA above 0).
SoundingFileBuilder standardFile(bool newer = true, char sep = '.') {
    SoundingFileBuilder b(newer, sep);
    b.channel({"1", "TIP", "20000", b.number(100, "####0.00000"), "100000 KPA", "KPA", "1"})
        .channel({"2", "SLEEVE", "20000", b.number(50, "####0.00000"), "1000 KPA", "KPA", "1"})
        .channel({"3", "PRESSURE U2", "10000", b.number(0, "####0.00000"), b.number(3447.5, "###0.0") + " KPA",
                  "KPA", "1"});
    return b;
}

// Readings r = 1..count at first + (r - 1) * step, with raw readings that
// differ per row and channel.
void addRows(SoundingFileBuilder& b, int count, double first, double step, int channels = 3) {
    for (int r = 1; r <= count; ++r) {
        std::vector<double> raws;
        for (int c = 1; c <= channels; ++c) raws.push_back(100.0 * c + 12.5 * r);
        b.row(first + (r - 1) * step, 1.5 + 0.01 * r, raws);
    }
}

struct Loaded {
    LoadResult result;
    std::unique_ptr<Sounding> s = std::make_unique<Sounding>();
};

Loaded load(const std::string& text, int mode = 0, const ChannelTypeTable& table = testTables()) {
    Loaded l;
    l.result = readSoundingText(text, table, mode, *l.s);
    return l;
}

Loaded loadOk(const std::string& text, int mode = 0, const ChannelTypeTable& table = testTables()) {
    Loaded l = load(text, mode, table);
    EXPECT_TRUE(l.result.ok) << l.result.error;
    return l;
}

// Three readings from 1.00 m after the builder's lines, loaded.
Loaded loadWithRows(SoundingFileBuilder b, int channels = 3) {
    addRows(b, 3, 1.0, 0.02, channels);
    return loadOk(b.text());
}

// The conversion as the record defines it: in double, one rounding at the end.
float converted(float raw, float baseline, float span, float fullScale, float factor) {
    return static_cast<float>((static_cast<double>(raw) - baseline) / span * fullScale * factor);
}

// ------------------------------------------------------------ layouts

TEST(SoundingReaderLayout, NewerTakesDepthFromColumnsOneToSevenOlderFromOneToSix) {
    // Column 7 holds a 9: part of the depth in the newer layout, the unread
    // first column of the speed in the older one.
    for (bool newer : {true, false}) {
        SCOPED_TRACE(newer ? "newer" : "older");
        SoundingFileBuilder b = standardFile(newer);
        const std::string fields = rightAligned("200.00000", 20) + rightAligned("300.00000", 20) + rightAligned("400", 20);
        b.line("  1.259  2.50" + fields).line(" 12.345 -3.75" + fields);
        Loaded l = loadOk(b.text());
        ASSERT_EQ(l.s->readingCount, 2);
        EXPECT_EQ(l.s->depthDecimals, newer ? 3 : 2);
        EXPECT_EQ(l.s->depth[1], newer ? 1.259f : 1.25f);
        EXPECT_EQ(l.s->depth[2], newer ? 12.345f : 12.34f);
        // The speed comes from columns 8 to 13 in both layouts.
        EXPECT_EQ(l.s->speed[1], 2.5f);
        EXPECT_EQ(l.s->speed[2], -3.75f);
        EXPECT_EQ(l.s->value(0, 1), l.s->depth[1]);
    }
}

TEST(SoundingReaderLayout, AnyVersionLineWith2015IsTheNewerLayout) {
    for (const auto& [line, decimals] : std::vector<std::pair<std::string, int>>{
             {"BM Sounding File ver. 2015.07.02.1", 3},
             {"rig export 2015", 3},
             {"Brennomarck Sounding File", 2},
             {"BM Sounding File ver. 2016.01.01.1", 2},
             {"", 2}}) {
        SoundingFileBuilder b = standardFile(decimals == 3);
        b.versionLine(line);
        Loaded l = loadWithRows(b);
        EXPECT_EQ(l.s->depthDecimals, decimals) << line;
        EXPECT_EQ(l.s->versionLine, line);
    }
}

TEST(SoundingReaderHeader, LinesTwoToThirteenAreKeptExactlyAsRead) {
    SoundingFileBuilder b = standardFile();
    const std::vector<std::string> texts = {" Company, Inc. ", "Operator", "Cone 42", "Location  ", "Job 7",
                                            "Hole B-3",        "04/05/2021 09:12:33",   "Header",   "Foot 1",
                                            "Foot 2",          "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,0000*00",
                                            "  3.5 "};
    for (int i = 0; i < 12; ++i) b.headerLine(i + 2, texts[static_cast<std::size_t>(i)]);
    b.headerLine(14, "  1.0 ignored").headerLine(15, "ignored too").channelLine(23, "anything at all");
    Loaded l = loadWithRows(b);
    const Sounding& s = *l.s;
    EXPECT_EQ(s.companyName, texts[0]);
    EXPECT_EQ(s.operatorName, texts[1]);
    EXPECT_EQ(s.coneNumber, texts[2]);
    EXPECT_EQ(s.location, texts[3]);
    EXPECT_EQ(s.jobNumber, texts[4]);
    EXPECT_EQ(s.holeNumber, texts[5]);  // line 7
    EXPECT_EQ(s.dateAndTime, texts[6]);  // line 8
    EXPECT_EQ(s.header, texts[7]);
    EXPECT_EQ(s.footnote1, texts[8]);
    EXPECT_EQ(s.footnote2, texts[9]);
    EXPECT_EQ(s.gpsSentence, texts[10]);
    EXPECT_EQ(s.waterTableDepth, texts[11]);
    EXPECT_EQ(s.readingCount, 3);
}

// ------------------------------------------------------------ channel lines

TEST(SoundingReaderChannels, CountIsTheLengthOfLineSixteenOverTwenty) {
    // 13 + 20 + 7 = 40 characters: two channels, the second field only 7 wide.
    SoundingFileBuilder two = standardFile();
    two.channelLine(16, std::string(13, ' ') + rightAligned("1", 20) + "      2");
    Loaded l2 = loadWithRows(two);
    EXPECT_EQ(l2.s->channelCount, 2);
    EXPECT_EQ(l2.s->channelType[2], 2);

    // 13 + 20 + 6 = 39 characters: one channel, although the line holds two numbers.
    SoundingFileBuilder one = standardFile();
    one.channelLine(16, std::string(13, ' ') + rightAligned("1", 20) + "     2");
    Loaded l1 = loadWithRows(one);
    EXPECT_EQ(l1.s->channelCount, 1);
    EXPECT_TRUE(l1.s->porePressureMissing);
}

TEST(SoundingReaderChannels, TypeCodesRoundHalvesToEven) {
    SoundingFileBuilder b;
    b.channel({"1.5", "A", "20000", "0", "1000 KPA", "KPA", "1"})
        .channel({"2.5", "B", "20000", "0", "1000 KPA", "KPA", "1"})
        .channel({"3.5", "C", "20000", "0", "1000 A", "A", "1"})
        .channel({"6.5", "D", "20000", "0", "90 DEG", "DEG", "1"})
        .channel({"1.4999", "E", "20000", "0", "1000 KPA", "KPA", "1"});
    Loaded l = loadWithRows(b, 5);
    EXPECT_EQ(l.s->channelType[1], 2);
    EXPECT_EQ(l.s->channelType[2], 2);
    EXPECT_EQ(l.s->channelType[3], 4);
    EXPECT_EQ(l.s->channelType[4], 6);
    EXPECT_EQ(l.s->channelType[5], 1);
    EXPECT_TRUE(l.s->porePressureMissing);

    SoundingFileBuilder p;
    p.channel({"2.6", "U", "10000", "0", "3447.5 KPA", "KPA", "1"});
    EXPECT_FALSE(loadWithRows(p, 1).s->porePressureMissing);
}

TEST(SoundingReaderChannels, NamesLoseTheirLeadingSpacesOnly) {
    SoundingFileBuilder b = standardFile();
    b.channelLine(17, std::string(13, ' ') + rightAligned("CONE TIP ", 20) + "ABCDEFGHIJKLMNOPQRST" +
                          rightAligned("U 2", 20));
    Loaded l = loadWithRows(b);
    EXPECT_EQ(l.s->channelName[1], "CONE TIP ");
    EXPECT_EQ(l.s->channelName[2], "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(l.s->channelName[3], "U 2");
}

TEST(SoundingReaderChannels, FullScaleIsTheNumberBeforeTheLastSpace) {
    SoundingFileBuilder b;
    b.channel({"1", "A", "20000", "0", "100000 KPA", "KPA", "1"})
        .channel({"2", "B", "20000", "0", "1.45 MPA", "KPA", "1"})
        .channel({"3", "C", "20000", "0", "12.5  XYZ", "KPA", "1"})  // the unit name in line 20 is not looked up
        .channel({"3", "D", "20000", "0", "123456789012345 K", "KPA", "1"});
    Loaded l = loadWithRows(b, 4);
    EXPECT_EQ(l.s->channelFullScale[1], 100000.0f);
    EXPECT_EQ(l.s->channelFullScale[2], 1.45f);
    EXPECT_EQ(l.s->channelFullScale[3], 12.5f);
    EXPECT_EQ(l.s->channelFullScale[4], 123456789012345.0f);
}

TEST(SoundingReaderChannels, UnitNameMatchesExactlyAndTheLastMatchWins) {
    SoundingFileBuilder b;
    b.channel({"1", "MPA", "20000", "0", "100000 KPA", "MPA", "0.001"})
        .channel({"2", "lower case", "20000", "0", "1000 KPA", "kpa", "1"})
        .channel({"4", "twice", "20000", "0", "1000 A", "A", "4"})
        .channel({"4", "once", "20000", "0", "1000 A", "B", "2"})
        .channel({"2", "unknown", "20000", "0", "1000 KPA", "MPA ", "1"});  // a trailing space is no match
    Loaded l = loadWithRows(b, 5);
    EXPECT_EQ(l.s->channelUnitIndex[1], 2);
    EXPECT_EQ(l.s->channelUnitIndex[2], 1);
    EXPECT_EQ(l.s->channelUnitIndex[3], 3);
    EXPECT_EQ(l.s->channelUnitIndex[4], 2);
    EXPECT_EQ(l.s->channelUnitIndex[5], 1);
    EXPECT_EQ(l.s->channelUnitFactor[1], 0.001f);
    EXPECT_EQ(l.s->channelUnitFactor[3], 4.0f);
    EXPECT_EQ(l.s->channelUnitFactor[4], 2.0f);
}

TEST(SoundingReaderChannels, LineTwentyTwoMayHoldMoreFactorsThanChannels) {
    SoundingFileBuilder b = standardFile();
    b.channelLine(22, std::string(13, ' ') + rightAligned("1", 20) + rightAligned("1", 20) + rightAligned("1", 20) +
                          rightAligned("7", 20) + rightAligned("9", 20));
    Loaded l = loadWithRows(b);
    EXPECT_EQ(l.s->channelCount, 3);
    EXPECT_EQ(l.s->channelUnitFactor[3], 1.0f);
}

// ------------------------------------------------------------ conversion

TEST(SoundingReaderValues, RawReadingsAreConvertedInDoubleWithOneRounding) {
    SoundingFileBuilder b;
    b.channel({"1", "TIP", "16384", "101.30000", "3447.5 KPA", "KPA", "1"})
        .channel({"2", "SLEEVE", "7777.7", "-12.34567", "1.45 KPA", "KPA", "1"});
    const std::vector<std::vector<double>> raws = {
        {12345.67891, 0.00001}, {-5.5, 99999.99999}, {101.3, -12.34567}, {0.1, 3.3}, {16485.3, 7765.35433}};
    for (std::size_t r = 0; r < raws.size(); ++r) b.row(0.02 * static_cast<double>(r + 1), 2.0, raws[r]);
    Loaded l = loadOk(b.text());
    ASSERT_EQ(l.s->readingCount, 5);
    for (int r = 1; r <= 5; ++r) {
        for (int c = 1; c <= 2; ++c) {
            std::string text = b.number(raws[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)], "####0.00000");
            const float raw = static_cast<float>(*textToNumber(text, 0));
            EXPECT_EQ(l.s->raw(c, r), raw);
            const float expected = c == 1 ? converted(raw, 101.3f, 16384.0f, 3447.5f, 1.0f)
                                          : converted(raw, -12.34567f, 7777.7f, 1.45f, 1.0f);
            EXPECT_EQ(l.s->value(c, r), expected) << "channel " << c << " reading " << r;
            EXPECT_EQ(rawToValue(*l.s, c, raw), expected);
        }
    }
}

TEST(SoundingReaderValues, NoDataValueStaysWhateverTheCalibration) {
    SoundingFileBuilder b = standardFile();
    b.row(1.0, 2.0, {-32768, 500, -32768}).rowTexts("1.020", "2.00", {"-32768.00000", "-32768", "100"});
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->value(1, 1), kNoDataValue);
    EXPECT_EQ(l.s->raw(1, 1), kNoDataValue);
    EXPECT_EQ(l.s->value(3, 1), kNoDataValue);
    EXPECT_EQ(l.s->value(1, 2), kNoDataValue);
    EXPECT_EQ(l.s->value(2, 2), kNoDataValue);
    EXPECT_EQ(l.s->value(2, 1), converted(500, 50, 20000, 1000, 1));
    EXPECT_EQ(l.s->noDataCount[1], 2);
    EXPECT_EQ(l.s->noDataCount[2], 1);
    EXPECT_EQ(l.s->noDataCount[3], 1);
}

// ------------------------------------------------------------ leading readings and cursor

TEST(SoundingReaderLead, LargestNoDataCountGivesTheLeadAndTheCursor) {
    SoundingFileBuilder b = standardFile();
    for (int r = 1; r <= 30; ++r) {
        const double sleeve = r <= 7 ? -32768 : 60 + r;
        // The pore pressure lacks 4 readings, not at the start: they count too.
        const double pore = (r % 7 == 0) ? -32768 : 10 * r;
        b.row(0.02 * r, 2.0, {200.0 + r, sleeve, pore});
    }
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->noDataCount[1], 0);
    EXPECT_EQ(l.s->noDataCount[2], 7);
    EXPECT_EQ(l.s->noDataCount[3], 4);
    EXPECT_EQ(l.s->noDataLeadCount, 7);
    EXPECT_EQ(l.s->dataIndex, 8);
    EXPECT_EQ(l.s->pageRow, 8);
}

TEST(SoundingReaderLead, ManyLeadingReadingsPutTheCursorOnThePage) {
    SoundingFileBuilder b = standardFile();
    for (int r = 1; r <= 40; ++r) b.row(0.02 * r, 2.0, {200.0 + r, r <= 30 ? -32768 : 60.0 + r, 10.0 * r});
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->dataIndex, 31);
    EXPECT_GE(l.s->pageRow, 1);
    EXPECT_LE(l.s->pageRow, 24);
}

TEST(SoundingReaderLead, WithoutNoDataTheTipFullScaleAndIncrementGiveTheLead) {
    struct Case {
        const char* fullScale;
        double step;
        int lead;
    };
    for (const Case& c : {Case{"100000 KPA", 0.02, 5}, Case{"150000 KPA", 0.01, 15}, Case{"100000 KPA", 0.01, 10},
                          Case{"150000 KPA", 0.05, 3}, Case{"50000 KPA", 0.02, 0}, Case{"100001 KPA", 0.02, 0}}) {
        SCOPED_TRACE(std::string(c.fullScale) + " every " + std::to_string(c.step));
        SoundingFileBuilder b;
        b.channel({"1", "TIP", "20000", "100.00000", c.fullScale, "KPA", "1"})
            .channel({"2", "SLEEVE", "20000", "50.00000", "1000 KPA", "KPA", "1"});
        addRows(b, 30, c.step, c.step, 2);
        Loaded l = loadOk(b.text());
        EXPECT_EQ(l.s->noDataLeadCount, c.lead);
        EXPECT_EQ(l.s->dataIndex, c.lead + 1);
        EXPECT_EQ(l.s->pageRow, c.lead + 1);
        if (c.lead > 0) {
            EXPECT_EQ(l.s->noDataCount[2], c.lead);
        }
    }
    EXPECT_EQ(leadCountFromFullScale(100000.0f, 0.02f), 5);
    EXPECT_EQ(leadCountFromFullScale(150000.0f, 0.01f), 15);
    EXPECT_EQ(leadCountFromFullScale(100000.0f, 0.0f), 0);
    EXPECT_EQ(leadCountFromFullScale(99999.0f, 0.02f), 0);
}

TEST(SoundingReaderLead, NoDataAnywhereOverridesTheFullScaleRule) {
    SoundingFileBuilder b = standardFile();  // tip full scale 100000
    for (int r = 1; r <= 20; ++r) b.row(0.02 * r, 2.0, {200.0 + r, 60.0 + r, r == 15 ? -32768 : 10.0 * r});
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->noDataLeadCount, 1);
    EXPECT_EQ(l.s->dataIndex, 2);
    EXPECT_EQ(l.s->noDataCount[2], 0);
}

TEST(SoundingReaderLead, ZeroIncrementLoadsWithoutTheLeadRule) {
    SoundingFileBuilder b = standardFile();  // tip full scale 100000
    addRows(b, 20, 1.5, 0.0);
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->depthIncrement, 0.0f);
    EXPECT_EQ(l.s->depthFormat, 0);
    EXPECT_EQ(l.s->noDataLeadCount, 0);
    EXPECT_EQ(l.s->dataIndex, 1);
}

// ------------------------------------------------------------ drill-out markers

TEST(SoundingReaderDrillout, MarkerAfterTwoHundredReadingsReportsTheLastDepth) {
    SoundingFileBuilder b = standardFile();
    addRows(b, 200, 0.52, 0.02);  // reading 200 at 4.50 m
    b.line("DRILLOUT");
    b.row(4.52, 2.0, {1, 2, 3});
    Loaded l = loadOk(b.text());
    ASSERT_EQ(l.result.messages, std::vector<std::string>{"Drillout detected at 4.5 m"});
    EXPECT_EQ(l.s->readingCount, 201);
    EXPECT_EQ(l.s->depth[200], 4.5f);
    EXPECT_EQ(l.s->depth[201], 4.52f);
    EXPECT_EQ(l.s->raw(3, 201), 3.0f);
}

TEST(SoundingReaderDrillout, EveryKindOfMarkerIsReportedInOrderAndDropped) {
    for (bool newer : {true, false}) {
        SCOPED_TRACE(newer ? "newer" : "older");
        SoundingFileBuilder b = standardFile(newer);
        b.line("********");  // before the first reading: depth of reading 0
        b.row(1.25, 2.0, {1, 2, 3});
        b.line("  -- Drillout at this depth --");
        b.row(1.5, 2.0, {4, 5, 6});
        b.row(1.75, 2.0, {7, 8, 9});
        // Six leading spaces after two readings: still a marker, not a final baseline.
        b.line("      drillOUT");
        b.line("****************** rods added");
        b.row(2.0, 2.0, {10, 11, 12});
        Loaded l = loadOk(b.text());
        EXPECT_EQ(l.result.messages,
                  (std::vector<std::string>{"Drillout detected at 0 m", "Drillout detected at 1.25 m",
                                            "Drillout detected at 1.75 m", "Drillout detected at 1.75 m"}));
        EXPECT_EQ(l.s->readingCount, 4);
        EXPECT_FALSE(l.s->hasFinalBaseline);
        EXPECT_EQ(l.s->depth[3], 1.75f);
        EXPECT_EQ(l.s->depth[4], 2.0f);
        EXPECT_EQ(l.s->raw(1, 4), 10.0f);
    }
}

TEST(SoundingReaderDrillout, DepthInTheMessageCarriesTheSystemSeparator) {
    SoundingFileBuilder b = standardFile();
    b.row(4.5, 2.0, {1, 2, 3}).line("DRILLOUT");
    Loaded l = loadOk(b.text(), 1);
    EXPECT_EQ(l.result.messages, std::vector<std::string>{"Drillout detected at 4,5 m"});
}

TEST(SoundingReaderDrillout, SevenStarsAreNoMarker) {
    SoundingFileBuilder b = standardFile();
    b.row(1.0, 2.0, {1, 2, 3}).line("*******");
    Loaded l = load(b.text());
    EXPECT_FALSE(l.result.ok);  // a stray text line, refused
    EXPECT_TRUE(l.result.messages.empty());
}

// ------------------------------------------------------------ final baseline

TEST(SoundingReaderFinalBaseline, LineAfterTheReadingsGivesBaselinesAndDrifts) {
    SoundingFileBuilder b = standardFile();
    addRows(b, 5, 1.0, 0.02);
    b.finalBaseline({150, 60, 10});
    b.line("");  // a trailing blank line is common
    Loaded l = loadOk(b.text());
    const Sounding& s = *l.s;
    EXPECT_TRUE(s.hasFinalBaseline);
    EXPECT_EQ(s.finalBaselineLine, b.finalBaselineText());
    EXPECT_EQ(s.readingCount, 5);
    EXPECT_EQ(s.channelBaseline[1][2], 150.0f);
    EXPECT_EQ(s.channelBaseline[2][2], 60.0f);
    EXPECT_EQ(s.channelBaseline[3][2], 10.0f);
    EXPECT_EQ(s.baselineDrift[1], 250.0f);
    EXPECT_EQ(s.baselineDrift[2], 0.5f);
    EXPECT_EQ(s.baselineDrift[3], converted(10, 0, 10000, 3447.5f, 1));
    // The initial baselines stay.
    EXPECT_EQ(s.channelBaseline[1][1], 100.0f);
}

TEST(SoundingReaderFinalBaseline, NegativeFirstValueShiftsTheGridByOneColumn) {
    SoundingFileBuilder b = standardFile();
    addRows(b, 3, 1.0, 0.02);
    // Columns 15 on: "-12.5" and then fields on the grid shifted one column right.
    const std::string line = std::string(14, ' ') + "-12.5" + std::string(15, ' ') + rightAligned("12345", 20) +
                             rightAligned("7", 20);
    b.line(line);
    Loaded l = loadOk(b.text());
    EXPECT_TRUE(l.s->hasFinalBaseline);
    EXPECT_EQ(l.s->finalBaselineLine, line);
    EXPECT_EQ(l.s->channelBaseline[1][2], -12.5f);
    EXPECT_EQ(l.s->channelBaseline[2][2], 12345.0f);
    EXPECT_EQ(l.s->channelBaseline[3][2], 7.0f);
}

TEST(SoundingReaderFinalBaseline, NotTakenAmongTheFirstTwoReadings) {
    // In the newer layout "      5" is a depth of 5: as the second data line
    // it is a reading, as the third the final baseline.
    const std::string fields = rightAligned("150.00000", 20) + rightAligned("60.00000", 20) + rightAligned("10", 20);
    const std::string sixSpaces = "      5  1.00" + fields;

    SoundingFileBuilder second = standardFile();
    second.row(1.0, 2.0, {1, 2, 3}).line(sixSpaces);
    Loaded l2 = loadOk(second.text());
    EXPECT_FALSE(l2.s->hasFinalBaseline);
    EXPECT_EQ(l2.s->readingCount, 2);
    EXPECT_EQ(l2.s->depth[2], 5.0f);
    EXPECT_EQ(l2.s->raw(1, 2), 150.0f);

    SoundingFileBuilder third = standardFile();
    third.row(1.0, 2.0, {1, 2, 3}).row(1.02, 2.0, {1, 2, 3}).line(sixSpaces);
    Loaded l3 = loadOk(third.text());
    EXPECT_TRUE(l3.s->hasFinalBaseline);
    EXPECT_EQ(l3.s->readingCount, 2);
    EXPECT_EQ(l3.s->channelBaseline[1][2], 150.0f);

    // As the very first data line it is not a baseline either.
    SoundingFileBuilder first = standardFile();
    first.line(sixSpaces).row(1.0, 2.0, {1, 2, 3}).row(1.02, 2.0, {1, 2, 3});
    Loaded l1 = loadOk(first.text());
    EXPECT_FALSE(l1.s->hasFinalBaseline);
    EXPECT_EQ(l1.s->readingCount, 3);
}

// ------------------------------------------------------------ depth format

TEST(SoundingReaderDepthFormat, ReadingsTwoAndTwelveDecideFormatAndIncrement) {
    struct Case {
        int count;
        double first, step;
        int format;
    };
    for (const Case& c : {Case{15, 1.0, 0.05, 0}, Case{15, 10.0, -0.05, 1}, Case{15, 2.0, 0.0, 0},
                          Case{5, 1.0, 0.05, 1},   // reading 12 counts as 0
                          Case{5, -3.0, 0.05, 0},  // negative depths below 12 readings
                          Case{12, 0.5, 0.025, 0}}) {
        SCOPED_TRACE("first " + std::to_string(c.first) + " step " + std::to_string(c.step));
        SoundingFileBuilder b = standardFile();
        addRows(b, c.count, c.first, c.step);
        Loaded l = loadOk(b.text());
        const float d2 = l.s->depth[2];
        const float d12 = c.count >= 12 ? l.s->depth[12] : 0.0f;
        EXPECT_EQ(l.s->depthFormat, c.format);
        EXPECT_EQ(l.s->depthFormatApplied, c.format);
        EXPECT_GE(l.s->depthIncrement, 0.0f);
        EXPECT_FLOAT_EQ(l.s->depthIncrement, std::fabs((d12 - d2) / 10.0f));
        EXPECT_EQ(l.s->depth[12], d12);
    }
}

// ------------------------------------------------------------ separators and line ends

SoundingFileBuilder mixedNumbers(char sep) {
    SoundingFileBuilder b = standardFile(true, sep);
    b.channel({"1", "TIP MPA", "16384", b.number(-12.34567, "####0.00000"), b.number(1.45, "0.00") + " KPA", "MPA",
               b.number(0.001, "0.000")});
    for (int r = 1; r <= 14; ++r)
        b.row(0.125 + 0.025 * r, 1.95 + 0.01 * r, {100.5 + r * 13.375, r == 3 ? -32768 : 50.25 + r, 3.125 * r, 0.5 * r});
    b.line("DRILLOUT");
    b.row(0.6, -2.25, {1.5, 2.5, 3.5, 4.5});
    b.finalBaseline({101.25, 49.5, 0.75, -11.5});
    return b;
}

TEST(SoundingReaderSeparators, CommaAndPointFilesLoadTheSameNumbersInBothModes) {
    Loaded reference = loadOk(mixedNumbers('.').text(), 0);
    reference.s->finalBaselineLine.clear();
    for (char sep : {'.', ','}) {
        for (int mode : {0, 1}) {
            SCOPED_TRACE(std::string("file separator ") + sep + ", mode " + std::to_string(mode));
            Loaded l = loadOk(mixedNumbers(sep).text(), mode);
            EXPECT_EQ(l.s->finalBaselineLine, mixedNumbers(sep).finalBaselineText());
            l.s->finalBaselineLine.clear();
            EXPECT_EQ(test::soundingDifference(*reference.s, *l.s), "");
        }
    }
    EXPECT_EQ(reference.s->readingCount, 15);
    EXPECT_EQ(reference.s->channelCount, 4);
    EXPECT_EQ(reference.s->depth[1], 0.15f);
    EXPECT_EQ(reference.s->speed[15], -2.25f);
    EXPECT_EQ(reference.s->channelFullScale[3], 3447.5f);
    EXPECT_EQ(reference.s->channelBaseline[4][2], -11.5f);
}

TEST(SoundingReaderLineEnds, CarriageReturnAloneEndsALineToo) {
    SoundingFileBuilder b = mixedNumbers('.');
    Loaded crlf = loadOk(b.text());
    b.lineEnd("\r");
    Loaded cr = loadOk(b.text());
    EXPECT_EQ(test::soundingDifference(*crlf.s, *cr.s), "");
    EXPECT_EQ(cr.result.messages, crlf.result.messages);

    // The last line needs no line end.
    SoundingFileBuilder last = standardFile();
    addRows(last, 3, 1.0, 0.02);
    std::string text = last.text();
    text.resize(text.size() - 2);
    EXPECT_EQ(loadOk(text).s->readingCount, 3);
}

// ------------------------------------------------------------ unit factors

TEST(SoundingReaderUnits, FactorsComeFromTheTableAndValuesAreRescaled) {
    SoundingFileBuilder b;
    // Line 22 says 1 for a channel in MPA (table: 0.001) and 2 for one in KPA (table: 1).
    b.channel({"1", "TIP", "20000", "100.00000", "100000 KPA", "MPA", "1"})
        .channel({"2", "SLEEVE", "20000", "50.00000", "1000 KPA", "KPA", "2"})
        .channel({"3", "U2", "10000", "0.00000", "3447.5 KPA", "BAR", "0.01"});
    b.row(1.0, 2.0, {2100.5, 70.25, -32768}).row(1.02, 2.0, {-32768, 80, 1234.5}).row(1.04, 2.0, {300, 90, 20});
    b.finalBaseline({150, 60, 10});
    Loaded l = loadOk(b.text());
    const Sounding& s = *l.s;
    EXPECT_EQ(s.channelUnitFactor[1], 0.001f);
    EXPECT_EQ(s.channelUnitFactor[2], 1.0f);
    EXPECT_EQ(s.channelUnitFactor[3], 0.01f);

    auto rescaled = [](float v, float oldFactor, float newFactor) {
        return static_cast<float>(static_cast<double>(v) / oldFactor * newFactor);
    };
    EXPECT_EQ(s.value(1, 1), rescaled(converted(2100.5f, 100, 20000, 100000, 1), 1, 0.001f));
    EXPECT_EQ(s.value(1, 2), kNoDataValue);
    EXPECT_EQ(s.value(2, 1), rescaled(converted(70.25f, 50, 20000, 1000, 2), 2, 1));
    EXPECT_EQ(s.value(3, 1), kNoDataValue);
    EXPECT_EQ(s.value(3, 2), converted(1234.5f, 0, 10000, 3447.5f, 0.01f));  // line 22 agrees: unchanged
    EXPECT_EQ(s.baselineDrift[1], rescaled(converted(150, 100, 20000, 100000, 1), 1, 0.001f));
    EXPECT_EQ(s.baselineDrift[2], rescaled(converted(60, 50, 20000, 1000, 2), 2, 1));
    EXPECT_NEAR(s.value(1, 1), 10.0025f, 1e-6);
}

// ------------------------------------------------------------ refusals

// A Sounding with recognisable content, which a refused load must leave alone.
std::unique_ptr<Sounding> filledSounding() {
    SoundingFileBuilder b = standardFile();
    b.headerLine(2, "THE EARLIER SOUNDING");
    addRows(b, 12, 3.0, 0.05);
    auto s = std::make_unique<Sounding>();
    EXPECT_TRUE(readSoundingText(b.text(), testTables(), 0, *s).ok);
    s->filePath = "/earlier/file.cpt";
    s->openedFileTitle = "file.cpt";
    return s;
}

void expectRefused(const std::string& text, const std::string& lineMention, const ChannelTypeTable& table = testTables()) {
    auto s = filledSounding();
    auto before = std::make_unique<Sounding>(*s);
    const LoadResult r = readSoundingText(text, table, 0, *s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(lineMention), std::string::npos) << "message: " << r.error;
    EXPECT_EQ(test::soundingDifference(*before, *s), "");
    EXPECT_EQ(s->filePath, before->filePath);
    EXPECT_EQ(s->companyName, "THE EARLIER SOUNDING");
}

std::string withRows(SoundingFileBuilder b, int channels = 3) {
    addRows(b, 5, 1.0, 0.02, channels);
    return b.text();
}

TEST(SoundingReaderRefusal, FileTooShort) {
    const std::string full = withRows(standardFile());
    std::size_t at = 0;
    for (int i = 0; i < 20; ++i) at = full.find("\r\n", at) + 2;
    expectRefused(full.substr(0, at), "line 20");
    expectRefused("", "line");
    expectRefused("BM Sounding File ver. 2015.07.02.1\r\n", "line 1");
}

TEST(SoundingReaderRefusal, NonNumberInAChannelLine) {
    struct Case {
        ChannelSpec description;
        const char* line;
    };
    for (const Case& c : {Case{{"X", "A", "20000", "0", "1000 KPA", "KPA", "1"}, "line 16"},
                          Case{{"2", "A", "20 000", "0", "1000 KPA", "KPA", "1"}, "line 18"},
                          Case{{"2", "A", "20000", "1.2.3", "1000 KPA", "KPA", "1"}, "line 19"},
                          Case{{"2", "A", "20000", "0", "FULL KPA", "KPA", "1"}, "line 20"},
                          Case{{"2", "A", "20000", "0", "1000KPA", "KPA", "1"}, "line 20"},
                          Case{{"2", "A", "20000", "0", "1000 KPA", "KPA", "one"}, "line 22"}}) {
        SCOPED_TRACE(c.line);
        expectRefused(withRows(standardFile().channel(c.description), 4), c.line);
    }
}

TEST(SoundingReaderRefusal, NonNumberInADataRow) {
    SoundingFileBuilder field = standardFile();
    field.row(1.0, 2.0, {1, 2, 3}).rowTexts("1.020", "2.00", {"1", "12x4", "3"}).row(1.04, 2.0, {1, 2, 3});
    expectRefused(field.text(), "line 25");

    SoundingFileBuilder shortRow = standardFile();
    shortRow.row(1.0, 2.0, {1, 2, 3}).row(1.02, 2.0, {1, 2});  // the third field is missing
    expectRefused(shortRow.text(), "line 25");

    SoundingFileBuilder depth = standardFile();
    depth.row(1.0, 2.0, {1, 2, 3}).rowTexts("1.0x0", "2.00", {"1", "2", "3"});
    expectRefused(depth.text(), "line 25");

    SoundingFileBuilder speed = standardFile();
    speed.rowTexts("1.000", "2..0", {"1", "2", "3"});
    expectRefused(speed.text(), "line 24");

    SoundingFileBuilder stray = standardFile();
    stray.row(1.0, 2.0, {1, 2, 3}).row(1.02, 2.0, {1, 2, 3}).row(1.04, 2.0, {1, 2, 3}).line("END OF TEST");
    expectRefused(stray.text(), "line 27");

    // A number no Single can hold is no reading either.
    SoundingFileBuilder huge = standardFile();
    huge.row(1.0, 2.0, {1, 2, 3}).rowTexts("1.020", "2.00", {"1", "1E+39", "3"});
    expectRefused(huge.text(), "line 25");
}

TEST(SoundingReaderRefusal, MoreThanTenChannels) {
    SoundingFileBuilder eleven;
    for (int c = 1; c <= 11; ++c) eleven.channel({"2", "S" + std::to_string(c), "20000", "0", "1000 KPA", "KPA", "1"});
    expectRefused(withRows(eleven), "line 16");

    SoundingFileBuilder factors = standardFile();
    std::string line22(13, ' ');
    for (int i = 0; i < 11; ++i) line22 += rightAligned("1", 20);
    factors.channelLine(22, line22);
    expectRefused(withRows(factors), "line 22");

    SoundingFileBuilder fewFactors = standardFile();
    fewFactors.channelLine(22, std::string(13, ' ') + rightAligned("1", 20) + rightAligned("1", 20));
    expectRefused(withRows(fewFactors), "line 22");
}

TEST(SoundingReaderRefusal, NoChannelAtAll) {
    // Two header lines lost: the channel lines stand two lines higher, and
    // line 16 holds only the column titles.
    std::vector<std::string> lines = splitLines(withRows(standardFile()));
    lines.erase(lines.begin() + 13, lines.begin() + 15);
    std::string shifted;
    for (const std::string& l : lines) shifted += l + "\r\n";
    expectRefused(shifted, "line 16");
}

TEST(SoundingReaderCapacity, TenChannelsAndTenThousandReadingsFitOneMoreReadingDoesNot) {
    SoundingFileBuilder b;
    std::vector<std::string> fields;
    for (int c = 1; c <= 10; ++c) {
        b.channel({"2", "S" + std::to_string(c), "20000", "0", "1000 KPA", "KPA", "1"});
        fields.push_back(std::to_string(1000 + c) + ".50000");
    }
    for (int r = 1; r <= kMaxReadings; ++r) b.rowTexts(r % 2 ? "1.000" : "1.020", "2.00", fields);
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->channelCount, 10);
    EXPECT_EQ(l.s->readingCount, kMaxReadings);
    EXPECT_EQ(l.s->raw(10, kMaxReadings), 1010.5f);

    // Markers and blank lines after the last reading do not count.
    SoundingFileBuilder full = b;
    full.line("DRILLOUT").line("");
    EXPECT_TRUE(load(full.text()).result.ok);

    b.rowTexts("1.040", "2.00", fields);
    expectRefused(b.text(), "line 10024");
}

TEST(SoundingReaderRefusal, ChannelTypeOutsideOneToTwentyOrWithoutATable) {
    for (const char* type : {"0", "21", "20.6", "-1", "0.5"}) {
        SCOPED_TRACE(type);
        expectRefused(withRows(standardFile().channel({type, "ODD", "20000", "0", "1000 KPA", "KPA", "1"}), 4),
                      "line 16");
    }
    const std::string noTable =
        withRows(standardFile().channel({"5", "NO TABLE", "20000", "0", "1000 X", "X", "1"}), 4);
    expectRefused(noTable, "Channel5.txt");
    expectRefused(noTable, "line 16");

    // No tables loaded at all.
    expectRefused(withRows(standardFile()), "line 16", ChannelTypeTable{});

    // A table that defines the type with no units.
    SoundingFileBuilder noUnits;
    noUnits.channel({"7", "EMPTY", "20000", "0", "1000 X", "X", "1"});
    expectRefused(withRows(noUnits), "line 16");
}

TEST(SoundingReaderRefusal, ZeroRawSpanFullScaleOrUnitFactor) {
    struct Case {
        ChannelSpec description;
        const char* line;
    };
    for (const Case& c : {Case{{"2", "A", "0", "0", "1000 KPA", "KPA", "1"}, "line 18"},
                          Case{{"2", "A", "0.00000", "0", "1000 KPA", "KPA", "1"}, "line 18"},
                          Case{{"2", "A", "20000", "0", "0 KPA", "KPA", "1"}, "line 20"},
                          Case{{"2", "A", "20000", "0", "1000 KPA", "KPA", "0"}, "line 22"},
                          Case{{"2", "A", "20000", "0", "1000 KPA", "KPA", "-0.0"}, "line 22"}}) {
        SCOPED_TRACE(c.line);
        expectRefused(withRows(standardFile().channel(c.description), 4), c.line);
    }

    // The file's unit names a unit whose factor in the table is 0.
    ChannelTypeTable zero;
    ASSERT_EQ(parseChannelTypeTable(test::channelTypeTableText({{"KPA", "##0.00", "1"}, {"NIL", "##0.00", "0"}}), 2, zero), "");
    expectRefused(withRows(SoundingFileBuilder().channel({"2", "A", "20000", "0", "1000 KPA", "NIL", "1"}), 1),
                  "line 21", zero);
}

TEST(SoundingReaderBlankLines, BlankDataLinesAreSkipped) {
    SoundingFileBuilder b = standardFile();
    b.line("").row(1.0, 2.0, {1, 2, 3}).line("   ").row(1.02, 2.0, {4, 5, 6}).line("\t").line("DRILLOUT");
    b.row(1.04, 2.0, {7, 8, 9}).line("").line("");
    Loaded l = loadOk(b.text());
    EXPECT_EQ(l.s->readingCount, 3);
    EXPECT_EQ(l.s->raw(1, 3), 7.0f);
    EXPECT_EQ(l.result.messages, std::vector<std::string>{"Drillout detected at 1.02 m"});
    EXPECT_FALSE(l.s->hasFinalBaseline);

    // No data rows at all: an empty sounding loads.
    Loaded empty = loadOk(standardFile().text());
    EXPECT_EQ(empty.s->readingCount, 0);
    EXPECT_EQ(empty.s->dataIndex, 1);
}

// ------------------------------------------------------------ from a file

TEST(SoundingReaderFile, SetsPathAndTitleOrNamesTheMissingFile) {
    test::TempDir dir;
    const std::string path = dir.file("CPT-03.cpt");
    test::writeFile(path, withRows(standardFile()));
    Sounding s;
    LoadResult ok = readSoundingFile(path, testTables(), 0, s);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(s.filePath, path);
    EXPECT_EQ(s.openedFileTitle, "CPT-03.cpt");
    EXPECT_EQ(s.readingCount, 5);

    Sounding untouched;
    untouched.companyName = "KEEP";
    LoadResult missing = readSoundingFile(dir.file("absent.cpt"), testTables(), 0, untouched);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("absent.cpt"), std::string::npos) << missing.error;
    EXPECT_EQ(untouched.companyName, "KEEP");
    EXPECT_EQ(untouched.filePath, "");
}

}  // namespace
}  // namespace qm
