#include "ops/UnitSystems.h"

#include "model/Units.h"

namespace qm {

namespace {

constexpr int kTipChannel = 1;
constexpr int kSleeveChannel = 2;
constexpr int kPoreChannel = 3;
constexpr int kPorePressureType = 3;

const std::array<UnitSystemRow, kUnitSystemCount> kRows{{
    {UnitSystem::English, "optEnglish", "English -", "Qc in TSF, Fs in TSF, PP in PSI", "English", "TSF", "TSF",
     "PSI", "english"},
    {UnitSystem::MetricAbsKpa, "optMetricAbsKPA", "Metric -", "Qc in MPA, Fs in KPA, PP in KPA",
     "Metric Absolute [SI]", "MPA", "KPA", "KPA", "si-kpa"},
    {UnitSystem::MetricAbsBar, "optMetricAbsBAR", "Metric -", "Qc in MPA, Fs in KPA, PP in BAR",
     "Metric Absolute (SI)", "MPA", "KPA", "BAR", "si-bar"},
    {UnitSystem::MetricWtKsc, "optMetricWtKSC", "Metric -", "Qc in KSC, Fs in KSC, PP in KSC",
     "Metric [kgf/cm\xFD]", "KSC", "KSC", "KSC", "ksc"},
    {UnitSystem::MetricWtBar, "optMetricWtBAR", "Metric -", "Qc in KSC, Fs in KSC, PP in BAR", "Metric kgf/cm\xFD",
     "KSC", "KSC", "BAR", "ksc-bar"},
}};

void addPick(std::vector<UnitPick>& picks, const Sounding& s, const ChannelTypeTable& table, int c,
             std::string_view unit) {
    const int u = findUnit(s, table, c, std::string(unit));
    if (u > 0) picks.push_back({c, u});
}

}  // namespace

const std::array<UnitSystemRow, kUnitSystemCount>& unitSystemRows() { return kRows; }

const UnitSystemRow& unitSystemRow(UnitSystem system) {
    for (const UnitSystemRow& row : kRows)
        if (row.system == system) return row;
    return kRows[0];
}

std::optional<UnitSystem> unitSystemFromCliName(std::string_view cliName) {
    for (const UnitSystemRow& row : kRows)
        if (row.cliName == cliName) return row.system;
    return std::nullopt;
}

std::vector<UnitPick> unitPicksFor(const Sounding& s, const ChannelTypeTable& table, UnitSystem system) {
    const UnitSystemRow& row = unitSystemRow(system);
    std::vector<UnitPick> picks;
    addPick(picks, s, table, kTipChannel, row.tipUnit);
    addPick(picks, s, table, kSleeveChannel, row.sleeveUnit);
    if (s.channelCount >= kPoreChannel && s.channelType[kPoreChannel] == kPorePressureType)
        addPick(picks, s, table, kPoreChannel, row.poreUnit);
    return picks;
}

OpResult selectUnitSystem(Sounding& s, const ChannelTypeTable& table, UnitSystem system) {
    OpResult result;
    result.ok = true;
    for (const UnitPick& pick : unitPicksFor(s, table, system)) {
        std::string refusal = changeChannelUnit(s, table, pick.channel, pick.unitIndex);
        if (!refusal.empty()) result.messages.push_back(std::move(refusal));
    }
    return result;
}

}  // namespace qm
