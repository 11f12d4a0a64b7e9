#include "model/Sounding.h"

namespace qm {

Sounding::Sounding() = default;

void Sounding::makeBlank() {
    // The blank record takes the emptied columns with their memory.
    Sounding blank;
    for (int i = 0; i < kColumnCount; ++i) {
        column(i).clear();
        blank.column(i).swap(column(i));
    }
    *this = std::move(blank);
}

bool Sounding::isNewerLayout() const { return versionLine.find("2015") != std::string::npos; }

float valueToRaw(const Sounding& s, int c, float value, float unitFactor) {
    if (value == kNoDataValue) return kNoDataValue;
    const float inBaseUnit = static_cast<float>(static_cast<double>(value) / unitFactor);
    const float rawChange = static_cast<float>(static_cast<double>(inBaseUnit) /
                                               s.channelFullScale[c] * s.channelRawSpan[c]);
    return static_cast<float>(static_cast<double>(rawChange) + s.channelBaseline[c][1]);
}

}  // namespace qm
