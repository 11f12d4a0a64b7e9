#include "model/ChannelTypeTable.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <iostream>
#include <string>

#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::channelTypeTableText;

// Thirteen fields of any kind before the count: quoted texts with commas,
// numbers, fields on one line or spread over several.
const char* const kThirteenFields =
    "\"HEAD, WITH COMMA\",1,2\r\n"
    "\"A\",\"B\",\"C\"\r\n"
    "   4.5,  \"six, seven\",8\r\n"
    "9,10,11,12\r\n";

TEST(ChannelTypeTableParse, FieldsOneToThirteenAreSkippedThenCountAndUnits) {
    ChannelTypeTable t;
    const std::string text = std::string(kThirteenFields) + "3\r\n\"KPA\",\"#####0\",1\r\n\"MPA\",\"##0.000\",0.001\r\n" +
                             "\"TSF\",\"###0.00\",0.01044272\r\n";
    EXPECT_EQ(parseChannelTypeTable(text, 1, t), "");
    EXPECT_TRUE(t.defined[1]);
    EXPECT_TRUE(t.hasType(1));
    ASSERT_EQ(t.unitCount[1], 3);
    EXPECT_EQ(t.unitName[1][1], "KPA");
    EXPECT_EQ(t.unitFormat[1][1], "#####0");
    EXPECT_EQ(t.unitFactor[1][1], 1.0f);
    EXPECT_EQ(t.unitName[1][2], "MPA");
    EXPECT_EQ(t.unitFormat[1][2], "##0.000");
    EXPECT_EQ(t.unitFactor[1][2], 0.001f);
    EXPECT_EQ(t.unitFactor[1][3], 0.01044272f);
    EXPECT_EQ(t.factor(1, 3), 0.01044272f);
    EXPECT_EQ(t.name(1, 2), "MPA");
    EXPECT_EQ(t.format(1, 3), "###0.00");
    // Out of range asks give nothing rather than another type's entries.
    EXPECT_EQ(t.factor(0, 1), 0.0f);
    EXPECT_EQ(t.factor(21, 1), 0.0f);
    EXPECT_EQ(t.factor(1, 11), 0.0f);
    EXPECT_EQ(t.name(1, 11), "");
    EXPECT_FALSE(t.hasType(2));
    EXPECT_FALSE(t.hasType(0));
    EXPECT_FALSE(t.hasType(21));
}

TEST(ChannelTypeTableParse, QuotedNamesKeepCommasUnquotedCommasEndTheField) {
    ChannelTypeTable t;
    EXPECT_EQ(parseChannelTypeTable(std::string(kThirteenFields) + "2\r\n\"KG, F\",\"##0.00\",1\r\nLB,\"##0.0\",2.2\r\n", 4, t),
              "");
    EXPECT_EQ(t.unitName[4][1], "KG, F");
    EXPECT_EQ(t.unitName[4][2], "LB");
    EXPECT_EQ(t.unitFormat[4][2], "##0.0");
    EXPECT_EQ(t.unitFactor[4][2], 2.2f);

    // Without quotes the comma splits the name, so the factor is read from a pattern.
    ChannelTypeTable broken;
    const std::string problem =
        parseChannelTypeTable(std::string(kThirteenFields) + "1\r\nKG, F,\"##0.00\",1\r\n", 4, broken);
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(broken.unitCount[4], 0);
}

TEST(ChannelTypeTableParse, LineEndsSeparateFieldsLikeCommas) {
    for (const char* end : {"\r\n", "\r", "\n"}) {
        std::string text;
        for (int i = 1; i <= 13; ++i) text += "\"F" + std::to_string(i) + "\"" + end;
        text += std::string("1") + end + "\"DEG\"" + end + "\"##0.00\"" + end + "1" + end;
        ChannelTypeTable t;
        EXPECT_EQ(parseChannelTypeTable(text, 6, t), "");
        ASSERT_EQ(t.unitCount[6], 1);
        EXPECT_EQ(t.unitName[6][1], "DEG");
        EXPECT_EQ(t.unitFormat[6][1], "##0.00");
    }
}

TEST(ChannelTypeTableParse, CountZeroDefinesTheTypeWithNoUnits) {
    ChannelTypeTable t;
    EXPECT_EQ(parseChannelTypeTable(channelTypeTableText({}), 9, t), "");
    EXPECT_TRUE(t.hasType(9));
    EXPECT_EQ(t.unitCount[9], 0);
}

TEST(ChannelTypeTableParse, AnythingAfterTheLastUnitIsNotRead) {
    ChannelTypeTable t;
    EXPECT_EQ(parseChannelTypeTable(channelTypeTableText({{"DEGC", "##0.0", "1"}}) + "\"extra\",x,y,\"z\"\r\n", 10, t), "");
    EXPECT_EQ(t.unitCount[10], 1);
}

TEST(ChannelTypeTableParse, FactorsReadWithAPointWhateverTheLocale) {
    // Under a comma locale the C library would read "0.001" as 0 or fail;
    // the table reader must not care.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const bool haveComma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    ChannelTypeTable t;
    const std::string problem = parseChannelTypeTable(channelTypeTableText({{"KPA", "##0.00", "1"}, {"MPA", "##0.000", "0.001"}, {"PA", "#####0", "1000.5"}}), 2, t);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(problem, "");
    EXPECT_EQ(t.unitFactor[2][2], 0.001f);
    EXPECT_EQ(t.unitFactor[2][3], 1000.5f);
    if (!haveComma) std::cout << "de_DE.UTF-8 is not installed: read under the C locale only\n";
}

TEST(ChannelTypeTableParse, DamagedFilesKeepTheUnitsReadInFull) {
    struct Case {
        std::string tail;  // after the thirteen fields
        int kept;
    };
    const std::vector<Case> cases = {
        {"3\r\n\"A\",\"#0\",1\r\n\"B\",\"#0\",2\r\n\"C\",\"#0\"\r\n", 2},  // cut short in the third unit
        {"2\r\n\"A\",\"#0\",1\r\n", 1},                                  // cut short after the first unit
        {"", 0},                                                         // no count at all
        {"many\r\n\"A\",\"#0\",1\r\n", 0},                               // non-numeric count
        {"-1\r\n", 0},                                                   // negative count
        {"2\r\n\"A\",\"#0\",1\r\n\"B\",\"#0\",two\r\n", 1},              // non-numeric factor
        {"2\r\n\"A\",\"#0\",1\r\n\"B\",\"#0\",1E+39\r\n", 1},            // factor beyond a Single
        {"2.5\r\n\"A\",\"#0\",1\r\n", 0},                                 // fractional count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail);
        ChannelTypeTable t;
        EXPECT_NE(parseChannelTypeTable(std::string(kThirteenFields) + c.tail, 5, t), "");
        EXPECT_EQ(t.unitCount[5], c.kept);
        if (c.kept >= 1) {
            EXPECT_EQ(t.unitName[5][1], "A");
            EXPECT_EQ(t.unitFactor[5][1], 1.0f);
        }
    }
    // A file cut short before its 13 fields are complete.
    ChannelTypeTable t;
    EXPECT_NE(parseChannelTypeTable("\"ONLY\",\"A FEW\",\"FIELDS\"\r\n", 5, t), "");
    EXPECT_EQ(t.unitCount[5], 0);
}

TEST(ChannelTypeTableParse, MoreThanTenUnitsKeepsTheFirstTen) {
    std::vector<test::UnitSpec> twelve;
    for (int u = 1; u <= 12; ++u) twelve.push_back({"U" + std::to_string(u), "##0.00", std::to_string(u)});
    ChannelTypeTable t;
    EXPECT_NE(parseChannelTypeTable(channelTypeTableText(twelve), 8, t), "");
    ASSERT_EQ(t.unitCount[8], 10);
    EXPECT_EQ(t.unitName[8][10], "U10");
    EXPECT_EQ(t.unitFactor[8][10], 10.0f);

    // Declaring 12 but holding only 10 is one problem, and 10 units stay.
    std::string declared = channelTypeTableText(std::vector<test::UnitSpec>(twelve.begin(), twelve.begin() + 10));
    declared.replace(declared.find("\r\n10\r\n"), 6, "\r\n12\r\n");
    ChannelTypeTable d;
    EXPECT_NE(parseChannelTypeTable(declared, 8, d), "");
    EXPECT_EQ(d.unitCount[8], 10);

    // A count beyond any integer is still just too many.
    declared.replace(declared.find("\r\n12\r\n"), 6, "\r\n99999999999999999999\r\n");
    ChannelTypeTable h;
    EXPECT_NE(parseChannelTypeTable(declared, 8, h).find("99999999999999999999"), std::string::npos);
    EXPECT_EQ(h.unitCount[8], 10);
}

// ------------------------------------------------------------ files

TEST(ChannelTypeTableLoad, MissingFilesAreNoProblemDamagedOnesAreReportedOnceByName) {
    test::TempDir dir;
    test::writeFile(dir.file("Channel3.txt"), channelTypeTableText({{"KPA", "###0.0", "1"}, {"BAR", "##0.000", "0.01"}}));
    test::writeFile(dir.file("Channel12.txt"), std::string(kThirteenFields) + "3\r\n\"A\",\"#0\",1\r\n");
    test::writeFile(dir.file("Channel20.txt"), channelTypeTableText({{"X", "#0", "1"}}));
    const TableLoadReport report = loadChannelTypeTables(dir.path().string());
    for (int t = 1; t <= 20; ++t) {
        const bool present = t == 3 || t == 12 || t == 20;
        EXPECT_EQ(report.table.defined[t], present) << "type " << t;
        if (!present) {
            EXPECT_EQ(report.table.unitCount[t], 0);
        }
    }
    EXPECT_EQ(report.table.unitCount[3], 2);
    EXPECT_EQ(report.table.unitFactor[3][2], 0.01f);
    EXPECT_EQ(report.table.unitCount[12], 1);
    EXPECT_EQ(report.table.unitCount[20], 1);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find("Channel12.txt"), std::string::npos) << report.problems[0];
}

TEST(ChannelTypeTableLoad, OnlyChannelOneToTwentyRegularFilesAreRead) {
    test::TempDir dir;
    const std::string table = channelTypeTableText({{"KPA", "#0", "1"}});
    test::writeFile(dir.file("Channel01.txt"), table);
    test::writeFile(dir.file("Channel21.txt"), table);
    test::writeFile(dir.file("Channel0.txt"), table);
    std::filesystem::create_directory(dir.path() / "Channel3.txt");
    const TableLoadReport report = loadChannelTypeTables(dir.path().string());
    for (int t = 0; t <= 20; ++t) EXPECT_FALSE(report.table.defined[t]) << "type " << t;
    EXPECT_TRUE(report.problems.empty());
}

TEST(ChannelTypeTableLoad, MissingFolderMeansNoTables) {
    const TableLoadReport report = loadChannelTypeTables("/nonexistent/quillmere/tables");
    for (int t = 1; t <= 20; ++t) EXPECT_FALSE(report.table.defined[t]);
    EXPECT_TRUE(report.problems.empty());
}

}  // namespace
}  // namespace qm
