// Whole analog CPT data files, byte for byte.

#include "ops/AnalogExport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "model/SafeFile.h"
#include "ops/ExportFixtures.h"
#include "ops/UnitSystems.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::exportSounding;
using test::exportTable;

constexpr float kNo = kNoDataValue;
const std::string kCrLf = "\r\n";

std::string blanks(std::size_t n) { return std::string(n, ' '); }

AnalogExportRequest englishRequest() {
    AnalogExportRequest request;
    request.system = UnitSystem::English;
    request.fileTitle = "T1.cpd";
    request.texts.dateAndTime = "03/04/2021 10:15";  // 16 characters, cut to 15
    request.texts.operatorName = "JS";
    request.texts.location = "SITE A";
    request.texts.coneNumber = "C123";
    request.texts.jobNumber = "J-77";
    request.texts.waterTableDepth = "1.5";
    return request;
}

const std::string kEnglishLine1 = "T1.cpd" "03/04/2021 10:1" "JS" + blanks(14) + "English" + kCrLf;
// Location, cone and job number, each in 16 characters.
const std::string kLine2Head = "SITE A" + blanks(10) + "C123" + blanks(12) + "J-77" + blanks(12);

std::string fileText(const Sounding& s, const AnalogExportRequest& request) {
    std::string bytes;
    const OpResult result = analogFileText(s, request, bytes);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    return bytes;
}

TEST(AnalogExportFile, TipSleeveAndPorePressureInEnglish) {
    // The 30-character line of 1.25 m with 45.678, 0.5 and 12.3; a second
    // reading without sleeve data; two leading sleeve readings without data
    // at a 0.05 m step give .05 and .10 in line 2.
    Sounding s = exportSounding({1, 2, 3}, {{1.25f, {45.678f, 0.5f, 12.3f}}, {1.30f, {50.0f, kNo, 13.0f}}});
    s.noDataCount[2] = 2;
    const std::string expected = kEnglishLine1 +                                      //
                                 kLine2Head + " 3  1.50  .05  .10  1  2  3" + kCrLf +  //
                                 "  1.25   45.68   0.500   12.30" + kCrLf +            //
                                 "  1.30   50.00 -32768    13.00" + kCrLf;
    EXPECT_EQ(fileText(s, englishRequest()), expected);
}

TEST(AnalogExportFile, FiveColumnsWithResultantAndFahrenheit) {
    // Types 1, 2, 3, 6, another, 10: column 4 is the resultant of channels 4
    // and 5, column 5 channel 6 in Fahrenheit. 12.0277758 C is 53.6499977 F
    // as a Single, which counts as 53.65 and so is written 53.7.
    Sounding s = exportSounding({1, 2, 3, 6, 7, 10}, {
                                                         {2.0f, {10.0f, 0.25f, 100.0f, 3.0f, 4.0f, 20.0f}},
                                                         {2.05f, {11.0f, 0.3f, 101.0f, 0.0f, 0.0f, 12.0277758f}},
                                                         {2.1f, {12.0f, 0.35f, 102.0f, 3.0f, kNo, kNo}},
                                                     });
    const std::string expected = kEnglishLine1 +                                              //
                                 kLine2Head + " 3  1.50  .05  .00  1  2  3  4  5" + kCrLf +    //
                                 "  2.00   10.00   0.250  100.00    5.00    68.0" + kCrLf +  //
                                 "  2.05   11.00   0.300  101.00    0.00    53.7" + kCrLf +  //
                                 // Channel 5 missing leaves the resultant without data.
                                 "  2.10   12.00   0.350  102.00 -32768  -32768 " + kCrLf;
    EXPECT_EQ(fileText(s, englishRequest()), expected);
}

TEST(AnalogExportFile, ResultantInColumnThreeAndTemperatureInColumnFour) {
    // Types 1, 2, 6, another, another, 10: four codes, the resultant of
    // channels 3 and 4, then channel 6 in Fahrenheit. A resultant with one
    // channel missing has no data; the temperature is tested on its own
    // channel, so it stays when channel 4 has no reading.
    Sounding s = exportSounding({1, 2, 6, 7, 7, 10}, {
                                                         {1.0f, {10.0f, 0.25f, 3.0f, 4.0f, 9.0f, 25.0f}},
                                                         {1.05f, {10.0f, 0.25f, 3.0f, kNo, 9.0f, 25.0f}},
                                                     });
    const std::string expected = kEnglishLine1 +                                      //
                                 kLine2Head + " 3  1.50  .05  .00  1  2  4  5" + kCrLf +  //
                                 "  1.00   10.00   0.250    5.00    77.0" + kCrLf +      //
                                 "  1.05   10.00   0.250 -32768     77.0" + kCrLf;
    EXPECT_EQ(fileText(s, englishRequest()), expected);
}

TEST(AnalogExportFile, TemperatureComesFromTheType10ChannelWhereverItStands) {
    // Channel 6 holds other data (or does not exist); the temperature is
    // the type-10 channel's.
    // With a single reading the sounding's own increment stands in line 2.
    Sounding four = exportSounding({1, 2, 3, 10}, {{1.0f, {10.0f, 0.25f, 100.0f, 20.0f, 0.0f, 99.0f}}});
    four.depthIncrement = 0.025f;
    four.noDataCount[2] = 4;
    EXPECT_EQ(fileText(four, englishRequest()),
              kEnglishLine1 + kLine2Head + " 3  1.50  .03  .10  1  2  3  5" + kCrLf +
                  "  1.00   10.00   0.250  100.00    68.0" + kCrLf);

    Sounding seven =
        exportSounding({1, 2, 3, 6, 7, 8, 10}, {{1.0f, {10.0f, 0.25f, 100.0f, 3.0f, 4.0f, 99.0f, 30.0f}},
                                                {1.1f, {10.0f, 0.25f, 100.0f, 3.0f, 4.0f, 99.0f, kNo}}});
    EXPECT_EQ(fileText(seven, englishRequest()),
              kEnglishLine1 + kLine2Head + " 3  1.50  .10  .00  1  2  3  4  5" + kCrLf +
                  "  1.00   10.00   0.250  100.00    5.00    86.0" + kCrLf +
                  "  1.10   10.00   0.250  100.00    5.00 -32768 " + kCrLf);
}

TEST(AnalogExportFile, ColumnFourOfItsOwnShowsTheChannelOfItsCode) {
    // Types 1, 2, 6, 3: codes 1 2 4 3 with the resultant in column 3, so
    // column 4 is the pore pressure of channel 4, renewed on every line.
    Sounding s = exportSounding({1, 2, 6, 3}, {{1.0f, {10.0f, 0.25f, 3.0f, 12.345f}},
                                               {1.05f, {10.0f, 0.25f, 3.0f, 14.0f}},
                                               {1.1f, {10.0f, 0.25f, 3.0f, kNo}}});
    const std::string expected = kEnglishLine1 +                                      //
                                 kLine2Head + " 3  1.50  .05  .00  1  2  4  3" + kCrLf +  //
                                 "  1.00   10.00   0.250   12.70   12.35" + kCrLf +      //
                                 "  1.05   10.00   0.250   14.32   14.00" + kCrLf +      //
                                 // A resultant with one channel missing has no data.
                                 "  1.10   10.00   0.250 -32768  -32768 " + kCrLf;
    EXPECT_EQ(fileText(s, englishRequest()), expected);

    // Without a type-10 channel column 5 has no temperature to show either.
    Sounding pores = exportSounding({1, 2, 3, 3, 3}, {{1.0f, {10.0f, 0.25f, 1.0f, 2.0f, 3.0f, 99.0f}},
                                                      {1.05f, {10.0f, 0.25f, 1.0f, 2.0f, kNo, 99.0f}}});
    EXPECT_EQ(fileText(pores, englishRequest()),
              kEnglishLine1 + kLine2Head + " 3  1.50  .05  .00  1  2  3  3  3" + kCrLf +
                  "  1.00   10.00   0.250    1.00    2.00    3.00" + kCrLf +
                  "  1.05   10.00   0.250    1.00    2.00 -32768 " + kCrLf);
}

TEST(AnalogExportFile, HeaderFieldsAreCutOrPadded) {
    Sounding s = exportSounding({4}, {});
    AnalogExportRequest request = englishRequest();
    request.fileTitle = "SITE01.cpd";  // ten characters lose their last four
    request.texts.operatorName = "A VERY LONG OPERATOR NAME";
    request.texts.location = "";
    request.texts.coneNumber = "CONE NUMBER 1234567";
    request.texts.jobNumber = "J";
    EXPECT_EQ(fileText(s, request), "SITE01" "03/04/2021 10:1" "A VERY LONG OPER" "English" + kCrLf +
                                        blanks(16) + "CONE NUMBER 1234" "J" + blanks(15) + " 3  1.50  .00  .00" +
                                        kCrLf);

    request.fileTitle = "A.c";
    EXPECT_EQ(fileText(s, request).substr(0, 9), "A.c   03/");
}

TEST(AnalogExportFile, NoCodedColumnsOrMoreThanFiveWriteNoDataLines) {
    const std::string head = kEnglishLine1 + kLine2Head + " 3  1.50  .05  .00";

    Sounding uncoded = exportSounding({4, 7}, {{1.0f, {1.0f, 2.0f}}, {1.05f, {1.0f, 2.0f}}});
    EXPECT_EQ(fileText(uncoded, englishRequest()), head + kCrLf);

    Sounding none = exportSounding({}, {{1.0f, {}}, {1.05f, {}}});
    EXPECT_EQ(fileText(none, englishRequest()), head + kCrLf);

    Sounding six = exportSounding({1, 2, 3, 6, 7, 10, 1}, {{1.0f, {1, 2, 3, 4, 5, 6, 7}}, {1.05f, {1, 2, 3, 4, 5, 6, 7}}});
    EXPECT_EQ(fileText(six, englishRequest()), head + "  1  2  3  4  5  1" + kCrLf);
}

TEST(AnalogExportFile, FeetOnThePageGiveTheIncrementInFeetAndDepthsInMetres) {
    Sounding s = exportSounding({1}, {{1.0f, {5.0f}}, {1.05f, {6.0f}}});
    s.noDataCount[2] = 2;
    AnalogExportRequest request = englishRequest();
    request.depthInFeet = true;
    // 0.05 m is 0.16405 ft; two of them 0.3281 ft.
    EXPECT_EQ(fileText(s, request), kEnglishLine1 + kLine2Head + " 3  1.50  .16  .33  1" + kCrLf +
                                        "  1.00    5.00" + kCrLf + "  1.05    6.00" + kCrLf);
}

TEST(AnalogExportFile, ElevationsAndLeadingReadingsWithoutData) {
    // Elevations fall, so the step between the first two is negative.
    Sounding s = exportSounding({1, 2}, {{-0.5f, {kNo, kNo}}, {-0.55f, {1.5f, 0.125f}}});
    s.depthFormat = s.depthFormatApplied = 1;
    s.noDataCount[1] = s.noDataCount[2] = 1;
    EXPECT_EQ(fileText(s, englishRequest()), kEnglishLine1 + kLine2Head + " 3  1.50  -.05  -.05  1  2" + kCrLf +
                                                 " -0.50 -32768  -32768 " + kCrLf + " -0.55    1.50   0.125" +
                                                 kCrLf);
}

// The sounding of every system: tip 4.5 MPA, sleeve 0.05 MPA, pore pressure
// 250 KPA, inclinations 3 and 4, 20 C; the system's option converts them.
TEST(AnalogExportFile, EachUnitSystemWithItsUnitsAndPatterns) {
    struct Case {
        UnitSystem system;
        std::string line1Tail;
        std::string dataLine;
    };
    const Case cases[] = {
        {UnitSystem::English, "English", "  3.00   45.00   0.500  125.00    5.00    68.0"},
        {UnitSystem::MetricAbsKpa, "Metric Absolute [SI]", "  3.00   4.500   50.00  250.00    5.00    20.0"},
        {UnitSystem::MetricAbsBar, "Metric Absolute (SI)", "  3.00   4.500   50.00   2.500    5.00    20.0"},
        {UnitSystem::MetricWtKsc, "Metric [kgf/cm\xFD]", "  3.00   45.00  0.5000   5.000    5.00    20.0"},
        {UnitSystem::MetricWtBar, "Metric kgf/cm\xFD", "  3.00   45.00  0.5000   2.500    5.00    20.0"},
    };
    const ChannelTypeTable table = exportTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line1Tail);
        Sounding s = exportSounding({1, 2, 3, 6, 7, 10}, {{3.0f, {4.5f, 0.05f, 250.0f, 3.0f, 4.0f, 20.0f}}});
        s.depthIncrement = 0.05f;
        ASSERT_TRUE(selectUnitSystem(s, table, c.system).messages.empty());
        AnalogExportRequest request = englishRequest();
        request.system = c.system;
        EXPECT_EQ(fileText(s, request), "T1.cpd" "03/04/2021 10:1" "JS" + blanks(14) + c.line1Tail + kCrLf +
                                            kLine2Head + " 3  1.50  .05  .00  1  2  3  4  5" + kCrLf + c.dataLine +
                                            kCrLf);
    }
}

TEST(AnalogExportFile, CommaDecimalRun) {
    Sounding s = exportSounding({1, 2, 3}, {{1.25f, {45.678f, 0.5f, 12.3f}}, {1.30f, {50.0f, kNo, 13.0f}}});
    s.noDataCount[2] = 2;
    AnalogExportRequest request = englishRequest();
    request.sep = ',';
    request.texts.waterTableDepth = "1,5";
    EXPECT_EQ(fileText(s, request), kEnglishLine1 + kLine2Head + " 3  1,50  ,05  ,10  1  2  3" + kCrLf +
                                        "  1,25   45,68   0,500   12,30" + kCrLf + "  1,30   50,00 -32768    13,00" +
                                        kCrLf);
}

TEST(AnalogExportWaterTable, EmptyWritesZeroAndANonNumberIsRefused) {
    const Sounding s = exportSounding({1}, {{1.0f, {5.0f}}, {1.1f, {5.0f}}});
    AnalogExportRequest request = englishRequest();
    const auto line2Of = [&](const std::string& text) {
        request.texts.waterTableDepth = text;
        const std::string bytes = fileText(s, request);
        const std::size_t start = bytes.find(kCrLf) + 2;
        return bytes.substr(start + 48, bytes.find(kCrLf, start) - start - 48);
    };
    EXPECT_EQ(line2Of(""), " 3  0.00  .10  .00  1");
    EXPECT_EQ(line2Of("   "), " 3  0.00  .10  .00  1");
    EXPECT_EQ(line2Of(" -2.5 "), " 3  -2.50  .10  .00  1");
    EXPECT_EQ(line2Of("1234.567"), " 3  1234.57  .10  .00  1");

    for (const char* bad : {"abc", "12 m", "1,5"}) {
        SCOPED_TRACE(bad);
        request.texts.waterTableDepth = bad;
        std::string bytes = "untouched";
        const OpResult result = analogFileText(s, request, bytes);
        EXPECT_FALSE(result.ok);
        ASSERT_EQ(result.messages.size(), 1u);
        EXPECT_EQ(result.messages[0], "Please enter a number in the water table depth box.");
        EXPECT_EQ(bytes, "untouched");
    }
}

TEST(AnalogExportWrite, ReplacesTheFileOnlyWhenTheWholeExportSucceeds) {
    test::TempDir dir;
    const std::string path = dir.file("out.cpd");
    test::writeFile(path, "earlier file");
    const Sounding s = exportSounding({1}, {{1.0f, {5.0f}}});
    AnalogExportRequest request = englishRequest();

    request.texts.waterTableDepth = "deep";
    EXPECT_FALSE(exportAnalogFile(s, path, request).ok);
    EXPECT_EQ(test::readFile(path), "earlier file");

    setFileFaultHook([](const char* operation) { return std::strcmp(operation, "write") == 0 ? ENOSPC : 0; });
    request.texts.waterTableDepth = "1.5";
    const OpResult full = exportAnalogFile(s, path, request);
    setFileFaultHook({});
    EXPECT_FALSE(full.ok);
    ASSERT_EQ(full.messages.size(), 1u);
    EXPECT_NE(full.messages[0].find(std::strerror(ENOSPC)), std::string::npos) << full.messages[0];
    EXPECT_EQ(test::readFile(path), "earlier file");

    const OpResult done = exportAnalogFile(s, path, request);
    EXPECT_TRUE(done.ok);
    EXPECT_TRUE(done.messages.empty());
    std::string expected;
    ASSERT_TRUE(analogFileText(s, request, expected).ok);
    EXPECT_EQ(test::readFile(path), expected);
}

}  // namespace
}  // namespace qm
