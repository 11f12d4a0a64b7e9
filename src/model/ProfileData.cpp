#include "model/ProfileData.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/NumberText.h"
#include "model/Units.h"

namespace qm {

namespace {

bool hasData(float v) { return v != kNoDataValue && std::isfinite(v); }

int firstChannelOfType(const Sounding& s, int type) {
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels; ++c)
        if (s.channelType[c] == type) return c;
    return 0;
}

bool isPoreType(int type) { return type == 3 || type == 4 || type == 5; }

std::string unitOf(const Sounding& s, const ChannelTypeTable& table, int c) {
    return table.name(s.channelType[c], s.channelUnitIndex[c]);
}

// The runs of readings with data that the line joins.
void findRuns(const Sounding& s, ProfileSeries& series) {
    int32_t start = 0;
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        if (!hasData(series.values[static_cast<std::size_t>(r)])) {
            if (start) series.runs.emplace_back(start, r - 1);
            start = 0;
            continue;
        }
        if (!start) start = r;
        if (r == s.readingCount || !joined(s, r)) {
            series.runs.emplace_back(start, r);
            start = 0;
        }
    }
}

ProfileSeries channelSeries(const Sounding& s, int c, double scale) {
    ProfileSeries series;
    series.name = s.channelName[c];
    series.channel = c;
    series.values.assign(static_cast<std::size_t>(s.readingCount) + 1, kNoDataValue);
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        const float v = s.value(c, r);
        if (hasData(v)) series.values[static_cast<std::size_t>(r)] = static_cast<float>(v * scale);
    }
    findRuns(s, series);
    return series;
}

// Rf = fs / qc x 100 with both in their base unit; absent where either has
// no data or qc is 0 or less.
ProfileSeries frictionRatio(const Sounding& s, int tip, int sleeve) {
    ProfileSeries series;
    series.name = "Rf";
    series.values.assign(static_cast<std::size_t>(s.readingCount) + 1, kNoDataValue);
    const double fq = s.channelUnitFactor[tip], fs = s.channelUnitFactor[sleeve];
    if (fq != 0.0 && fs != 0.0) {
        for (int32_t r = 1; r <= s.readingCount; ++r) {
            const float q = s.value(tip, r), f = s.value(sleeve, r);
            if (!hasData(q) || !hasData(f)) continue;
            const double qBase = q / fq, fBase = f / fs;
            if (!(qBase > 0.0)) continue;
            const double rf = fBase / qBase * 100.0;
            if (std::isfinite(rf)) series.values[static_cast<std::size_t>(r)] = static_cast<float>(rf);
        }
    }
    findRuns(s, series);
    return series;
}

// The factor of the kilopascal in type t's unit list; the base unit when the
// list names no KPA (the shipped tables have KPA as the base unit).
double kpaFactor(const ChannelTypeTable& table, int t) {
    if (!table.hasType(t)) return 1.0;
    for (int u = 1; u <= table.unitCount[t]; ++u) {
        std::string n = table.unitName[t][u];
        for (char& ch : n) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (n == "KPA" && table.unitFactor[t][u] != 0.0f) return table.unitFactor[t][u];
    }
    return 1.0;
}

void addHydrostatic(const Sounding& s, const ChannelTypeTable& table, double waterTable, double unitPerMetre,
                    ProfileTrack& track) {
    if (s.readingCount < 1 || !std::isfinite(waterTable)) return;
    const bool elevation = s.depthFormatApplied == 1;
    const double ground = elevation ? s.depth[1] : 0.0;
    // Depth below the ground of each reading, and back to the axis.
    auto below = [&](int32_t r) { return elevation ? ground - s.depth[static_cast<std::size_t>(r)] : s.depth[static_cast<std::size_t>(r)]; };
    auto axisOf = [&](double d) { return (elevation ? ground - d : d) * unitPerMetre; };
    double top = below(1), bottom = top;
    for (int32_t r = 2; r <= s.readingCount; ++r) {
        top = std::min(top, below(r));
        bottom = std::max(bottom, below(r));
    }
    const double perMetre = kHydrostaticKpaPerMetre / kpaFactor(table, s.channelType[track.channel]) *
                            s.channelUnitFactor[track.channel];
    auto u0 = [&](double d) { return std::max(0.0, d - waterTable) * perMetre; };
    track.hydrostatic.emplace_back(axisOf(top), u0(top));
    if (waterTable > top && waterTable < bottom) track.hydrostatic.emplace_back(axisOf(waterTable), 0.0);
    if (bottom > top) track.hydrostatic.emplace_back(axisOf(bottom), u0(bottom));
}

// One kPa in channel c's unit, for the pressure types whose base unit is
// the kilopascal; 0 for the others.
double perKpa(const Sounding& s, const ChannelTypeTable& table, int c) {
    const int t = s.channelType[c];
    if (t < 1 || t > 5) return 0.0;
    return s.channelUnitFactor[c] / kpaFactor(table, t);
}

ProfileTrack singleTrack(const Sounding& s, const ChannelTypeTable& table, int c, TrackKind kind) {
    ProfileTrack track;
    track.kind = kind;
    track.title = s.channelName[c];
    track.unit = unitOf(s, table, c);
    track.perKpa = perKpa(s, table, c);
    track.channel = c;
    track.optional = kind == TrackKind::OtherChannel;
    track.key = kind == TrackKind::TipResistance ? "qc" : kind == TrackKind::SleeveFriction ? "fs" : s.channelName[c];
    track.series.push_back(channelSeries(s, c, 1.0));
    return track;
}

}  // namespace

bool joined(const Sounding& s, int32_t r) {
    // More than two depth increments apart: the gap a drill-out left.
    const double gap = std::fabs(static_cast<double>(s.depth[static_cast<std::size_t>(r) + 1]) -
                                 s.depth[static_cast<std::size_t>(r)]);
    return gap <= 2.0 * s.depthIncrement * (1.0 + 1e-4);
}

ProfileData buildProfile(const Sounding& s, const ChannelTypeTable& table, bool feet,
                         std::optional<double> waterTableDepth) {
    ProfileData p;
    p.readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    p.feet = feet;
    p.elevation = s.depthFormatApplied == 1;
    p.axis.assign(static_cast<std::size_t>(p.readingCount) + 1, 0.0f);
    for (int32_t r = 1; r <= p.readingCount; ++r) {
        const float d = s.depth[static_cast<std::size_t>(r)];
        p.axis[static_cast<std::size_t>(r)] = feet ? static_cast<float>(d * kFeetPerMetre) : d;
    }
    if (p.readingCount > 0) {
        const auto [mn, mx] = std::minmax_element(p.axis.begin() + 1, p.axis.end());
        p.axisMin = *mn;
        p.axisMax = *mx;
    }
    const int tip = firstChannelOfType(s, 1), sleeve = firstChannelOfType(s, 2);
    int pore = 0;
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels && !pore; ++c)
        if (isPoreType(s.channelType[c])) pore = c;

    if (tip) p.tracks.push_back(singleTrack(s, table, tip, TrackKind::TipResistance));
    if (sleeve) p.tracks.push_back(singleTrack(s, table, sleeve, TrackKind::SleeveFriction));
    if (pore) {
        ProfileTrack track;
        track.kind = TrackKind::PorePressure;
        track.title = "PORE PRESSURE";
        track.key = "u";
        track.unit = unitOf(s, table, pore);
        track.perKpa = perKpa(s, table, pore);
        track.channel = pore;
        // Every pore channel in the unit of the first, through the factors
        // of their common base unit.
        for (int c = pore; c <= s.channelCount && c <= kMaxChannels; ++c) {
            if (!isPoreType(s.channelType[c]) || s.channelUnitFactor[c] == 0.0f) continue;
            track.series.push_back(channelSeries(s, c, s.channelUnitFactor[pore] / double(s.channelUnitFactor[c])));
        }
        if (waterTableDepth) addHydrostatic(s, table, *waterTableDepth, feet ? kFeetPerMetre : 1.0, track);
        p.tracks.push_back(std::move(track));
    }
    if (tip && sleeve) {
        ProfileTrack track;
        track.kind = TrackKind::FrictionRatio;
        track.title = "FRICTION RATIO";
        track.key = "Rf";
        track.unit = "%";
        track.series.push_back(frictionRatio(s, tip, sleeve));
        p.tracks.push_back(std::move(track));
    }
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels; ++c)
        if (c != tip && c != sleeve && !isPoreType(s.channelType[c]))
            p.tracks.push_back(singleTrack(s, table, c, TrackKind::OtherChannel));
    for (int32_t r = 1; r < p.readingCount; ++r)
        if (!joined(s, r))
            p.gaps.emplace_back(p.axis[static_cast<std::size_t>(r)], p.axis[static_cast<std::size_t>(r) + 1]);
    return p;
}

}  // namespace qm
