#pragma once
// Small soundings built in code for the correction tests: channels with a
// plain calibration (span 1, baseline 0, full scale 1, factor 1) and the
// given depths, speed 2 cm/s everywhere.

#include <initializer_list>
#include <string>

#include "model/Sounding.h"

namespace qm::test {

inline Sounding soundingWithDepths(std::initializer_list<float> depths, float increment = 0.05f,
                                   int channels = 2) {
    Sounding s;
    s.channelCount = static_cast<int16_t>(channels);
    for (int c = 1; c <= channels; ++c) {
        s.channelName[c] = "CH" + std::to_string(c);
        // Types 1, 2, 4, 5, ...: never 3, so the pore pressure is missing.
        s.channelType[c] = static_cast<int16_t>(c <= 2 ? c : c + 1);
        s.channelRawSpan[c] = 1.0f;
        s.channelFullScale[c] = 1.0f;
        s.channelUnitIndex[c] = 1;
        s.channelUnitFactor[c] = 1.0f;
    }
    s.porePressureMissing = true;
    s.depthIncrement = increment;
    int r = 0;
    for (const float d : depths) {
        ++r;
        s.depth[r] = d;
        s.value(0, r) = d;
        s.speed[r] = 2.0f;
        for (int c = 1; c <= channels; ++c) s.value(c, r) = s.raw(c, r) = static_cast<float>(10 * c + r);
    }
    s.readingCount = r;
    return s;
}

}  // namespace qm::test
