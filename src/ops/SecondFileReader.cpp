#include "ops/SecondFileReader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"

namespace qm {

namespace {

constexpr int kHeadLines = 23;  // version, header texts, channel lines, column titles

// A refused file: the message to show.
struct Refusal {
    std::string text;
};

// Worded as File > Open words its refusals, so both readers speak alike.
[[noreturn]] void refuse(int lineNumber, const std::string& what) {
    throw Refusal{"The file cannot be opened: line " + numberText(lineNumber) + " " + what + "."};
}

bool isBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
}

bool startsWithSixBlanks(const std::string& line) { return line.compare(0, 6, "      ") == 0; }

bool isDrillOutMarker(const std::string& line) {
    return line.find("********") != std::string::npos || containsNoCase(line, "DRILLOUT");
}

// A number of a data row that a Single can hold, or nothing.
std::optional<float> singleOf(std::string text, int commaDecimalMode) {
    const std::optional<double> v = textToNumber(text, commaDecimalMode);
    if (!v || std::fabs(*v) > static_cast<double>(FLT_MAX)) return std::nullopt;
    return static_cast<float>(*v);
}

// Lines 1 to 23 go through File > Open's own reader, so the second file's
// header and channel lines meet exactly the same rules and refusals.
void readHead(const std::vector<std::string>& lines, const ChannelTypeTable& table, int commaDecimalMode,
              Sounding& s) {
    std::string head;
    const std::size_t count = std::min<std::size_t>(lines.size(), kHeadLines);
    for (std::size_t i = 0; i < count; ++i) printLine(head, {lines[i]});
    LoadResult loaded = readSoundingText(head, table, commaDecimalMode, s);
    if (!loaded.ok) throw Refusal{loaded.error};
}

void readDataRows(const std::vector<std::string>& lines, int commaDecimalMode, Sounding& s,
                  std::vector<std::string>& messages) {
    const char sep = decimalSeparator(commaDecimalMode);
    const bool newer = s.isNewerLayout();
    for (std::size_t i = kHeadLines; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int lineNumber = static_cast<int>(i) + 1;
        if (isBlank(line)) continue;  // carries no reading (a trailing one is common)

        if (isDrillOutMarker(line)) {
            messages.push_back("Drillout detected in 2nd file at " + numberText(s.depth[s.readingCount], sep) + " m");
            continue;
        }
        // The trailing baseline line, skipped from the first reading on; the
        // open sounding keeps its own.
        if (startsWithSixBlanks(line) && s.readingCount >= 1) continue;

        if (s.readingCount >= kMaxReadings)
            refuse(lineNumber, "would be reading 10001; a sounding holds at most 10000 readings");
        const int r = s.readingCount + 1;

        const std::string depthText = newer ? columns(line, 1, 7) : columns(line, 1, 6);
        const std::optional<float> depth = singleOf(depthText, commaDecimalMode);
        if (!depth) refuse(lineNumber, "has no depth in its first columns (\"" + depthText + "\")");
        // The older layout's speed field is 7 columns wide.
        const std::string speedText = newer ? columns(line, 8, 13) : columns(line, 7, 13);
        const std::optional<float> speed = singleOf(speedText, commaDecimalMode);
        if (!speed)
            refuse(lineNumber, std::string("has no speed in columns ") + (newer ? "8" : "7") + " to 13 (\"" +
                                   speedText + "\")");
        s.depth[r] = *depth;
        s.speed[r] = *speed;
        for (int c = 1; c <= s.channelCount; ++c) {
            const std::string field = channelField(line, c);
            const std::optional<float> raw = singleOf(field, commaDecimalMode);
            if (!raw)
                refuse(lineNumber,
                       "has no number for the reading of channel " + numberText(c) + " (\"" + field + "\")");
            s.raw(c, r) = *raw;
        }
        s.readingCount = r;
    }
    if (s.readingCount == 0) throw Refusal{"The file cannot be combined: it holds no readings."};
}

// Every value is converted at once. A channel without a partner in the open
// sounding only counts its readings without data.
void convertReadings(const Sounding& first, SecondSounding& second) {
    Sounding& s = second.sounding;
    for (int c = 1; c <= s.channelCount; ++c) {
        const int k = second.channelMap[c];
        // Same cone: the open sounding's calibration. Different cones: the
        // second file's own baseline, span and full scale. Either way the
        // value is made out in the unit the open sounding's channel is held
        // (and saved) in, so it sits beside the first file's values.
        const float baseline = second.sameCone ? first.channelBaseline[k][1] : s.channelBaseline[c][1];
        const float span = second.sameCone ? first.channelRawSpan[k] : s.channelRawSpan[c];
        const float fullScale = second.sameCone ? first.channelFullScale[k] : s.channelFullScale[c];
        const float unitFactor = k > 0 ? first.channelUnitFactor[k] : 0.0f;
        second.unitFactorUsed[c] = unitFactor;
        for (int r = 1; r <= s.readingCount; ++r) {
            const float raw = s.raw(c, r);
            if (raw == kNoDataValue) {
                s.value(c, r) = kNoDataValue;
                ++s.noDataCount[c];
                s.noDataLeadCount = std::max(s.noDataLeadCount, s.noDataCount[c]);
            } else if (k > 0) {
                s.value(c, r) = rawToValue(raw, baseline, span, fullScale, unitFactor);
            }
        }
    }
}

}  // namespace

std::array<int16_t, kMaxChannels + 1> channelMapOf(const Sounding& first,
                                                   const std::array<int16_t, kMaxChannels + 1>& types,
                                                   int count) {
    std::array<int16_t, kMaxChannels + 1> map{};
    for (int c = 1; c <= count; ++c)
        for (int k = 1; k <= first.channelCount; ++k)
            if (first.channelType[k] == types[c]) map[c] = static_cast<int16_t>(k);  // the higher index wins
    return map;
}

OpResult readSecondSoundingText(std::string_view bytes, const Sounding& first, const ChannelTypeTable& table,
                                int commaDecimalMode, SecondSounding& out) {
    // Read into a fresh record, so a refused file leaves `out` as it was and
    // an accepted one keeps nothing of an earlier second file. A new
    // Sounding holds no readings yet, so this costs next to nothing.
    auto next = std::make_unique<SecondSounding>();
    Sounding& s = next->sounding;
    OpResult result;
    try {
        const std::vector<std::string> lines = splitLines(bytes);
        readHead(lines, table, commaDecimalMode, s);

        next->sameCone = s.coneNumber == first.coneNumber;
        result.messages.emplace_back(next->sameCone ? kSameConeMessage : kDifferentConesMessage);
        next->channelMap = channelMapOf(first, s.channelType, s.channelCount);
        if (first.channelCount != s.channelCount) result.messages.emplace_back(kChannelCountMessage);

        readDataRows(lines, commaDecimalMode, s, result.messages);
    } catch (const Refusal& refusal) {
        return OpResult{false, {refusal.text}};
    }
    convertReadings(first, *next);
    out = std::move(*next);
    result.ok = true;
    return result;
}

}  // namespace qm
