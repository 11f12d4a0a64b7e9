// The data shipped with the program: the channel type tables Channel1.txt to
// Channel20.txt and the sample soundings of data/samples. The tables must
// load whole, carry the units the analog export selects by name with correct
// factors, and every sample must load with them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "ops/GpsSentence.h"
#include "ops/UnitSystems.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::dataDir;
using test::readFile;
using test::samplesDir;
using test::shippedTables;

int unitIndex(const ChannelTypeTable& t, int type, const std::string& name) {
    int found = 0;
    for (int u = 1; u <= t.unitCount[type]; ++u)
        if (t.name(type, u) == name) found = u;
    return found;
}

// ---------------------------------------------------------------------------
// Channel type tables

TEST(ShippedTables, EveryTableLoadsWholeWithUsableUnits) {
    const TableLoadReport report = loadChannelTypeTables(dataDir());
    EXPECT_TRUE(report.problems.empty()) << report.problems.front();
    const ChannelTypeTable& t = report.table;
    for (int type = 1; type <= kMaxChannelTypes; ++type) {
        SCOPED_TRACE("Channel" + std::to_string(type) + ".txt");
        ASSERT_TRUE(t.hasType(type));
        ASSERT_GE(t.unitCount[type], 1);
        ASSERT_LE(t.unitCount[type], kMaxUnits);
        EXPECT_EQ(t.factor(type, 1), 1.0f) << "unit 1 is the base unit";
        std::set<std::string> names;
        for (int u = 1; u <= t.unitCount[type]; ++u) {
            const std::string& name = t.name(type, u);
            SCOPED_TRACE(name);
            EXPECT_FALSE(name.empty());
            // Line 20 of a sounding file splits full scale and unit at its last space.
            EXPECT_EQ(name.find(' '), std::string::npos);
            EXPECT_LE(name.size(), static_cast<std::size_t>(kFieldWidth - 8));
            EXPECT_TRUE(names.insert(name).second) << "duplicate unit name";
            EXPECT_GT(t.factor(type, u), 0.0f);
            // A saved file carries the factor as NumberText (line 22); it must
            // read back as the same Single, or a reload would rescale values.
            auto factorBack = localeTextToNumber(numberText(t.factor(type, u), '.'), '.');
            ASSERT_TRUE(factorBack.has_value());
            EXPECT_EQ(static_cast<float>(*factorBack), t.factor(type, u));

            // The display pattern is a numeric pattern whose text reads back
            // as the value to within its last decimal.
            const std::string& pattern = t.format(type, u);
            ASSERT_FALSE(pattern.empty());
            EXPECT_EQ(pattern.find_first_not_of("#0."), std::string::npos) << pattern;
            const std::size_t point = pattern.find('.');
            const int decimals = point == std::string::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
            for (double v : {-12.3456, 0.0, 0.5, 987.654321}) {
                const std::string text = formatPattern(v, pattern, '.');
                auto back = localeTextToNumber(text, '.');
                ASSERT_TRUE(back.has_value()) << pattern << " gave " << text;
                EXPECT_NEAR(*back, v, 0.5 * std::pow(10.0, -decimals) + 1e-9) << pattern << " gave " << text;
            }
        }
    }
}

TEST(ShippedTables, PressureTypesCarryTheExportUnitsWithTrueFactors) {
    const ChannelTypeTable& t = shippedTables();
    // Value of one kPa in each unit, from the unit definitions.
    const double lbf = 4.4482216152605;  // N
    const double ft2 = 0.09290304;       // m2
    const double in2 = 0.00064516;       // m2
    const struct {
        const char* name;
        double perKpa;
    } expected[] = {
        {"KPA", 1.0},
        {"MPA", 0.001},
        {"BAR", 0.01},
        {"TSF", 1000.0 / (2000.0 * lbf / ft2)},  // US short tons per square foot
        {"PSI", 1000.0 / (lbf / in2)},
        {"KSC", 1.0 / 98.0665},  // kgf/cm2
    };
    for (int type : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE("type " + std::to_string(type));
        EXPECT_EQ(t.name(type, 1), "KPA");
        for (const auto& e : expected) {
            int count = 0;
            for (int u = 1; u <= t.unitCount[type]; ++u) count += t.name(type, u) == e.name;
            EXPECT_EQ(count, 1) << e.name;
            const int u = unitIndex(t, type, e.name);
            ASSERT_GT(u, 0) << e.name;
            // Seven significant digits, so that the factor a sounding file
            // carries (written with seven digits) reads back as the same Single.
            EXPECT_NEAR(t.factor(type, u) / e.perKpa, 1.0, 6e-7) << e.name;
        }
    }
}

TEST(ShippedTables, EveryUnitSystemFindsItsUnitsOnTipSleeveAndPorePressure) {
    const ChannelTypeTable& t = shippedTables();
    for (const UnitSystemRow& row : unitSystemRows()) {
        SCOPED_TRACE(std::string(row.cliName));
        EXPECT_GT(unitIndex(t, 1, std::string(row.tipUnit)), 0);
        EXPECT_GT(unitIndex(t, 2, std::string(row.sleeveUnit)), 0);
        EXPECT_GT(unitIndex(t, 3, std::string(row.poreUnit)), 0);
    }
}

TEST(ShippedTables, InclinationAndTemperatureBaseUnits) {
    const ChannelTypeTable& t = shippedTables();
    EXPECT_EQ(t.name(6, 1), "DEG");
    EXPECT_EQ(t.name(7, 1), "DEG");
    EXPECT_EQ(t.name(9, 1), "DEG");
    const int rad = unitIndex(t, 6, "RAD");
    ASSERT_GT(rad, 0);
    EXPECT_NEAR(t.factor(6, rad), 3.14159265358979 / 180.0, 1e-8);
    // Fahrenheit is no factor of Celsius: the analog export converts it itself.
    EXPECT_EQ(t.name(10, 1), "DEGC");
    EXPECT_EQ(t.unitCount[10], 1);
}

// ---------------------------------------------------------------------------
// Sample soundings

struct SampleFacts {
    const char* file;
    std::vector<int> types;
    int readings;
    int leadCount;
    float increment;
    std::vector<std::string> messages;
    bool finalBaseline;
};

const std::vector<SampleFacts>& samples() {
    static const std::vector<SampleFacts> all = {
        {"sample-older.cpt", {1, 2, 3}, 600, 5, 0.02f, {"Drillout detected at 7.24 m"}, true},
        {"sample-older-push2.cpt", {1, 2, 3}, 260, 5, 0.02f, {}, true},
        {"sample-newer.cpt", {1, 2, 3, 6, 7, 10}, 1100, 10, 0.01f, {}, true},
        {"sample-comma.cpt", {1, 2, 3, 6, 7, 10}, 420, 5, 0.02f, {}, true},
        {"sample-10ch.cpt", {1, 2, 3, 6, 7, 10, 4, 11, 9, 13}, 400, 5, 0.02f, {}, true},
        // No -32768 anywhere: the lead comes from the 100000 kPa full scale.
        {"sample-nopore.cpt", {1, 2}, 450, 5, 0.02f, {"Drillout detected at 5.1 m"}, false},
    };
    return all;
}

Sounding load(const std::string& file, int mode = 0) {
    Sounding s;
    LoadResult r = readSoundingFile(samplesDir() + "/" + file, shippedTables(), mode, s);
    EXPECT_TRUE(r.ok) << file << ": " << r.error;
    return s;
}

TEST(ShippedSamples, EachLoadsAsDescribed) {
    for (const SampleFacts& f : samples()) {
        SCOPED_TRACE(f.file);
        Sounding s;
        LoadResult r = readSoundingFile(samplesDir() + "/" + f.file, shippedTables(), 0, s);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.messages, f.messages);
        ASSERT_EQ(s.channelCount, static_cast<int>(f.types.size()));
        for (int c = 1; c <= s.channelCount; ++c) EXPECT_EQ(s.channelType[c], f.types[c - 1]) << "channel " << c;
        EXPECT_EQ(s.readingCount, f.readings);
        EXPECT_EQ(s.noDataLeadCount, f.leadCount);
        EXPECT_EQ(s.dataIndex, f.leadCount + 1);
        EXPECT_NEAR(s.depthIncrement, f.increment, 1e-6);
        EXPECT_EQ(s.depthFormat, 0);
        EXPECT_EQ(s.hasFinalBaseline, f.finalBaseline);
        EXPECT_EQ(s.porePressureMissing, std::find(f.types.begin(), f.types.end(), 3) == f.types.end());
        EXPECT_EQ(s.coneNumber.rfind("CN-", 0), 0u);
        EXPECT_EQ(s.waterTableDepth.substr(0, 1), "1");
    }
}

TEST(ShippedSamples, UnitLinesNameTableUnitsWithTheTableFactors) {
    for (const SampleFacts& f : samples()) {
        SCOPED_TRACE(f.file);
        const std::vector<std::string> lines = splitLines(readFile(samplesDir() + "/" + f.file));
        ASSERT_GT(lines.size(), 22u);
        Sounding s = load(f.file);
        for (int c = 1; c <= s.channelCount; ++c) {
            const int type = s.channelType[c];
            const std::string unit = withoutLeadingSpaces(channelField(lines[20], c));
            EXPECT_EQ(shippedTables().name(type, s.channelUnitIndex[c]), unit) << "channel " << c;
            // Line 20 names the type's base unit after the full scale.
            const std::string fullScale = channelField(lines[19], c);
            EXPECT_EQ(fullScale.substr(fullScale.rfind(' ') + 1), shippedTables().name(type, 1));
            // Line 22 holds the factor the table gives that unit.
            std::string factorText = channelField(lines[21], c);
            auto factor = textToNumber(factorText, 0);
            ASSERT_TRUE(factor.has_value());
            EXPECT_EQ(static_cast<float>(*factor), shippedTables().factor(type, s.channelUnitIndex[c]));
        }
    }
}

// Tip, sleeve and pore pressure in kPa lie where a 10 cm2 cone puts them.
TEST(ShippedSamples, ValuesArePlausibleCptReadings) {
    for (const SampleFacts& f : samples()) {
        SCOPED_TRACE(f.file);
        Sounding s = load(f.file);
        for (int r = s.noDataLeadCount + 1; r <= s.readingCount; ++r) {
            const float qc = s.value(1, r) / s.channelUnitFactor[1];
            const float fs = s.value(2, r) / s.channelUnitFactor[2];
            ASSERT_GT(qc, 50.0f) << "reading " << r;
            ASSERT_LT(qc, 80000.0f) << "reading " << r;
            ASSERT_GT(fs, -5.0f) << "reading " << r;
            ASSERT_LT(fs, 0.12f * qc + 5.0f) << "reading " << r;
            ASSERT_GT(s.speed[r], 0.3f);
            ASSERT_LT(s.speed[r], 2.5f);
            if (r > 1) {
                ASSERT_GT(s.depth[r], s.depth[r - 1]) << "reading " << r;
            }
            if (s.channelCount >= 3 && s.channelType[3] == 3) {
                const float u2 = s.value(3, r) / s.channelUnitFactor[3];
                ASSERT_GT(u2, -60.0f);
                ASSERT_LT(u2, 1500.0f);
            }
        }
    }
}

TEST(ShippedSamples, CommaSampleReadsTheSameInBothDecimalModes) {
    Sounding point = load("sample-comma.cpt", 0);
    Sounding comma = load("sample-comma.cpt", 1);
    ASSERT_EQ(point.readingCount, comma.readingCount);
    for (int c = 1; c <= point.channelCount; ++c)
        EXPECT_EQ(point.channelFullScale[c], comma.channelFullScale[c]);
    for (int r = 1; r <= point.readingCount; r += 37) {
        EXPECT_EQ(point.depth[r], comma.depth[r]);
        for (int c = 1; c <= point.channelCount; ++c) EXPECT_EQ(point.value(c, r), comma.value(c, r));
    }
    // Inclinations may be negative.
    bool negative = false;
    for (int r = 1; r <= point.readingCount; ++r) negative = negative || point.value(5, r) < 0.0f;
    EXPECT_TRUE(negative);
}

TEST(ShippedSamples, GpsSentencesHaveTheDialogsLayout) {
    for (const SampleFacts& f : samples()) {
        SCOPED_TRACE(f.file);
        Sounding s = load(f.file);
        if (s.gpsSentence.empty()) continue;
        // The dialog rebuilds exactly the stored sentence from its fields.
        EXPECT_EQ(buildGpsSentence(gpsEntryFromFields(decodeGps(s.gpsSentence))), s.gpsSentence);
    }
    EXPECT_TRUE(load("sample-older.cpt").gpsSentence.empty());
    EXPECT_FALSE(load("sample-newer.cpt").gpsSentence.empty());
}

TEST(ShippedSamples, SecondPartContinuesTheOlderSampleWithTheSameCone) {
    Sounding first = load("sample-older.cpt");
    Sounding second = load("sample-older-push2.cpt");
    EXPECT_EQ(first.coneNumber, second.coneNumber);
    EXPECT_EQ(first.holeNumber, second.holeNumber);
    EXPECT_GT(second.depth[1], first.depth[first.readingCount]);
    // Header bytes outside ASCII survive the load (cm and the superscript two).
    EXPECT_NE(first.footnote1.find("cm\xB2"), std::string::npos);
}

}  // namespace
}  // namespace qm
