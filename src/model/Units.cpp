#include "model/Units.h"

#include <cmath>

#include "model/NumberText.h"

namespace qm {

void updatePageDepths(Sounding& s, bool feet) {
    for (int i = 1; i <= s.readingCount; ++i)
        s.value(0, i) = feet ? static_cast<float>(static_cast<double>(s.depth[i]) * kFeetPerMetre) : s.depth[i];
}

std::string changeChannelUnit(Sounding& s, const ChannelTypeTable& table, int c, int u) {
    if (c < 1 || c > s.channelCount) return "There is no channel " + std::to_string(c) + ".";
    const int t = s.channelType[c];
    if (u < 1 || u > table.unitCount[t]) return "Channel " + std::to_string(c) + " has no unit " + std::to_string(u) + ".";
    const float oldFactor = s.channelUnitFactor[c];
    const float newFactor = table.unitFactor[t][u];
    // A zero factor would turn every value into 0 or infinity for good.
    if (newFactor == 0.0f)
        return "The unit " + table.unitName[t][u] + " cannot be used: its factor in the channel type table is 0.";
    if (oldFactor == 0.0f)
        return "The values of channel " + s.channelName[c] + " cannot be converted: its current unit factor is 0.";
    s.channelUnitIndex[c] = static_cast<int16_t>(u);
    s.channelUnitFactor[c] = newFactor;
    // The same factor again leaves every value as it is (v / f * f in double
    // rounds back to v), so a load, which selects each channel's own unit,
    // skips the pass over the readings.
    if (newFactor == oldFactor && std::isfinite(newFactor)) return {};
    for (int i = 1; i <= s.readingCount; ++i) {
        float& v = s.value(c, i);
        if (v != kNoDataValue) v = static_cast<float>(static_cast<double>(v) / oldFactor * newFactor);
    }
    if (s.hasFinalBaseline)
        s.baselineDrift[c] = static_cast<float>(static_cast<double>(s.baselineDrift[c]) / oldFactor * newFactor);
    return {};
}

int findUnit(const Sounding& s, const ChannelTypeTable& table, int c, const std::string& name) {
    if (c < 1 || c > s.channelCount) return 0;
    const int t = s.channelType[c];
    if (!table.hasType(t)) return 0;
    int found = 0;
    for (int u = 1; u <= table.unitCount[t]; ++u)
        if (table.unitName[t][u] == name) found = u;
    return found;
}

}  // namespace qm
