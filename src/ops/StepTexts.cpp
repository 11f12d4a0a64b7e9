#include "ops/StepTexts.h"

#include <algorithm>
#include <cstring>

#include "model/NumberText.h"
#include "ops/DepthAxis.h"

namespace qm::steps {

namespace {

std::string depthText(const Sounding& s, float depth, char sep) {
    return formatPattern(depth, s.depthDecimals == 3 ? "##0.000" : "##0.00", sep) + " m";
}

std::string depthOf(const Sounding& s, int32_t r, char sep) {
    if (r < 1 || r >= kReadingSlots) return "?";
    return depthText(s, s.depth[static_cast<std::size_t>(r)], sep);
}

std::string channelText(const Sounding& s, int c) {
    return "channel " + std::to_string(c) + " " + s.channelName[static_cast<std::size_t>(c)];
}

std::string count(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

Words valueEdit(const Sounding& s, const ChannelTypeTable& table, int c, int32_t r, float before, float after,
                char sep) {
    const auto i = static_cast<std::size_t>(c);
    const std::string& pattern = table.format(s.channelType[i], s.channelUnitIndex[i]);
    std::string was = formatPattern(before, pattern, sep), now = formatPattern(after, pattern, sep);
    // A change finer than the page's digits is written with all of them.
    if (was == now) {
        was = numberText(before, sep);
        now = numberText(after, sep);
    }
    const std::string& name = table.name(s.channelType[i], s.channelUnitIndex[i]);
    const std::string unit = name.empty() ? "" : " " + name;
    return {"Edit Value", s.channelName[i] + " at " + depthOf(s, r, sep) + ": " + was + unit + " -> " + now + unit};
}

Words insertReading(const Sounding& after, int32_t r, char sep) {
    return {"Insert Reading", "Insert: reading " + std::to_string(r) + " added at " + depthOf(after, r, sep)};
}

Words deleteReading(const Sounding& before, int32_t r, char sep) {
    return {"Delete Reading", "Delete: reading " + std::to_string(r) + " at " + depthOf(before, r, sep) + " removed"};
}

Words autoClean(const Sounding& after, const AutoCleanResult& result, char sep) {
    std::vector<std::string> parts;
    if (result.insertedChannel > 0)
        parts.push_back("inserted " + after.channelName[static_cast<std::size_t>(result.insertedChannel)]);
    if (result.insertedReadings > 0) {
        std::string at = depthText(after, result.firstInsertedDepth, sep);
        if (result.insertedReadings > 1)
            at = depthText(after, result.firstInsertedDepth, sep).substr(0, at.size() - 2) + " to " +
                 depthText(after, result.lastInsertedDepth, sep);
        parts.push_back(count(result.insertedReadings, "reading", "readings") + " added at " + at);
    }
    if (result.snappedDepths > 0) parts.push_back(count(result.snappedDepths, "depth", "depths") + " snapped");
    std::string text = "AutoClean For Interp";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? ": " : ", ") + parts[i];
    return {"AutoClean For Interp", text};
}

Words shift(const Sounding& s, const ChannelTypeTable& table, const std::vector<std::string>& offsetTexts, char sep) {
    std::string text;
    for (std::size_t i = 0; i < offsetTexts.size() && static_cast<int>(i) < s.channelCount; ++i) {
        const auto offset = localeTextToNumber(offsetTexts[i], sep);
        if (!offset || static_cast<float>(*offset) == 0.0f) continue;
        const int c = static_cast<int>(i) + 1;
        text += (text.empty() ? "Shift " : "; ") + channelText(s, c) + " by " +
                numberText(static_cast<float>(*offset), sep) + " " +
                table.name(s.channelType[static_cast<std::size_t>(c)], s.channelUnitIndex[static_cast<std::size_t>(c)]);
    }
    return {"Shift Readings", text.empty() ? "Shift Readings" : text};
}

Words removeNegatives(const Sounding& before, const Sounding& after) {
    long total = 0;
    std::string each;
    for (int c = 1; c <= after.channelCount && c <= kMaxChannels; ++c) {
        long n = 0;
        // Past both columns' ends both read 0: nothing differs there.
        const auto rows = static_cast<int32_t>(std::max(before.valueColumn(c).size(), after.valueColumn(c).size()));
        for (int32_t r = 0; r < rows; ++r)
            if (!sameBits(before.value(c, r), after.value(c, r))) ++n;
        if (n == 0) continue;
        total += n;
        each += (each.empty() ? "" : ", ") + after.channelName[static_cast<std::size_t>(c)] + " " + std::to_string(n);
    }
    return {"Remove Negatives", "Remove Negatives: " + count(total, "reading", "readings") + " replaced (" + each + ")"};
}

Words startDepth(const Sounding& before, const Sounding& after, char sep) {
    const bool elevation = after.depthFormat == kDepthFormatElevation;
    return {elevation ? "Start Elevation" : "Start Depth",
            std::string(elevation ? "Start elevation: " : "Start depth: ") + currentStartDepthText(before, sep) +
                " -> " + currentStartDepthText(after, sep) + " m"};
}

Words increment(const Sounding& before, const Sounding& after, char sep) {
    return {"Depth Increment", "Depth increment: " + incrementText(before.depthIncrement, sep) + " -> " +
                                   incrementText(after.depthIncrement, sep) + " m"};
}

Words depthFormat(const Sounding& before, const Sounding& after) {
    auto name = [](int16_t f) { return f == kDepthFormatElevation ? "Elevation" : "Depth"; };
    return {"Depth Format",
            std::string("Depth format: ") + name(before.depthFormatApplied) + " -> " + name(after.depthFormat)};
}

Words channelUnit(const Sounding& before, const Sounding& after, const ChannelTypeTable& table, int c) {
    const auto i = static_cast<std::size_t>(c);
    return {"Channel Unit", "Unit of " + channelText(after, c) + ": " +
                                table.name(before.channelType[i], before.channelUnitIndex[i]) + " -> " +
                                table.name(after.channelType[i], after.channelUnitIndex[i])};
}

Words depthDigits(const Sounding& before, const Sounding& after) {
    return {"Depth Digits", "Depth significant digits: " + std::to_string(before.depthDecimals == 3 ? 3 : 2) +
                                " -> " + std::to_string(after.depthDecimals == 3 ? 3 : 2)};
}

Words gpsPosition(const Sounding& before, const Sounding& after) {
    if (after.gpsSentence.empty())
        return {"GPS Position", "GPS position removed (no latitude or longitude): " + before.gpsSentence};
    return {"GPS Position", "GPS position: " + after.gpsSentence};
}

Words clearGps(const Sounding& before) { return {"CLEAR GPS", "CLEAR GPS: " + before.gpsSentence + " removed"}; }

Words combine(const Sounding& before, const Sounding& after, std::string_view secondFileTitle,
              std::string_view startText) {
    return {"Combine", "Combine: " + count(after.readingCount - before.readingCount, "reading", "readings") +
                           " appended from " + std::string(secondFileTitle) + " at " + std::string(startText) + " m"};
}

}  // namespace qm::steps
