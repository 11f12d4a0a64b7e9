#pragma once
// The channel shift panel: per channel its lowest reading and final baseline
// drift, "SHIFT READINGS" (adds an offset to a channel, in the unit the
// channel is shown in) and "REMOVE NEGATIVES" (replaces negative and zero
// readings by a small positive value). The caller refreshes the page.

#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

inline constexpr const char* kNotAvailable = "Not Available";
// Channel types whose negative readings are real (REMOVE NEGATIVES keeps them).
constexpr int16_t kSignedChannelTypeA = 6;
constexpr int16_t kSignedChannelTypeB = 7;

// What one row of the panel shows for channel c.
struct ShiftPanelRow {
    std::string channelName;    // lblShiftChanLabel
    std::string lowestReading;  // lblLowestReadingChan
    std::string finalBaseline;  // lblFinalBaselineChan: the drift, or "Not Available"
    std::string offset;         // txtShiftChannelByChan: "0" on every opening
    std::string unitName;       // lblShiftUnitsChan
};

// Rows for channels 1..ChannelCount (element 0 is channel 1).
std::vector<ShiftPanelRow> shiftPanelRows(const Sounding& s, const ChannelTypeTable& table, char sep);

// Readings at or below this are left out when the lowest reading is sought:
// 2 % of full scale below zero, in the channel's current unit.
float lowestReadingFloor(const Sounding& s, int c);
// What REMOVE NEGATIVES puts in place of a reading at or below 0: 0.001 % of
// full scale, in the channel's current unit.
float replacementValue(const Sounding& s, int c);
// The smallest reading above the floor that holds data; reading 1's value
// when there is none.
float lowestReading(const Sounding& s, int c);

// SHIFT READINGS: offsetTexts[c - 1] is the typed offset of channel c, read
// with the decimal separator `sep`; channels past the end of the list count
// as offset 0. A text that is not a number refuses the whole command before
// any channel changes. An offset of 0 leaves its channel alone; readings
// without data (NoDataValue) are never shifted.
OpResult shiftReadings(Sounding& s, const std::vector<std::string>& offsetTexts, char sep);

// REMOVE NEGATIVES on every channel except types 6 and 7. Readings without
// data are negative too and are replaced like the others.
OpResult removeNegatives(Sounding& s);

}  // namespace qm
