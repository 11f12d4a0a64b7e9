#pragma once
// Per channel type (1..20) the list of display units: name, display pattern
// and factor relative to the type's base unit (unit 1). Loaded once at
// start-up from Channel1.txt .. Channel20.txt and read only afterwards.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Sounding.h"

namespace qm {

struct ChannelTypeTable {
    std::array<bool, kMaxChannelTypes + 1> defined{};
    std::array<int16_t, kMaxChannelTypes + 1> unitCount{};
    std::array<std::array<std::string, kMaxUnits + 1>, kMaxChannelTypes + 1> unitName{};
    std::array<std::array<std::string, kMaxUnits + 1>, kMaxChannelTypes + 1> unitFormat{};
    std::array<std::array<float, kMaxUnits + 1>, kMaxChannelTypes + 1> unitFactor{};

    bool hasType(int t) const { return t >= 1 && t <= kMaxChannelTypes && defined[t]; }
    // Factor of unit u of type t, 0 when t or u is out of range.
    float factor(int t, int u) const;
    const std::string& name(int t, int u) const;
    const std::string& format(int t, int u) const;
};

struct TableLoadReport {
    ChannelTypeTable table;
    // One text per damaged table file, naming the file.
    std::vector<std::string> problems;
};

// Reads one table file's bytes into type t of `table`. Returns an empty text
// when the file was whole, else what was wrong; the units read in full (at
// most 10) are kept either way.
std::string parseChannelTypeTable(std::string_view content, int t, ChannelTypeTable& table);

// Reads Channel1.txt .. Channel20.txt of `folder`; a missing file leaves its
// type undefined and is no problem.
TableLoadReport loadChannelTypeTables(const std::string& folder);

}  // namespace qm
