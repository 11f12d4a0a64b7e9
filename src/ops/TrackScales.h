#pragma once
// The value scale of each track of the profile and the log: chosen from the
// bulk of the readings, so that a few spikes cannot flatten the rest, and
// rounded to round numbers; or one of a track's standard scales; or the
// user's own minimum and maximum. Readings beyond the scale are drawn at
// the track's edge, where a mark shows that they go on.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/ProfileData.h"

namespace qm {

struct ValueRange {
    double low = 0.0, high = 1.0;
};

// The share of readings the automatic scale leaves to the spikes at either
// end (the lowest and the highest 2 %, at least one each), from this many
// readings on.
constexpr double kScaleBulkShare = 0.02;
constexpr std::size_t kScaleLeastReadingsForSpikes = 10;
// Room above the bulk, as a share of it.
constexpr double kScaleHeadroom = 0.1;

// The automatic scale of `values` (readings without data left out). From 0
// when `fromZero` (tip, sleeve, pore pressure, friction ratio: 0 stays in
// view, below it too when the bulk goes below), else around the bulk. The
// high end is the least of `standard` (ascending maxima) that holds the
// bulk and its headroom, else rounded up to 1, 1.5, 2, 2.5, 3, 4, 5, 6 or 8
// times a power of ten; a free track rounds both ends to its tick step.
ValueRange automaticScale(std::vector<float> values, bool fromZero, const std::vector<double>& standard);

// The standard maxima of a track (scales from 0), ascending: qc, fs, pore
// pressure and the friction ratio have them, converted into the track's unit
// and rounded; other tracks have none.
std::vector<double> standardScales(const ProfileTrack& t);

// The round number at or above v > 0 (1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 times
// a power of ten); `nearest` takes the nearest instead.
double roundNumber(double v, bool nearest = false);

// "MIN:MAX" with `sep` as the decimal separator; MIN below MAX, both finite.
std::optional<ValueRange> parseScale(const std::string& text, char sep);
std::string scaleText(const ValueRange& r, char sep);

// Track `t` is the one a user names `name`: its key (qc, fs, u, Rf or a
// channel's name), its title, or the number of its channel, in any case.
bool trackNamed(const ProfileTrack& t, const std::string& name);

// Gives every track its scale: the user's where `chosen` has one for it,
// else the automatic one.
using ScaleChooser = std::function<std::optional<ValueRange>(const ProfileTrack&)>;
void applyScales(ProfileData& p, const ScaleChooser& chosen = {});

// Runs of readings beyond the scale, drawn at the track's edge: first and
// last reading of each run, and the side (true: above high).
struct ClipRun {
    int32_t from = 0, to = 0;
    bool high = false;
};
std::vector<ClipRun> clipRuns(const ProfileSeries& s, double low, double high);

}  // namespace qm
