#include "model/Sounding.h"

namespace qm {

Sounding::Sounding()
    : depth(kReadingSlots, 0.0f),
      speed(kReadingSlots, 0.0f),
      rawReadings_(static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots, 0.0f),
      values_(static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots, 0.0f) {}

bool Sounding::isNewerLayout() const { return versionLine.find("2015") != std::string::npos; }

float valueToRaw(const Sounding& s, int c, float value, float unitFactor) {
    if (value == kNoDataValue) return kNoDataValue;
    const float inBaseUnit = static_cast<float>(static_cast<double>(value) / unitFactor);
    const float rawChange = static_cast<float>(static_cast<double>(inBaseUnit) /
                                               s.channelFullScale[c] * s.channelRawSpan[c]);
    return static_cast<float>(static_cast<double>(rawChange) + s.channelBaseline[c][1]);
}

}  // namespace qm
