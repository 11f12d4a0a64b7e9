#include "ops/Combine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "model/Units.h"

namespace qm {

namespace {

// The start value as the locale reads it, held as a Single; nothing for a
// text that is no number (or none a Single can hold).
std::optional<float> startValueOf(std::string_view text, char sep) {
    const std::optional<double> v = localeTextToNumber(text, sep);
    if (!v || std::fabs(*v) > static_cast<double>(FLT_MAX)) return std::nullopt;
    return static_cast<float>(*v);
}

std::string rangeMessage(const Sounding& second, char sep) {
    return "Value must be between " + formatPattern(second.depth[1], "##0.00", sep) + " and " +
           generalNumberText(second.depth[second.readingCount], sep) + ".";
}

// The second file's value of channel c at reading r in the unit its partner
// shows now, which the user may have changed since the read.
float inCurrentUnit(const Sounding& first, const SecondSounding& second, int c, int r) {
    const float v = second.sounding.value(c, r);
    const float used = second.unitFactorUsed[c];
    const float now = first.channelUnitFactor[second.channelMap[c]];
    if (v == kNoDataValue || used == now || used == 0.0f) return v;
    return static_cast<float>(static_cast<double>(v) / used * now);
}

std::optional<std::string> depthFormatMismatch(const Sounding& first, const Sounding& second) {
    const float trend = secondDepthTrend(second);
    if (trend < 0.0f && first.depthFormat == 0) return kDepthThenElevationMessage;
    if (trend > 0.0f && first.depthFormat == 1) return kElevationThenDepthMessage;
    return std::nullopt;
}

AppendResult refusedAppend(std::string message) {
    AppendResult result;
    result.messages.push_back(std::move(message));
    return result;
}

}  // namespace

float secondDepthTrend(const Sounding& second) {
    const int n = second.readingCount;
    if (n >= 12) return (second.depth[12] - second.depth[2]) / 10.0f;
    // Too short for the 2nd and 12th depths: judged by the first and last.
    if (n >= 2) return second.depth[n] - second.depth[1];
    return 0.0f;
}

CombineReadResult readSecondFileText(std::string_view bytes, const Sounding& first, const ChannelTypeTable& table,
                                     int commaDecimalMode, SecondSounding& second) {
    CombineReadResult result;
    OpResult read = readSecondSoundingText(bytes, first, table, commaDecimalMode, second);
    result.messages = std::move(read.messages);
    if (!read.ok) return result;

    // From here on `second` holds the new file: whatever the checks say, an
    // earlier file can no longer be appended.
    second.readyToAppend = false;
    if (const auto mismatch = depthFormatMismatch(first, second.sounding)) {
        result.messages.push_back(*mismatch);
        return result;
    }

    // The sleeve's lag behind the tip, as File > Open settles it, but on the
    // open sounding's depth step.
    Sounding& s = second.sounding;
    if (s.noDataLeadCount == 0) {
        const int lead = leadCountFromFullScale(s.channelFullScale[1], first.depthIncrement);
        if (lead > 0) {
            s.noDataCount[2] = static_cast<int16_t>(lead);
            s.noDataLeadCount = static_cast<int16_t>(lead);
        }
    }

    second.readyToAppend = true;
    result.preview = combinePreview(first, second, decimalSeparator(commaDecimalMode));
    result.ok = true;
    return result;
}

CombineReadResult readSecondFile(const std::string& path, const Sounding& first, const ChannelTypeTable& table,
                                 int commaDecimalMode, SecondSounding& second) {
    std::string bytes;
    const FileResult file = readWholeFile(path, bytes, kSoundingFileLimit);
    if (!file.ok) {
        CombineReadResult result;
        result.messages.push_back(file.error);
        return result;
    }
    return readSecondFileText(bytes, first, table, commaDecimalMode, second);
}

AppendResult appendSecondSounding(Sounding& first, SecondSounding& second, std::string_view startDepthText,
                                  bool normalize, int commaDecimalMode, bool pageInFeet) {
    if (!second.readyToAppend) return refusedAppend("There is no 2nd file ready to append.");
    const Sounding& s2 = second.sounding;
    const char sep = decimalSeparator(commaDecimalMode);
    const bool elevation = first.depthFormat == 1;
    const int n2 = s2.readingCount;
    const auto& d2 = s2.depth;

    // The panel stays open while other commands run: a depth axis switched
    // since the read no longer matches the second file.
    if (const auto mismatch = depthFormatMismatch(first, s2)) return refusedAppend(*mismatch);

    // The reading before the last anchors the normalized depths.
    const int anchorIndex = std::max(first.readingCount - 1, 0);

    const std::optional<float> start = startValueOf(startDepthText, sep);
    if (!start) return refusedAppend(rangeMessage(s2, sep));
    const float v = *start;
    const bool outside = elevation ? (v > d2[1] || v < d2[n2]) : (v < d2[1] || v > d2[n2]);
    if (outside) return refusedAppend(rangeMessage(s2, sep));

    // Without normalization the second file's own depths are kept, so they
    // must continue the first sounding: deeper, or lower in elevation.
    const float lastDepth = first.depth[first.readingCount];
    if (!normalize && !elevation && v <= lastDepth)
        return refusedAppend("Value must exceed " + numberText(lastDepth, sep) + " m.");
    if (!normalize && elevation && v >= lastDepth)
        return refusedAppend("Value must be below " + numberText(lastDepth, sep) + " m.");

    // The readings from the start value on (depths at or below it, or
    // elevations at or beneath it); SkipCount counts those up to it, so a
    // reading exactly at the start value is both skipped and appended.
    const auto appended = [&](int r) { return elevation ? d2[r] <= v : v <= d2[r]; };
    int skipCount = 0;
    int appendCount = 0;
    for (int r = 1; r <= n2; ++r) {
        if (elevation ? d2[r] >= v : d2[r] <= v) ++skipCount;
        if (appended(r)) ++appendCount;
    }
    skipCount = std::max(skipCount, 1);  // the range check keeps it so; a safe index whatever the depths

    // The first sounding's last NoDataLeadCount readings give way to the
    // appended ones.
    const int kept = std::max(first.readingCount - first.noDataLeadCount, 0);
    if (kept + appendCount > kMaxReadings)
        return refusedAppend("Cannot combine: the sounding would hold " + numberText(kept + appendCount) +
                             " readings, more than " + numberText(kMaxReadings) + ". Only " +
                             numberText(kMaxReadings - kept) +
                             " readings of the 2nd file fit; start appending further down.");

    const float anchorDepth = first.depth[anchorIndex];
    const float skipDepth = d2[skipCount];

    // The first sounding's channels that no channel of the second file fills
    // get no data: their old cells belong to other readings.
    std::array<bool, kMaxChannels + 1> partnered{};
    for (int c = 1; c <= s2.channelCount; ++c) partnered[second.channelMap[c]] = true;

    first.readingCount = kept;
    for (int r = 1; r <= n2; ++r) {
        if (!appended(r)) continue;
        const int n = ++first.readingCount;
        first.depth[n] = normalize ? d2[r] - skipDepth + anchorDepth : d2[r];
        first.speed[n] = s2.speed[r];
        for (int k = 1; k <= first.channelCount; ++k)
            if (!partnered[k]) first.value(k, n) = kNoDataValue;
        for (int c = 1; c <= s2.channelCount; ++c)
            if (const int k = second.channelMap[c]; k > 0) first.value(k, n) = inCurrentUnit(first, second, c, r);
    }
    first.noDataLeadCount = s2.noDataLeadCount;
    updatePageDepths(first, pageInFeet);
    second.readyToAppend = false;

    AppendResult result;
    result.ok = true;
    result.readingCount = first.readingCount;
    return result;
}

}  // namespace qm
