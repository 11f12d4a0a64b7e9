#include "support/SoundingCompare.h"

#include <bit>
#include <cstdint>
#include <sstream>

namespace qm::test {

std::string soundingDifference(const Sounding& a, const Sounding& b, CompareOptions options) {
    std::ostringstream d;
    d.precision(9);
    // Floats bit for bit, so a NaN shows; a zero is a zero whatever its sign,
    // as no file or page tells -0 from 0.
    const auto differ = [&d](const std::string& what, auto x, auto y) {
        bool same;
        if constexpr (std::is_same_v<decltype(x), float>) same = x == y || std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
        else same = x == y;
        if (!same) d << what << ": " << x << " vs " << y;
        return !same;
    };
    for (std::size_t i = 0; i < kHeaderLines.size(); ++i)
        if (differ("text " + std::to_string(i), a.*kHeaderLines[i], b.*kHeaderLines[i])) return d.str();
    if (differ("final baseline line", a.finalBaselineLine, b.finalBaselineLine) ||
        (options.versionLine && differ("version line", a.versionLine, b.versionLine)) ||
        differ("channelCount", a.channelCount, b.channelCount) || differ("readingCount", a.readingCount, b.readingCount) ||
        differ("depthDecimals", a.depthDecimals, b.depthDecimals) || differ("depthFormat", a.depthFormat, b.depthFormat) ||
        differ("depthFormatApplied", a.depthFormatApplied, b.depthFormatApplied) ||
        differ("noDataLeadCount", a.noDataLeadCount, b.noDataLeadCount) ||
        differ("porePressureMissing", a.porePressureMissing, b.porePressureMissing) ||
        differ("hasFinalBaseline", a.hasFinalBaseline, b.hasFinalBaseline) || differ("dataIndex", a.dataIndex, b.dataIndex) ||
        differ("pageRow", a.pageRow, b.pageRow) || differ("depthIncrement", a.depthIncrement, b.depthIncrement))
        return d.str();
    for (int c = 0; c <= kMaxChannels; ++c) {
        const std::string ch = " of channel " + std::to_string(c);
        if (differ("noDataCount" + ch, a.noDataCount[c], b.noDataCount[c])) return d.str();
        if (c < 1 || c > a.channelCount) continue;
        if (differ("type" + ch, a.channelType[c], b.channelType[c]) || differ("name" + ch, a.channelName[c], b.channelName[c]) ||
            differ("unit index" + ch, a.channelUnitIndex[c], b.channelUnitIndex[c]) ||
            differ("span" + ch, a.channelRawSpan[c], b.channelRawSpan[c]) ||
            differ("full scale" + ch, a.channelFullScale[c], b.channelFullScale[c]) ||
            differ("unit factor" + ch, a.channelUnitFactor[c], b.channelUnitFactor[c]) ||
            differ("baseline 1" + ch, a.channelBaseline[c][1], b.channelBaseline[c][1]) ||
            differ("baseline 2" + ch, a.channelBaseline[c][2], b.channelBaseline[c][2]) ||
            (options.values && differ("drift" + ch, a.baselineDrift[c], b.baselineDrift[c])))
            return d.str();
    }
    for (int r = 1; r <= a.readingCount; ++r) {
        const std::string at = " at reading " + std::to_string(r);
        if (differ("depth" + at, a.depth[r], b.depth[r]) || differ("speed" + at, a.speed[r], b.speed[r]) ||
            (options.values && differ("page depth" + at, a.value(0, r), b.value(0, r))))
            return d.str();
        for (int c = 1; c <= a.channelCount; ++c) {
            const std::string where = " of channel " + std::to_string(c) + at;
            if ((options.rawReadings && differ("raw" + where, a.raw(c, r), b.raw(c, r))) ||
                (options.values && differ("value" + where, a.value(c, r), b.value(c, r))))
                return d.str();
        }
    }
    return {};
}

}  // namespace qm::test
