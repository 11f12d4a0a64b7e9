#pragma once
// "&AutoClean For Interp": readies a sounding for interpretation software in
// one pass. Adds a pore-pressure channel when there is none, snaps every depth
// onto the depth increment's grid, then fills gaps in the depth sequence with
// one reading per missing step. The caller refreshes the page afterwards.

#include <cstdint>

#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

// The channel the clean-up adds when the sounding has no pore-pressure
// channel. Its raw readings are all 1.0 with baseline 1.0, so every value is 0.
constexpr int16_t kPorePressureType = 3;
inline constexpr const char* kPorePressureName = "PRESSURE U2";
constexpr float kPorePressureRawSpan = 1.0f;
constexpr float kPorePressureBaseline = 1.0f;
constexpr float kPorePressureFullScale = 3447.5f;

struct AutoCleanResult : OpResult {
    // Position of the added pore-pressure channel, 0 when none was added.
    // Every channel from here to ChannelCount has moved or is new, so the
    // window re-labels those columns and refills their unit boxes.
    int insertedChannel = 0;
    int32_t insertedReadings = 0;
    // For the history's words: how many depths the snap moved, and the
    // depths of the first and last inserted reading.
    int32_t snappedDepths = 0;
    float firstInsertedDepth = 0.0f;
    float lastInsertedDepth = 0.0f;
};

// The whole command. A DepthIncrement that is not above 0 leaves no grid to
// snap to: the command is refused and nothing changes.
AutoCleanResult autoClean(Sounding& s);

// The three steps on their own, as autoClean runs them.

// Adds the pore-pressure channel at position 3 (position 2 on a one-channel
// sounding), moving channels 3.. up by one; returns that position. With ten
// channels there is no room: returns 0 and adds the message to `messages`.
// Does nothing (returns 0) when PorePressureMissing is false.
int insertPorePressureChannel(Sounding& s, std::vector<std::string>& messages);

// Moves each depth that is not on the grid down onto it; a reading that would
// land exactly on the depth before it is pushed one increment further.
// DepthIncrement must be above 0. Returns how many depths moved.
int32_t snapDepths(Sounding& s);

// Inserts a reading for every missing depth step after readings 1..N0 - 1,
// N0 being ReadingCount at the start. Stops at the reading capacity with a
// message. Returns the number of readings inserted; `result`, when given,
// gets the depths of the first and last of them.
int32_t fillDepthGaps(Sounding& s, std::vector<std::string>& messages, AutoCleanResult* result = nullptr);

}  // namespace qm
