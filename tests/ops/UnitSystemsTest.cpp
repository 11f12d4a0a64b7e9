// The option clicks of the export panel: which unit each channel takes.

#include "ops/UnitSystems.h"

#include <gtest/gtest.h>

#include "ops/ExportFixtures.h"

namespace qm {
namespace {

using test::defineType;
using test::exportSounding;
using test::exportTable;

TEST(UnitSystemRows, NamesAsTheAnalogFileWritesThem) {
    const auto& rows = unitSystemRows();
    const std::string_view ksc = unitSystemRow(UnitSystem::MetricWtKsc).name;
    const std::string_view kscBar = unitSystemRow(UnitSystem::MetricWtBar).name;
    EXPECT_EQ(ksc.size(), 16u);
    EXPECT_EQ(kscBar.size(), 14u);
    EXPECT_EQ(static_cast<unsigned char>(ksc[14]), 0xFDu);
    EXPECT_EQ(ksc.back(), ']');
    EXPECT_EQ(static_cast<unsigned char>(kscBar.back()), 0xFDu);

    for (const UnitSystemRow& row : rows) EXPECT_EQ(unitSystemFromCliName(row.cliName), row.system);
    EXPECT_EQ(unitSystemFromCliName("English"), std::nullopt);
    EXPECT_EQ(unitSystemFromCliName(""), std::nullopt);
}

TEST(UnitSystemSelection, EnglishChangesTipSleeveAndPorePressure) {
    const ChannelTypeTable table = exportTable();
    Sounding s = exportSounding({1, 2, 3, 10}, {{1.0f, {4.5f, 0.05f, 250.0f, 20.0f}}, {1.05f, {kNoDataValue, 0.1f, 10.0f, 21.0f}}});
    const OpResult result = selectUnitSystem(s, table, UnitSystem::English);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(table.name(1, s.channelUnitIndex[1]), "TSF");
    EXPECT_EQ(table.name(2, s.channelUnitIndex[2]), "TSF");
    EXPECT_EQ(table.name(3, s.channelUnitIndex[3]), "PSI");
    EXPECT_EQ(s.channelUnitIndex[4], 1);
    EXPECT_FLOAT_EQ(s.value(1, 1), 45.0f);
    EXPECT_EQ(s.value(1, 2), kNoDataValue);
    EXPECT_FLOAT_EQ(s.value(2, 2), 1.0f);
    EXPECT_FLOAT_EQ(s.value(3, 1), 125.0f);
    EXPECT_FLOAT_EQ(s.value(4, 1), 20.0f);

    // Another system converts from the units the first one left.
    selectUnitSystem(s, table, UnitSystem::MetricAbsKpa);
    EXPECT_FLOAT_EQ(s.value(1, 1), 4.5f);
    EXPECT_FLOAT_EQ(s.value(2, 1), 50.0f);
    EXPECT_FLOAT_EQ(s.value(3, 1), 250.0f);
}

TEST(UnitSystemSelection, ChannelThreeOnlyWhenItIsPorePressure) {
    // A second sleeve channel in place 3 lists KPA, the pore unit of the
    // system, and still keeps its unit.
    const ChannelTypeTable table = exportTable();
    const Sounding s = exportSounding({1, 2, 2}, {{1.0f, {1.0f, 1.0f, 1.0f}}});
    const std::vector<UnitPick> picks = unitPicksFor(s, table, UnitSystem::MetricAbsKpa);
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_EQ(picks[0].channel, 1);
    EXPECT_EQ(picks[0].unitIndex, 1);
    EXPECT_EQ(picks[1].channel, 2);
    EXPECT_EQ(picks[1].unitIndex, 3);

    // A sounding of fewer channels has no unit box for the others.
    const Sounding one = exportSounding({1}, {});
    EXPECT_EQ(unitPicksFor(one, table, UnitSystem::English).size(), 1u);
}

TEST(UnitSystemSelection, MissingUnitKeepsTheChannelAndTheLastDuplicateWins) {
    ChannelTypeTable table = exportTable();
    defineType(table, 1, {{"MPA", "##0.000", 1.0f}, {"TSF", "##0.00", 10.0f}, {"TSF", "##0.00", 100.0f}});
    defineType(table, 2, {{"MPA", "##0.000", 1.0f}});  // no TSF
    Sounding s = exportSounding({1, 2, 3}, {{1.0f, {2.0f, 0.5f, 10.0f}}});
    EXPECT_TRUE(selectUnitSystem(s, table, UnitSystem::English).messages.empty());
    EXPECT_EQ(s.channelUnitIndex[1], 3);
    EXPECT_FLOAT_EQ(s.value(1, 1), 200.0f);
    EXPECT_EQ(s.channelUnitIndex[2], 1);
    EXPECT_FLOAT_EQ(s.value(2, 1), 0.5f);
    EXPECT_FLOAT_EQ(s.value(3, 1), 5.0f);
}

TEST(UnitSystemSelection, RefusedUnitChangeLeavesThatChannelAndTellsWhy) {
    ChannelTypeTable table = exportTable();
    table.unitFactor[2][2] = 0.0f;  // TSF of the sleeve cannot be used
    Sounding s = exportSounding({1, 2, 3}, {{1.0f, {2.0f, 0.5f, 10.0f}}});
    const OpResult result = selectUnitSystem(s, table, UnitSystem::English);
    EXPECT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(s.channelUnitIndex[2], 1);
    EXPECT_FLOAT_EQ(s.value(2, 1), 0.5f);
    EXPECT_FLOAT_EQ(s.value(1, 1), 20.0f);
    EXPECT_FLOAT_EQ(s.value(3, 1), 5.0f);
}

}  // namespace
}  // namespace qm
