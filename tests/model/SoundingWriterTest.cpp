#include "model/SoundingWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "model/Units.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::rightAligned;
using test::SoundingFileBuilder;
using test::testTables;

std::string field(const std::string& text) { return rightAligned(text, 20); }
const std::string kLead(13, ' ');

// Two channels built in code: the tip in KPA and the sleeve shown in MPA.
std::unique_ptr<Sounding> smallSounding(int16_t depthDecimals) {
    auto s = std::make_unique<Sounding>();
    s->versionLine = "not written back";
    s->depthDecimals = depthDecimals;
    s->companyName = "COMPANY";
    s->operatorName = "OPERATOR";
    s->coneNumber = "CONE";
    s->location = "LOCATION";
    s->jobNumber = "JOB";
    s->holeNumber = "HOLE";
    s->dateAndTime = "DATE AND TIME";
    s->header = "HEADER";
    s->footnote1 = "FOOTNOTE 1";
    s->footnote2 = "FOOTNOTE 2";
    s->gpsSentence = "GPS";
    s->waterTableDepth = " 2.5 ";
    s->channelCount = 2;
    s->channelType[1] = 1;
    s->channelName[1] = "TIP";
    s->channelRawSpan[1] = 20000;
    s->channelBaseline[1][1] = 100;
    s->channelFullScale[1] = 100000;
    s->channelUnitIndex[1] = 1;
    s->channelUnitFactor[1] = 1;
    s->channelType[2] = 2;
    s->channelName[2] = "SLEEVE";
    s->channelRawSpan[2] = 20000;
    s->channelBaseline[2][1] = 50;
    s->channelFullScale[2] = 1000;
    s->channelUnitIndex[2] = 2;
    s->channelUnitFactor[2] = 0.001f;
    s->readingCount = 3;
    s->depth[1] = 0.02f;
    s->speed[1] = 1.5f;
    s->value(1, 1) = 500;
    s->value(2, 1) = kNoDataValue;
    s->depth[2] = 1.25f;
    s->speed[2] = 12.34f;
    s->value(1, 2) = 1000;
    s->value(2, 2) = 0.001f;
    s->depth[3] = -12.5f;
    s->speed[3] = -0.5f;
    s->value(1, 3) = kNoDataValue;
    s->value(2, 3) = kNoDataValue;
    s->hasFinalBaseline = true;
    // Not on the writer's grid: it must come back as it was, not rebuilt.
    s->finalBaselineLine = "       150.5   61.25   ";
    return s;
}

// The expected file; numbers are written with '.' and turned into `sep`.
std::string expectedFile(bool newer, char sep) {
    auto n = [sep](std::string text) {
        for (char& ch : text)
            if (ch == '.') ch = sep;
        return text;
    };
    std::vector<std::string> lines = {newer ? "BM Sounding File ver. 2015.07.02.1" : "Brennomarck Sounding File",
                                      "COMPANY", "OPERATOR", "CONE", "LOCATION", "JOB", "HOLE", "DATE AND TIME",
                                      "HEADER", "FOOTNOTE 1", "FOOTNOTE 2", "GPS", " 2.5 ", "", "",
                                      kLead + field("1") + field("2"),
                                      kLead + field("TIP") + field("SLEEVE"),
                                      kLead + field("20000") + field("20000"),
                                      kLead + field(n("100.00000")) + field(n("50.00000")),
                                      kLead + field("100000 KPA") + field("1000 KPA"),
                                      kLead + field("KPA") + field("MPA"),
                                      kLead + field("1") + field(n("0.001")),
                                      newer ? "    (m)(cm/s)" : "   (m) (cm/s)"};
    if (newer) {
        lines.push_back(n("  0.020  1.50") + field(n("200.00000")) + field("-32768"));
        lines.push_back(n("  1.250 12.34") + field(n("300.00000")) + field(n("70.00000")));
        lines.push_back(n("-12.500 -0.50") + field("-32768") + field("-32768"));
    } else {
        lines.push_back(n("  0.02   1.50") + field(n("200.00000")) + field("-32768"));
        lines.push_back(n("  1.25  12.34") + field(n("300.00000")) + field(n("70.00000")));
        lines.push_back(n("-12.50  -0.50") + field("-32768") + field("-32768"));
    }
    lines.push_back("       150.5   61.25   ");
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

TEST(SoundingWriterBytes, NewerLayoutFileIsExact) {
    auto s = smallSounding(3);
    EXPECT_EQ(soundingFileText(*s, testTables(), '.'), expectedFile(true, '.'));
}

TEST(SoundingWriterBytes, OlderLayoutFileIsExact) {
    auto s = smallSounding(2);
    EXPECT_EQ(soundingFileText(*s, testTables(), '.'), expectedFile(false, '.'));
}

TEST(SoundingWriterBytes, CommaSystemWritesCommasButTheHeaderAsItIs) {
    for (int16_t decimals : {2, 3}) {
        auto s = smallSounding(decimals);
        EXPECT_EQ(soundingFileText(*s, testTables(), ','), expectedFile(decimals == 3, ','));
    }
}

TEST(SoundingWriterBytes, WithoutFinalBaselineTheFileEndsWithTheLastRow) {
    auto s = smallSounding(3);
    s->hasFinalBaseline = false;
    std::string expected = expectedFile(true, '.');
    expected.resize(expected.size() - std::string("       150.5   61.25   \r\n").size());
    EXPECT_EQ(soundingFileText(*s, testTables(), '.'), expected);
}

// ------------------------------------------------------------ through the reader

SoundingFileBuilder sampleFile(bool newer) {
    SoundingFileBuilder b(newer);
    b.channel({"1", "TIP", "20000", "100.00000", "100000 KPA", "KPA", "1"})
        .channel({"2", "SLEEVE", "20000", "50.00000", "1000 KPA", "KPA", "1"});
    for (int r = 1; r <= 14; ++r) {
        b.row(0.5 + 0.02 * r, 2.0, {100.0 + 37.5 * r, r <= 3 ? -32768 : 50.0 + 2.25 * r});
        if (r == 7) b.line("DRILLOUT");
        if (r == 9) b.line("********");
    }
    b.finalBaseline({104.5, 52.25});
    return b;
}

std::unique_ptr<Sounding> loaded(const std::string& text) {
    auto s = std::make_unique<Sounding>();
    const LoadResult r = readSoundingText(text, testTables(), 0, *s);
    EXPECT_TRUE(r.ok) << r.error;
    return s;
}

std::vector<std::string> linesOf(const std::string& text) { return splitLines(text); }

TEST(SoundingWriterLayout, DepthDecimalsChooseTheLayoutOfTheWholeFile) {
    auto s = loaded(sampleFile(true).text());
    ASSERT_EQ(s->depthDecimals, 3);
    const auto newer = linesOf(soundingFileText(*s, testTables(), '.'));
    EXPECT_EQ(newer[0], "BM Sounding File ver. 2015.07.02.1");
    EXPECT_EQ(newer[22], "    (m)(cm/s)");
    EXPECT_EQ(newer[23].substr(0, 13), "  0.520  2.00");

    s->depthDecimals = 2;
    const std::string olderText = soundingFileText(*s, testTables(), '.');
    const auto older = linesOf(olderText);
    EXPECT_EQ(older[0], "Brennomarck Sounding File");
    EXPECT_EQ(older[22], "   (m) (cm/s)");
    EXPECT_EQ(older[23].substr(0, 13), "  0.52   2.00");

    // The older file reads back with the same depths, speeds and channels.
    auto back = loaded(olderText);
    EXPECT_EQ(back->depthDecimals, 2);
    ASSERT_EQ(back->readingCount, s->readingCount);
    for (int r = 1; r <= s->readingCount; ++r) {
        EXPECT_EQ(back->depth[r], s->depth[r]);
        EXPECT_EQ(back->speed[r], s->speed[r]);
        EXPECT_EQ(back->raw(2, r), s->raw(2, r));
    }
}

TEST(SoundingWriterContent, HeaderTextsComeFromTheSoundingMarkersAreDroppedBaselineKept) {
    SoundingFileBuilder b = sampleFile(true);
    auto s = loaded(b.text());
    s->holeNumber = "EDITED HOLE";
    s->gpsSentence = "";
    const std::string text = soundingFileText(*s, testTables(), '.');
    const auto lines = linesOf(text);
    EXPECT_EQ(lines[6], "EDITED HOLE");
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[7], "2021-05-04 09:12");
    EXPECT_EQ(text.find("DRILLOUT"), std::string::npos);
    EXPECT_EQ(text.find("*"), std::string::npos);
    // 23 lines of header and channels, 14 rows, the final baseline.
    ASSERT_EQ(lines.size(), 23u + 14u + 1u);
    EXPECT_EQ(lines.back(), b.finalBaselineText());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // Every line ends in CR LF: no lone CR or LF anywhere.
    std::size_t crlf = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n') ++crlf;
    EXPECT_EQ(crlf, lines.size());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(lines.size()));
}

TEST(SoundingWriterContent, RawReadingsDoNotDependOnTheDisplayUnit) {
    auto s = loaded(sampleFile(true).text());
    const auto inKpa = linesOf(soundingFileText(*s, testTables(), '.'));
    ASSERT_EQ(changeChannelUnit(*s, testTables(), 1, 3), "");  // TSF
    ASSERT_EQ(changeChannelUnit(*s, testTables(), 2, 2), "");  // MPA
    const auto inOther = linesOf(soundingFileText(*s, testTables(), '.'));
    ASSERT_EQ(inKpa.size(), inOther.size());
    EXPECT_EQ(inOther[20], kLead + field("TSF") + field("MPA"));
    EXPECT_EQ(inOther[21], kLead + field("0.01044272") + field("0.001"));
    // Line 20 keeps the base unit.
    EXPECT_EQ(inOther[19], kLead + field("100000 KPA") + field("1000 KPA"));
    for (std::size_t i = 23; i + 1 < inKpa.size(); ++i) {
        EXPECT_EQ(inOther[i].substr(0, 13), inKpa[i].substr(0, 13));
        for (int c = 1; c <= 2; ++c) {
            std::string a = channelField(inKpa[i], c), b = channelField(inOther[i], c);
            const double x = *textToNumber(a, 0), y = *textToNumber(b, 0);
            EXPECT_NEAR(x, y, 1e-6 * std::fabs(x) + 1e-5) << "line " << i + 1 << " channel " << c;
            EXPECT_EQ(x == -32768, y == -32768);
        }
    }
}

// ------------------------------------------------------------ rows that do not fit

struct FitCase {
    int16_t decimals;
    float depth;
    float speed;
    bool fits;
    bool suggestsOther;
};

TEST(SoundingWriterRefusal, RowsWhoseDepthOrSpeedWouldShiftAreRefused) {
    const std::vector<FitCase> cases = {
        {2, 999.99f, 2.0f, true, false},    {2, -99.99f, 2.0f, true, false},
        {2, 1000.0f, 2.0f, false, false},   {2, -100.0f, 2.0f, false, false},
        {2, 999.997f, 2.0f, false, true},   {2, -99.996f, 2.0f, false, true},
        {3, 999.999f, 2.0f, true, false},   {3, -99.999f, 2.0f, true, false},
        {3, 1000.0f, 2.0f, false, false},   {3, -100.0f, 2.0f, false, false},
        {2, 5.0f, 999.99f, true, false},    {3, 5.0f, -99.99f, true, false},
        {2, 5.0f, 1000.0f, false, false},   {3, 5.0f, 1000.0f, false, false},
        {2, 5.0f, -100.0f, false, false},   {3, 5.0f, -100.0f, false, false},
        {3, 5.0f, 999.996f, false, false},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE("digits " + std::to_string(c.decimals) + " depth " + numberText(c.depth, '.') + " speed " +
                     numberText(c.speed, '.'));
        auto s = smallSounding(c.decimals);
        s->readingCount = 5;
        for (int r = 4; r <= 5; ++r) {
            s->depth[r] = 1.0f;
            s->speed[r] = 2.0f;
            s->value(1, r) = 1;
            s->value(2, r) = 1;
        }
        s->depth[4] = c.depth;
        s->speed[4] = c.speed;
        // A later row that does not fit either: the message names the first.
        if (!c.fits) {
            s->depth[5] = c.depth;
            s->speed[5] = c.speed;
        }
        const auto problem = layoutProblem(*s, testTables(), '.');
        EXPECT_EQ(problem.has_value(), !c.fits) << problem.value_or("");
        if (!problem) continue;
        EXPECT_NE(problem->find("reading 4"), std::string::npos) << *problem;
        const std::string other = c.decimals == 2 ? "3 digits" : "2 digits";
        EXPECT_EQ(problem->find(other) != std::string::npos, c.suggestsOther) << *problem;

        test::TempDir dir;
        const std::string path = dir.file("out.cpt");
        const SaveResult saved = saveSoundingFile(path, *s, testTables(), '.');
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.error, *problem);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(SoundingWriterRefusal, RefusedSaveLeavesTheExistingFileAlone) {
    auto s = smallSounding(2);
    s->depth[2] = 1000.0f;
    test::TempDir dir;
    const std::string path = dir.file("keep.cpt");
    test::writeFile(path, "earlier bytes\r\n");
    EXPECT_FALSE(saveSoundingFile(path, *s, testTables(), '.').ok);
    EXPECT_EQ(test::readFile(path), "earlier bytes\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(SoundingWriterRefusal, ValueTooLargeForARawFieldIsRefused) {
    auto s = smallSounding(3);
    s->value(1, 2) = 1e20f;
    const auto problem = layoutProblem(*s, testTables(), '.');
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("reading 2"), std::string::npos) << *problem;
}

TEST(SoundingWriterSave, WritesTheFileTextAndReportsAFailureNamingTheFile) {
    auto s = smallSounding(3);
    test::TempDir dir;
    const std::string path = dir.file("new.cpt");
    const SaveResult saved = saveSoundingFile(path, *s, testTables(), '.');
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(test::readFile(path), expectedFile(true, '.'));

    const std::string nowhere = dir.file("missing/folder/new.cpt");
    const SaveResult failed = saveSoundingFile(nowhere, *s, testTables(), '.');
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find(nowhere), std::string::npos) << failed.error;
    EXPECT_NE(failed.error.find("No such file or directory"), std::string::npos) << failed.error;
}

}  // namespace
}  // namespace qm
