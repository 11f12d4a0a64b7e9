#pragma once
// What the readings page shows in its 24 rows: the depth, channel and speed
// texts and the red/black rule of the speed, from the Sounding and the
// cursor. The window renders it; the batch tool prints it.

#include <array>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

constexpr int kPageRows = 24;

struct PageRowText {
    int readingIndex = 0;  // DataIndex - PageRow + row
    bool inRange = false;  // 0 <= readingIndex <= capacity; rows outside show empty cells
    std::string depth;
    std::array<std::string, kMaxChannels + 1> channel{};  // 1..channelCount
    std::string speed;
    bool red = false;  // speed above 10 or exactly 0, on the shown text
};

// Rows 1..24 (index 0 unused). Uses value(0, r) for depths, so call
// updatePageDepths first (RefreshDisplay does both).
std::array<PageRowText, kPageRows + 1> pageRowTexts(const Sounding& s, const ChannelTypeTable& table, char sep);

}  // namespace qm
