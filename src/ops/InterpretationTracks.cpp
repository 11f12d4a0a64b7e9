#include "ops/InterpretationTracks.h"

#include <algorithm>
#include <cmath>

#include "model/Units.h"
#include "ops/AxisTicks.h"

namespace qm {

namespace {

// One series of the interpretation: kNoDataValue where it has no value;
// joined as the channels' lines are, and broken where a value is missing.
ProfileSeries series(const Sounding& s, const std::string& name, const std::vector<double>& values, double scale) {
    ProfileSeries out;
    out.name = name;
    const int32_t count = std::min<int32_t>(s.readingCount, static_cast<int32_t>(values.size()) - 1);
    out.values.assign(static_cast<std::size_t>(std::max(count, 0)) + 1, kNoDataValue);
    int32_t start = 0;
    for (int32_t r = 1; r <= count; ++r) {
        const double v = values[static_cast<std::size_t>(r)] * scale;
        if (!hasValue(v)) {
            if (start) out.runs.emplace_back(start, r - 1);
            start = 0;
            continue;
        }
        out.values[static_cast<std::size_t>(r)] = static_cast<float>(v);
        if (!start) start = r;
        if (r == count || !joined(s, r)) {
            out.runs.emplace_back(start, r);
            start = 0;
        }
    }
    return out;
}

// The scale rounded out to tick steps around the values and `low`..`high`.
void scaleAround(ProfileTrack& t, double low, double high) {
    for (const ProfileSeries& se : t.series)
        for (std::size_t i = 1; i < se.values.size(); ++i)
            if (se.values[i] != kNoDataValue) {
                low = std::min<double>(low, se.values[i]);
                high = std::max<double>(high, se.values[i]);
            }
    const double step = tickStep(low, high, 5);
    t.low = std::floor(low / step + 1e-9) * step;
    t.high = std::ceil(high / step - 1e-9) * step;
    if (t.high <= t.low) t.high = t.low + step;
}

ProfileTrack track(TrackKind kind, std::string title, std::string unit) {
    ProfileTrack t;
    t.kind = kind;
    t.key = title;
    t.title = std::move(title);
    t.unit = std::move(unit);
    return t;
}

// qt in the unit of the tip channel, converted back from MPa as the
// channel's values would be.
void addQt(ProfileData& p, const Sounding& s, const ChannelTypeTable& tables, const Interpretation& in) {
    const auto tip = std::find_if(p.tracks.begin(), p.tracks.end(),
                                  [](const ProfileTrack& t) { return t.kind == TrackKind::TipResistance; });
    if (tip == p.tracks.end() || !in.tipChannel) return;
    const int c = in.tipChannel;
    const int mpa = findUnit(s, tables, c, "MPA");
    const double mpaFactor = tables.factor(s.channelType[c], mpa);
    if (mpa == 0 || mpaFactor == 0.0 || s.channelUnitFactor[c] == 0.0f) return;
    const double scale = s.channelUnitIndex[c] == mpa ? 1.0 : s.channelUnitFactor[c] / mpaFactor;
    tip->series.push_back(series(s, "qt", in.qt, scale));
    // Wider only: qt is above qc where u2 is positive.
    const double low = tip->low, high = tip->high;
    scaleAround(*tip, low, high);
    tip->low = std::min(tip->low, low);
}

}  // namespace

void addInterpretationTracks(ProfileData& p, const Sounding& s, const ChannelTypeTable& tables,
                             const Interpretation& in, const InterpretationTrackChoice& choice) {
    if (!in.tipChannel) return;
    addQt(p, s, tables, in);
    std::vector<ProfileTrack> added;
    if (choice.bq && in.poreChannel) {
        ProfileTrack t = track(TrackKind::PoreRatio, "Bq", "-");
        t.series.push_back(series(s, "Bq", in.bq, 1.0));
        scaleAround(t, -0.2, 1.0);
        added.push_back(std::move(t));
    }
    if (choice.ic) {
        ProfileTrack t = track(TrackKind::BehaviourIndex, "Ic", "-");
        t.series.push_back(series(s, "Ic", in.ic, 1.0));
        for (const SoilZone& z : soilZones())
            if (std::isfinite(z.icBelow)) t.marks.push_back(z.icBelow);
        t.low = 1.0;
        t.high = 4.0;
        added.push_back(std::move(t));
    }
    if (choice.zones) {
        ProfileTrack t = track(TrackKind::SoilBehaviour, "SBT", "zone");
        std::vector<double> zones(in.zone.size(), std::nan(""));
        for (std::size_t r = 1; r < in.zone.size(); ++r)
            if (in.zone[r] != 0) zones[r] = in.zone[r];
        t.series.push_back(series(s, "SBT", zones, 1.0));
        t.low = 0.0;
        t.high = 1.0;
        added.push_back(std::move(t));
    }
    // After the main tracks, before the optional ones.
    const auto firstOptional =
        std::find_if(p.tracks.begin(), p.tracks.end(), [](const ProfileTrack& t) { return t.optional; });
    p.tracks.insert(firstOptional, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

LogHeaderField interpretationHeaderField(const Interpretation& in) {
    return {"Interpretation", interpretationSummary(in)};
}

}  // namespace qm
