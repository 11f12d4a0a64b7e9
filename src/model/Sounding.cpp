#include "model/Sounding.h"

namespace qm {

Sounding::Sounding()
    : depth(kReadingSlots, 0.0f),
      speed(kReadingSlots, 0.0f),
      rawReadings_(static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots, 0.0f),
      values_(static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots, 0.0f) {}

bool Sounding::isNewerLayout() const { return versionLine.find("2015") != std::string::npos; }

float rawToValue(const Sounding& s, int c, float raw) {
    return rawToValue(raw, s.channelBaseline[c][1], s.channelRawSpan[c], s.channelFullScale[c],
                      s.channelUnitFactor[c]);
}

float rawToValue(float raw, float baseline, float span, float fullScale, float unitFactor) {
    if (raw == kNoDataValue) return kNoDataValue;
    double v = static_cast<double>(raw) - static_cast<double>(baseline);
    v /= static_cast<double>(span);
    v *= static_cast<double>(fullScale);
    v *= static_cast<double>(unitFactor);
    return static_cast<float>(v);
}

float valueToRaw(const Sounding& s, int c, float value, float unitFactor) {
    if (value == kNoDataValue) return kNoDataValue;
    const float inBaseUnit = static_cast<float>(static_cast<double>(value) / unitFactor);
    const float rawChange = static_cast<float>(static_cast<double>(inBaseUnit) /
                                               s.channelFullScale[c] * s.channelRawSpan[c]);
    return static_cast<float>(static_cast<double>(rawChange) + s.channelBaseline[c][1]);
}

}  // namespace qm
