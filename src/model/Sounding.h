#pragma once
// The one in-memory record of an open sounding: header texts, channel
// descriptions and readings, with the raw <-> engineering conversion.
// Channels and readings are indexed from 1; index 0 carries nothing except
// value(0, r), the depth column as the readings page shows it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ReadingColumn.h"

namespace qm {

constexpr int kMaxChannels = 10;
constexpr int kMaxChannelTypes = 20;
constexpr int kMaxUnits = 10;
constexpr float kNoDataValue = -32768.0f;

struct Sounding {
    Sounding();

    // Header texts, kept exactly as read (file lines 2 to 13).
    std::string companyName, operatorName, coneNumber, location, jobNumber, holeNumber,
        dateAndTime, header, footnote1, footnote2, gpsSentence, waterTableDepth;

    // File identity.
    std::string filePath, openedFileTitle, versionLine;

    // Channel descriptions, index 1..channelCount.
    int16_t channelCount = 0;
    std::array<int16_t, kMaxChannels + 1> channelType{};
    std::array<std::string, kMaxChannels + 1> channelName{};
    std::array<float, kMaxChannels + 1> channelRawSpan{};
    std::array<std::array<float, 3>, kMaxChannels + 1> channelBaseline{};  // [c][1] initial, [c][2] final
    std::array<float, kMaxChannels + 1> channelFullScale{};
    std::array<int16_t, kMaxChannels + 1> channelUnitIndex{};
    std::array<float, kMaxChannels + 1> channelUnitFactor{};
    std::array<float, kMaxChannels + 1> baselineDrift{};
    std::array<int16_t, kMaxChannels + 1> noDataCount{};

    // Readings, index 1..readingCount.
    int32_t readingCount = 0;
    // The columns hold what the sounding has (see ReadingColumn): a reading
    // past the end reads 0, as it would in a full zeroed record.
    ReadingColumn depth;  // metres, or elevation in elevation format
    ReadingColumn speed;  // cm/s

    float& raw(int c, int r) { return channelOk(c) ? raw_[c][at(r)] : dropped(); }
    float raw(int c, int r) const { return channelOk(c) ? raw_[c][at(r)] : 0.0f; }
    // value(c, r) for c >= 1 is the engineering value in the channel's unit;
    // value(0, r) is the page's depth in metres or feet.
    float& value(int c, int r) { return channelOk(c) ? values_[c][at(r)] : dropped(); }
    float value(int c, int r) const { return channelOk(c) ? values_[c][at(r)] : 0.0f; }

    // Sounding-wide fields.
    int16_t depthDecimals = 0;
    float depthIncrement = 0.0f;
    int16_t depthFormat = 0;         // requested: 0 depth, 1 elevation
    int16_t depthFormatApplied = 0;  // what the numbers in depth are in now
    int16_t noDataLeadCount = 0;
    bool porePressureMissing = false;
    bool hasFinalBaseline = false;
    std::string finalBaselineLine;

    // Page cursor.
    int32_t dataIndex = 0;
    int16_t pageRow = 0;

    bool isNewerLayout() const;  // the version line contains "2015"

    // Channel c's columns whole (c from 0 to kMaxChannels), for code that
    // walks them by pointer after hold() and for the undo history, which
    // keeps only the parts of them a command changed.
    ReadingColumn& rawColumn(int c) { return raw_[static_cast<std::size_t>(c)]; }
    const ReadingColumn& rawColumn(int c) const { return raw_[static_cast<std::size_t>(c)]; }
    ReadingColumn& valueColumn(int c) { return values_[static_cast<std::size_t>(c)]; }
    const ReadingColumn& valueColumn(int c) const { return values_[static_cast<std::size_t>(c)]; }

    // Every column by number, 0 to kColumnCount - 1: depth, speed, then
    // the raw readings of channels 0 to kMaxChannels, then their values.
    static constexpr int kColumnCount = 2 + 2 * (kMaxChannels + 1);
    static constexpr int rawColumnNumber(int c) { return 2 + c; }
    static constexpr int valueColumnNumber(int c) { return 3 + kMaxChannels + c; }
    ReadingColumn& column(int i) {
        if (i == 0) return depth;
        if (i == 1) return speed;
        if (i < valueColumnNumber(0)) return raw_[static_cast<std::size_t>(i - rawColumnNumber(0))];
        return values_[static_cast<std::size_t>(i - valueColumnNumber(0))];
    }
    const ReadingColumn& column(int i) const { return const_cast<Sounding*>(this)->column(i); }

    // Back to the blank record a new Sounding is, keeping the memory of the
    // columns rather than allocating it again: readers that fill one record
    // after another reuse theirs.
    void makeBlank();

   private:
    static bool channelOk(int c) { return c >= 0 && c <= kMaxChannels; }
    // A negative reading number becomes one past every slot: read as 0,
    // written nowhere.
    static std::size_t at(int r) { return r < 0 ? std::size_t{kReadingSlots} : static_cast<std::size_t>(r); }
    float& dropped() {
        dropped_ = 0.0f;
        return dropped_;
    }
    std::array<ReadingColumn, kMaxChannels + 1> raw_;
    std::array<ReadingColumn, kMaxChannels + 1> values_;
    float dropped_ = 0.0f;
};

// The header texts in the order of file lines 2 to 13: the reader fills
// them, the writer writes them and the checks compare them in this order.
inline constexpr std::array<std::string Sounding::*, 12> kHeaderLines = {
    &Sounding::companyName, &Sounding::operatorName, &Sounding::coneNumber, &Sounding::location,
    &Sounding::jobNumber,   &Sounding::holeNumber,   &Sounding::dateAndTime, &Sounding::header,
    &Sounding::footnote1,   &Sounding::footnote2,    &Sounding::gpsSentence, &Sounding::waterTableDepth};

// Raw reading -> engineering value of channel c: (raw - baseline) / span *
// full scale * unit factor, in double, rounded to float once at the end.
// NoDataValue stays NoDataValue. This form takes the calibration apart, for
// readings taken with another channel's calibration (the second file of a
// combine). Inline: the reader converts every reading of a file with it.
inline float rawToValue(float raw, float baseline, float span, float fullScale, float unitFactor) {
    if (raw == kNoDataValue) return kNoDataValue;
    double v = static_cast<double>(raw) - static_cast<double>(baseline);
    v /= static_cast<double>(span);
    v *= static_cast<double>(fullScale);
    v *= static_cast<double>(unitFactor);
    return static_cast<float>(v);
}
// The same with channel c's calibration.
inline float rawToValue(const Sounding& s, int c, float raw) {
    return rawToValue(raw, s.channelBaseline[c][1], s.channelRawSpan[c], s.channelFullScale[c],
                      s.channelUnitFactor[c]);
}

// Engineering value -> raw reading, as the writer rebuilds it: three float
// stores (through the unit factor, then span over full scale, then the
// baseline). `unitFactor` is the factor of the channel's current unit in the
// channel type table. NoDataValue stays NoDataValue.
float valueToRaw(const Sounding& s, int c, float value, float unitFactor);

}  // namespace qm
