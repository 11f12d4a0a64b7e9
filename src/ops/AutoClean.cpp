#include "ops/AutoClean.h"

#include <algorithm>
#include <cmath>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "ops/SingleRounding.h"

namespace qm {

namespace {

const char* const kNoRoomMessage =
    "The sounding already has 10 channels, so there is no room for a pore-pressure channel. "
    "The depths are cleaned without it.";
const char* const kCapacityMessage =
    "The sounding has reached the limit of 10000 readings. The remaining gaps in the depths were not filled.";
const char* const kNoIncrementMessage =
    "The depth increment must be greater than 0 to clean the sounding. Nothing was changed.";

// Channel `from` takes position `to`, everything that describes it included.
// The number of readings without data, the baseline drift and the final
// baseline belong to the channel, not to its position: left behind, the gap
// filling and the page would offset the moved channel by its neighbour's
// count, and the shift panel would show its neighbour's drift.
void moveChannel(Sounding& s, int from, int to) {
    s.channelName[to] = s.channelName[from];
    s.channelRawSpan[to] = s.channelRawSpan[from];
    s.channelBaseline[to] = s.channelBaseline[from];
    s.channelFullScale[to] = s.channelFullScale[from];
    s.channelUnitIndex[to] = s.channelUnitIndex[from];
    s.channelType[to] = s.channelType[from];
    s.channelUnitFactor[to] = s.channelUnitFactor[from];
    s.baselineDrift[to] = s.baselineDrift[from];
    s.noDataCount[to] = s.noDataCount[from];
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        s.value(to, r) = s.value(from, r);
        s.raw(to, r) = s.raw(from, r);
    }
}

void describePorePressureChannel(Sounding& s, int c) {
    s.channelName[c] = kPorePressureName;
    s.channelType[c] = kPorePressureType;
    s.channelRawSpan[c] = kPorePressureRawSpan;
    s.channelBaseline[c][1] = kPorePressureBaseline;
    // No final baseline was recorded for it: a final equal to the initial
    // one means no drift.
    s.channelBaseline[c][2] = kPorePressureBaseline;
    s.baselineDrift[c] = 0.0f;
    s.channelFullScale[c] = kPorePressureFullScale;
    s.channelUnitIndex[c] = 1;
    s.channelUnitFactor[c] = 1.0f;
    s.noDataCount[c] = 0;
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        s.raw(c, r) = kPorePressureBaseline;
        s.value(c, r) = rawToValue(s, c, kPorePressureBaseline);
    }
}

// Moves entries [lo, hi] of one reading column up by one place.
void moveUpByOne(float* column, int32_t lo, int32_t hi) {
    if (lo > hi) return;
    std::copy_backward(column + lo, column + hi + 1, column + hi + 2);
}

// The final-baseline line is written back as it was read, one field per
// channel of the file. A channel inserted at `position` gets its field there,
// the fields after it move one place on, as their channels did: so the saved
// file opens again with each final baseline on its own channel. The new field
// holds the channel's initial baseline (no drift).
void insertFinalBaselineField(Sounding& s, int position) {
    if (!s.hasFinalBaseline || position < 2) return;
    std::string& line = s.finalBaselineLine;
    // The reader drops 14 characters and puts a space in front unless a sign
    // starts the rest, so field c (c >= 2) starts at 20 (c - 1) + 13, or + 14.
    const bool signFirst = line.size() > 14 && line[14] == '-';
    const std::size_t at = static_cast<std::size_t>(kFieldWidth * (position - 1) + (signFirst ? 14 : 13));
    if (line.size() < at) line.resize(at, ' ');
    std::string field;
    const char sep = line.find(',') != std::string::npos ? ',' : '.';
    appendFormatPattern(field, s.channelBaseline[position][1], "####0.00000", sep, kFieldWidth);
    line.insert(at, field);
    s.channelBaseline[position][2] = s.channelBaseline[position][1];
}

}  // namespace

int insertPorePressureChannel(Sounding& s, std::vector<std::string>& messages) {
    if (!s.porePressureMissing) return 0;
    if (s.channelCount >= kMaxChannels) {
        messages.emplace_back(kNoRoomMessage);
        return 0;
    }
    // Position 3 behind tip and sleeve; a sounding with fewer channels gets
    // it right after its last one, so the channel positions stay 1..ChannelCount.
    const int position = std::min<int>(s.channelCount + 1, 3);
    for (int c = s.channelCount; c >= position; --c) moveChannel(s, c, c + 1);
    describePorePressureChannel(s, position);
    ++s.channelCount;
    insertFinalBaselineField(s, position);
    s.porePressureMissing = false;
    return position;
}

int32_t snapDepths(Sounding& s) {
    int32_t moved = 0;
    const float increment = s.depthIncrement;
    const float grid = roundToSingle(static_cast<double>(increment) * 100.0);
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        // Whole centimetres, halves up.
        const double centimetres = std::floor(static_cast<double>(s.depth[r]) * 100.0 + 0.5);
        const double steps = centimetres / grid;
        const double wholeSteps = std::floor(steps);
        // On the grid: the stored depth is kept as it is, not replaced by the
        // rounded centimetres (1.0503 stays 1.0503).
        if (static_cast<double>(roundToSingle(steps)) == wholeSteps) continue;
        const float snapped = roundToSingle(wholeSteps * static_cast<double>(increment));
        // The depth before the first reading is the surface, 0.
        const float before = r == 1 ? 0.0f : s.depth[r - 1];
        // Bit-for-bit: a snapped depth that only rounding tells apart from
        // the one before it is not a collision.
        const float now = snapped == before ? before + increment : snapped;
        if (now != s.depth[r]) ++moved;
        s.depth[r] = now;
    }
    return moved;
}

int32_t fillDepthGaps(Sounding& s, std::vector<std::string>& messages, AutoCleanResult* result) {
    const float increment = s.depthIncrement;
    const int32_t scanEnd = s.readingCount - 1;  // fixed before any insertion
    int32_t inserted = 0;
    for (int32_t r = 1; r <= scanEnd; ++r) {
        const float twoStepsOn = s.depth[r] + 2.0f * increment;
        if (!(twoStepsOn <= s.depth[r + 1])) continue;
        if (s.readingCount >= kMaxReadings) {
            messages.emplace_back(kCapacityMessage);
            break;
        }
        const int32_t n = ++s.readingCount;

        // Make room at r + 1: readings r + 1 .. n - 1 move up by one. Each
        // channel moves at its own offset of NoDataCount readings, and only
        // the readings that exist (from reading 1 on).
        // The columns walked by pointer are made long enough first.
        const auto rows = static_cast<std::size_t>(n) + 1;
        moveUpByOne(s.valueColumn(0).hold(rows), r + 1, n - 1);
        for (int c = 1; c <= s.channelCount; ++c) {
            const int32_t lag = std::max<int32_t>(0, s.noDataCount[c]);
            moveUpByOne(s.valueColumn(c).hold(rows), std::max<int32_t>(r + 1 - lag, 1), n - 1 - lag);
        }
        moveUpByOne(s.speed.hold(rows), r + 1, n - 1);
        moveUpByOne(s.depth.hold(rows), r + 1, n - 1);
        for (int c = 1; c <= s.channelCount; ++c)
            if (s.noDataCount[c] > 0) s.value(c, n) = kNoDataValue;

        // The new reading keeps the channel values of the reading after the
        // gap (still in place), the speed of the reading before it, and the
        // next depth step. The loop looks at it next, so a wider gap gets
        // another reading behind it.
        s.speed[r + 1] = s.speed[r];
        s.depth[r + 1] = s.depth[r] + increment;
        if (result) {
            if (inserted == 0) result->firstInsertedDepth = s.depth[r + 1];
            result->lastInsertedDepth = s.depth[r + 1];
        }
        ++inserted;
    }
    return inserted;
}

AutoCleanResult autoClean(Sounding& s) {
    AutoCleanResult result;
    if (!(s.depthIncrement > 0.0f) || !std::isfinite(s.depthIncrement)) {
        result.messages.emplace_back(kNoIncrementMessage);
        return result;
    }
    result.insertedChannel = insertPorePressureChannel(s, result.messages);
    result.snappedDepths = snapDepths(s);
    result.insertedReadings = fillDepthGaps(s, result.messages, &result);
    result.ok = true;
    return result;
}

}  // namespace qm
