#include "ops/ChannelShift.h"

#include <cmath>
#include <optional>
#include <utility>

#include "model/NumberText.h"
#include "ops/SingleRounding.h"

namespace qm {

namespace {

const std::string& unitPattern(const Sounding& s, const ChannelTypeTable& table, int c) {
    return table.format(s.channelType[c], s.channelUnitIndex[c]);
}

// Full scale times a fraction, in the channel's current unit, rounded once.
float fullScaleShare(const Sounding& s, int c, double fraction) {
    return roundToSingle(static_cast<double>(s.channelFullScale[c]) * fraction *
                         static_cast<double>(s.channelUnitFactor[c]));
}

}  // namespace

float lowestReadingFloor(const Sounding& s, int c) { return fullScaleShare(s, c, -0.02); }

float replacementValue(const Sounding& s, int c) { return fullScaleShare(s, c, 0.00001); }

float lowestReading(const Sounding& s, int c) {
    const float floor = lowestReadingFloor(s, c);
    std::optional<float> lowest;
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        const float v = s.value(c, r);
        if (v == kNoDataValue || !(v > floor)) continue;
        if (!lowest || v < *lowest) lowest = v;
    }
    return lowest ? *lowest : s.value(c, 1);
}

std::vector<ShiftPanelRow> shiftPanelRows(const Sounding& s, const ChannelTypeTable& table, char sep) {
    std::vector<ShiftPanelRow> rows;
    for (int c = 1; c <= s.channelCount; ++c) {
        const std::string& pattern = unitPattern(s, table, c);
        ShiftPanelRow row;
        row.channelName = s.channelName[c];
        row.unitName = table.name(s.channelType[c], s.channelUnitIndex[c]);
        row.offset = "0";
        row.lowestReading = formatPattern(lowestReading(s, c), pattern, sep);
        row.finalBaseline = s.hasFinalBaseline ? formatPattern(s.baselineDrift[c], pattern, sep) : kNotAvailable;
        rows.push_back(std::move(row));
    }
    return rows;
}

OpResult shiftReadings(Sounding& s, const std::vector<std::string>& offsetTexts, char sep) {
    OpResult result;
    // Every offset is read first, so a bad one leaves all channels as they were.
    std::vector<double> offsets(static_cast<std::size_t>(s.channelCount) + 1, 0.0);
    for (int c = 1; c <= s.channelCount; ++c) {
        const auto at = static_cast<std::size_t>(c - 1);
        if (at >= offsetTexts.size()) break;
        const std::optional<double> offset = localeTextToNumber(offsetTexts[at], sep);
        if (!offset) {
            result.messages.push_back("The offset \"" + offsetTexts[at] + "\" for channel " + s.channelName[c] +
                                      " is not a number. No channel was shifted.");
            return result;
        }
        offsets[static_cast<std::size_t>(c)] = *offset;
    }
    // A shifted reading must stay a reading: exactly -32768 would pass for
    // one without data from then on, and a value beyond the Single's range
    // could be written by no file. Checked for every channel before any moves.
    for (int c = 1; c <= s.channelCount; ++c) {
        const double offset = offsets[static_cast<std::size_t>(c)];
        if (offset == 0.0) continue;
        for (int32_t r = 1; r <= s.readingCount; ++r) {
            const float v = s.value(c, r);
            if (v == kNoDataValue) continue;
            const float shifted = roundToSingle(offset + static_cast<double>(v));
            if (shifted != kNoDataValue && std::isfinite(shifted)) continue;
            result.messages.push_back("The offset \"" + offsetTexts[static_cast<std::size_t>(c - 1)] +
                                      "\" for channel " + s.channelName[c] + " would make reading " +
                                      std::to_string(r) +
                                      (std::isfinite(shifted)
                                           ? " -32768, the mark of a reading without data."
                                           : " too large for a number.") +
                                      " No channel was shifted.");
            return result;
        }
    }
    for (int c = 1; c <= s.channelCount; ++c) {
        const double offset = offsets[static_cast<std::size_t>(c)];
        if (offset == 0.0) continue;
        for (int32_t r = 1; r <= s.readingCount; ++r) {
            float& v = s.value(c, r);
            // A reading without data stays one: shifted, it would pass for a
            // real reading of -32768 plus the offset and be saved as data.
            if (v == kNoDataValue) continue;
            v = roundToSingle(offset + static_cast<double>(v));
        }
    }
    result.ok = true;
    return result;
}

OpResult removeNegatives(Sounding& s) {
    for (int c = 1; c <= s.channelCount; ++c) {
        if (s.channelType[c] == kSignedChannelTypeA || s.channelType[c] == kSignedChannelTypeB) continue;
        const float replacement = replacementValue(s, c);
        for (int32_t r = 1; r <= s.readingCount; ++r) {
            float& v = s.value(c, r);
            if (v <= 0.0f) v = replacement;
        }
    }
    OpResult result;
    result.ok = true;
    return result;
}

}  // namespace qm
