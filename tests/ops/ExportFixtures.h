#pragma once
// Channel type tables and small soundings built in code for the analog
// export tests, so every unit name, factor and value is under the test's
// control. Factors are chosen so that the converted values are exact.

#include <initializer_list>
#include <string>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm::test {

struct UnitEntry {
    std::string name;
    std::string format;
    float factor;
};

inline void defineType(ChannelTypeTable& table, int t, std::initializer_list<UnitEntry> units) {
    table.defined[t] = true;
    table.unitCount[t] = 0;
    for (const UnitEntry& u : units) {
        const int i = ++table.unitCount[t];
        table.unitName[t][i] = u.name;
        table.unitFormat[t][i] = u.format;
        table.unitFactor[t][i] = u.factor;
    }
}

// Tip and sleeve in MPA, pore pressure in KPA as their base units.
inline ChannelTypeTable exportTable() {
    ChannelTypeTable table;
    defineType(table, 1, {{"MPA", "##0.000", 1.0f}, {"TSF", "##0.00", 10.0f}, {"KSC", "##0.00", 10.0f}});
    defineType(table, 2,
               {{"MPA", "##0.000", 1.0f}, {"TSF", "##0.000", 10.0f}, {"KPA", "##0.0", 1000.0f}, {"KSC", "##0.000", 10.0f}});
    defineType(table, 3,
               {{"KPA", "##0.0", 1.0f}, {"PSI", "##0.00", 0.5f}, {"BAR", "##0.000", 0.01f}, {"KSC", "##0.000", 0.02f}});
    defineType(table, 6, {{"DEG", "##0.0", 1.0f}});
    defineType(table, 7, {{"DEG", "##0.0", 1.0f}});
    defineType(table, 8, {{"MS", "##0.0", 1.0f}});
    defineType(table, 10, {{"DEGC", "##0.0", 1.0f}});
    return table;
}

// One reading: its depth in metres and the values of channels 1, 2, ...
struct ReadingRow {
    float depth;
    std::vector<float> values;
};

// Every channel in unit 1 of its type with factor 1.
inline Sounding exportSounding(std::initializer_list<int> types, std::initializer_list<ReadingRow> rows) {
    Sounding s;
    for (int t : types) {
        const int c = ++s.channelCount;
        s.channelType[c] = static_cast<int16_t>(t);
        s.channelName[c] = "CHANNEL " + std::to_string(c);
        s.channelUnitIndex[c] = 1;
        s.channelUnitFactor[c] = 1.0f;
        s.channelRawSpan[c] = 1.0f;
        s.channelFullScale[c] = 1.0f;
    }
    for (const ReadingRow& row : rows) {
        const int r = ++s.readingCount;
        s.depth[r] = row.depth;
        s.value(0, r) = row.depth;
        for (std::size_t c = 0; c < row.values.size(); ++c) s.value(static_cast<int>(c) + 1, r) = row.values[c];
    }
    s.dataIndex = 1;
    s.pageRow = 1;
    return s;
}

}  // namespace qm::test
