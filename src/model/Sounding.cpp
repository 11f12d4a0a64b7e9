#include "model/Sounding.h"

#include <cstring>

namespace qm {

namespace {

// A store of `size` zeros: wiped in place when it has that size already.
void wipe(std::vector<float>& store, std::size_t size) {
    if (store.size() == size)
        std::memset(store.data(), 0, size * sizeof(float));
    else
        store.assign(size, 0.0f);
}

}  // namespace

Sounding::Sounding() { wipeStores(); }

void Sounding::makeBlank() {
    std::vector<float> keptDepth = std::move(depth), keptSpeed = std::move(speed);
    std::vector<float> keptRaw = std::move(rawReadings_), keptValues = std::move(values_);
    *this = Sounding(NoStores{});
    depth = std::move(keptDepth);
    speed = std::move(keptSpeed);
    rawReadings_ = std::move(keptRaw);
    values_ = std::move(keptValues);
    wipeStores();
}

void Sounding::wipeStores() {
    wipe(depth, kReadingSlots);
    wipe(speed, kReadingSlots);
    wipe(rawReadings_, static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots);
    wipe(values_, static_cast<std::size_t>(kMaxChannels + 1) * kReadingSlots);
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
