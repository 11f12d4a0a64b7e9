#include "support/SoundingCompare.h"

#include <bit>
#include <cstdint>
#include <sstream>

namespace qm::test {

namespace {

// Bit for bit, so a NaN or -32768 slip shows; a zero is a zero whatever its
// sign, as no file or page tells -0 from 0.
bool sameBits(float a, float b) { return a == b || std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

std::string describe(const std::string& what, float a, float b) {
    std::ostringstream o;
    o.precision(9);
    o << what << ": " << a << " vs " << b;
    return o.str();
}

}  // namespace

std::string soundingDifference(const Sounding& a, const Sounding& b, CompareOptions options) {
    for (std::size_t i = 0; i < kHeaderLines.size(); ++i)
        if (a.*kHeaderLines[i] != b.*kHeaderLines[i])
            return "text " + std::to_string(i) + ": \"" + a.*kHeaderLines[i] + "\" vs \"" + b.*kHeaderLines[i] + "\"";
    if (a.finalBaselineLine != b.finalBaselineLine)
        return "final baseline line: \"" + a.finalBaselineLine + "\" vs \"" + b.finalBaselineLine + "\"";
    if (options.versionLine && a.versionLine != b.versionLine) return "version line";

    auto number = [](const char* name, long x, long y) -> std::string {
        if (x == y) return {};
        return std::string(name) + ": " + std::to_string(x) + " vs " + std::to_string(y);
    };
    for (const std::string& d :
         {number("channelCount", a.channelCount, b.channelCount), number("readingCount", a.readingCount, b.readingCount),
          number("depthDecimals", a.depthDecimals, b.depthDecimals), number("depthFormat", a.depthFormat, b.depthFormat),
          number("depthFormatApplied", a.depthFormatApplied, b.depthFormatApplied),
          number("noDataLeadCount", a.noDataLeadCount, b.noDataLeadCount),
          number("porePressureMissing", a.porePressureMissing, b.porePressureMissing),
          number("hasFinalBaseline", a.hasFinalBaseline, b.hasFinalBaseline),
          number("dataIndex", a.dataIndex, b.dataIndex), number("pageRow", a.pageRow, b.pageRow)})
        if (!d.empty()) return d;
    if (!sameBits(a.depthIncrement, b.depthIncrement)) return describe("depthIncrement", a.depthIncrement, b.depthIncrement);

    for (int c = 0; c <= kMaxChannels; ++c) {
        const std::string ch = " of channel " + std::to_string(c);
        if (a.noDataCount[c] != b.noDataCount[c]) return "noDataCount" + ch;
        if (c < 1 || c > a.channelCount) continue;
        if (a.channelType[c] != b.channelType[c]) return "type" + ch;
        if (a.channelName[c] != b.channelName[c]) return "name" + ch;
        if (a.channelUnitIndex[c] != b.channelUnitIndex[c]) return "unit index" + ch;
        if (!sameBits(a.channelRawSpan[c], b.channelRawSpan[c])) return describe("span" + ch, a.channelRawSpan[c], b.channelRawSpan[c]);
        if (!sameBits(a.channelFullScale[c], b.channelFullScale[c]))
            return describe("full scale" + ch, a.channelFullScale[c], b.channelFullScale[c]);
        if (!sameBits(a.channelUnitFactor[c], b.channelUnitFactor[c]))
            return describe("unit factor" + ch, a.channelUnitFactor[c], b.channelUnitFactor[c]);
        for (int k = 1; k <= 2; ++k)
            if (!sameBits(a.channelBaseline[c][k], b.channelBaseline[c][k]))
                return describe("baseline " + std::to_string(k) + ch, a.channelBaseline[c][k], b.channelBaseline[c][k]);
        if (options.values && !sameBits(a.baselineDrift[c], b.baselineDrift[c]))
            return describe("drift" + ch, a.baselineDrift[c], b.baselineDrift[c]);
    }
    for (int r = 1; r <= a.readingCount; ++r) {
        const std::string at = " at reading " + std::to_string(r);
        if (!sameBits(a.depth[r], b.depth[r])) return describe("depth" + at, a.depth[r], b.depth[r]);
        if (!sameBits(a.speed[r], b.speed[r])) return describe("speed" + at, a.speed[r], b.speed[r]);
        if (options.values && !sameBits(a.value(0, r), b.value(0, r)))
            return describe("page depth" + at, a.value(0, r), b.value(0, r));
        for (int c = 1; c <= a.channelCount; ++c) {
            const std::string where = " of channel " + std::to_string(c) + at;
            if (options.rawReadings && !sameBits(a.raw(c, r), b.raw(c, r)))
                return describe("raw" + where, a.raw(c, r), b.raw(c, r));
            if (options.values && !sameBits(a.value(c, r), b.value(c, r)))
                return describe("value" + where, a.value(c, r), b.value(c, r));
        }
    }
    return {};
}

}  // namespace qm::test
