#include "model/PageText.h"

#include "model/NumberText.h"

namespace qm {

std::array<PageRowText, kPageRows + 1> pageRowTexts(const Sounding& s, const ChannelTypeTable& table, char sep) {
    std::array<PageRowText, kPageRows + 1> rows{};
    const char* depthPattern = s.depthDecimals == 2 ? "##0.00" : "##0.000";
    for (int r = 1; r <= kPageRows; ++r) {
        PageRowText& row = rows[r];
        row.readingIndex = s.dataIndex - s.pageRow + r;
        const int k = row.readingIndex;
        // Rows before the first reading or past the capacity show empty cells.
        row.inRange = k >= 1 && k <= kMaxReadings;
        if (!row.inRange) continue;
        row.depth = formatPattern(s.value(0, k), depthPattern, sep);
        row.speed = formatPattern(s.speed[k], "##.00", sep);
        // The colour follows the shown text: 10.004 shows as 10.00 and stays black.
        const auto shown = localeTextToNumber(row.speed, sep);
        row.red = shown && (*shown > 10.0 || *shown == 0.0);
        for (int c = 1; c <= s.channelCount; ++c)
            row.channel[c] = formatPattern(s.value(c, k), table.format(s.channelType[c], s.channelUnitIndex[c]), sep);
    }
    return rows;
}

}  // namespace qm
