#pragma once
// Sounding files for the combine tests, written with the shared file
// builder: a channel type table of four types, and files described by their
// cone number, channels and data lines, so every calibration and depth is
// under the test's control.

#include <string>
#include <utility>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/NumberText.h"
#include "support/SoundingFileBuilder.h"

namespace qm::test {

inline ChannelTypeTable combineTable() {
    ChannelTypeTable table;
    const auto define = [&table](int t, std::vector<std::pair<std::string, float>> units) {
        table.defined[t] = true;
        for (const auto& [name, factor] : units) {
            const int u = ++table.unitCount[t];
            table.unitName[t][u] = name;
            table.unitFormat[t][u] = "##0.00";
            table.unitFactor[t][u] = factor;
        }
    };
    define(1, {{"MPa", 1.0f}, {"kPa", 1000.0f}});
    define(2, {{"kPa", 1.0f}, {"MPa", 0.001f}});
    define(3, {{"kPa", 1.0f}});
    define(4, {{"deg", 1.0f}});
    return table;
}

// Raw 300 gives 10, raw 600 gives 25 in the base unit.
inline ChannelSpec combineChannel(int type, std::string name) {
    const std::string base = combineTable().unitName[type][1];
    return ChannelSpec{std::to_string(type), std::move(name), "1000", "100.00000", "50 " + base, base, "1"};
}

// The calibration of another cone: raw 600 gives 20.
inline ChannelSpec otherCone(ChannelSpec c) {
    c.rawSpan = "2000";
    c.baseline = "200.00000";
    c.fullScale = "100" + c.fullScale.substr(c.fullScale.find(' '));
    return c;
}

struct FileSpec {
    bool newer = false;
    std::string cone = "C-100";
    std::vector<ChannelSpec> channels{combineChannel(1, "TIP"), combineChannel(2, "FRICTION"),
                                      combineChannel(3, "PRESSURE")};
    std::vector<std::string> rows;  // the data section, line by line
};

inline std::string soundingText(const FileSpec& f) {
    SoundingFileBuilder b(f.newer);
    b.headerLine(4, f.cone);
    for (const ChannelSpec& c : f.channels) b.channel(c);
    for (const std::string& r : f.rows) b.line(r);
    return b.text();
}

// One data row with the depth text in the layout's depth columns.
inline std::string dataRow(bool newer, const std::string& depth, const std::vector<std::string>& raws) {
    std::string row = newer ? rightAligned(depth, 7) + rightAligned("2.00", 6)
                            : rightAligned(depth, 6) + rightAligned("2.00", 7);
    for (const std::string& r : raws) row += rightAligned(r, 20);
    return row;
}

// `count` rows from `firstMm` millimetres on, `stepMm` apart (negative for
// elevations), every row with the same raw readings.
inline std::vector<std::string> steadyRows(bool newer, int firstMm, int stepMm, int count,
                                           const std::vector<std::string>& raws) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        const double depth = (firstMm + i * stepMm) / 1000.0;
        rows.push_back(dataRow(newer, formatPattern(depth, newer ? "##0.000" : "##0.00", '.'), raws));
    }
    return rows;
}

}  // namespace qm::test
