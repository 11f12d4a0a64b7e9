#pragma once
// What the profile of a sounding shows, without any drawing: the tracks a
// sounding's channels give, the friction ratio computed from tip and sleeve,
// the runs of readings each line is drawn in (broken at readings without
// data and at wide depth gaps), the hydrostatic line from the water table,
// the depth axis in the page's unit and format, and the gaps a drill-out
// left. The window's profile view and the log files draw it (with the
// scales and ticks of ops/TrackScales and ops/AxisTicks); the tests check it.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

// Hydrostatic pressure of fresh water, kPa per metre below the water table.
constexpr double kHydrostaticKpaPerMetre = 9.81;

enum class TrackKind {
    TipResistance, SleeveFriction, PorePressure, FrictionRatio, OtherChannel,
    // The interpretation's tracks (ops/InterpretationTracks).
    PoreRatio, BehaviourIndex, SoilBehaviour
};

// One line of a track: a value per reading (index 1..readingCount; absent
// readings hold kNoDataValue) and the runs of consecutive readings that are
// joined by a line, first and last reading of each run.
struct ProfileSeries {
    std::string name;
    int channel = 0;  // 0 for the friction ratio
    std::vector<float> values;
    std::vector<std::pair<int32_t, int32_t>> runs;
};

struct ProfileTrack {
    TrackKind kind = TrackKind::OtherChannel;
    // The name a user gives the track (qc, fs, u, Rf; a channel's name).
    std::string key;
    std::string title;
    std::string unit;  // the table's unit name
    // One kilopascal in the track's unit (0 for a track not of pressure).
    double perKpa = 0.0;
    int channel = 0;  // the channel of a single-channel track; the pore track's unit channel
    bool optional = false;
    std::vector<ProfileSeries> series;
    // u0 in the track's unit at axis positions (page depth unit), top first;
    // empty when the water table box holds no number.
    std::vector<std::pair<double, double>> hydrostatic;
    // Values at which the track draws a thin line down its length (Ic's zone
    // boundaries); empty for most tracks.
    std::vector<double> marks;
    // The value scale, low < high (ops/TrackScales sets it); ownScale: the
    // user chose it.
    double low = 0.0, high = 1.0;
    bool ownScale = false;
};

struct ProfileData {
    int32_t readingCount = 0;
    bool feet = false;       // the axis is in feet (else metres)
    bool elevation = false;  // elevations: the higher value at the top
    std::vector<float> axis; // the page's depth of each reading, 1..readingCount
    double axisMin = 0.0, axisMax = 0.0;  // extent over the readings
    // The main tracks (tip, sleeve, pore pressure, friction ratio) as the
    // sounding has them, then one optional track per other channel.
    std::vector<ProfileTrack> tracks;
    // The depth gaps between readings that the lines do not join (a
    // drill-out): axis values of the readings above and below each.
    std::vector<std::pair<double, double>> gaps;
};

// The profile of `s` with the page's depth unit; `waterTableDepth` in metres
// below the ground (in elevation format the first reading counts as the
// ground), or none.
ProfileData buildProfile(const Sounding& s, const ChannelTypeTable& table, bool feet,
                         std::optional<double> waterTableDepth);

// Readings r and r + 1 of the profile are joined by a line.
bool joined(const Sounding& s, int32_t r);

}  // namespace qm
