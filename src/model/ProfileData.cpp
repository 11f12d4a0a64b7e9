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

// The value scale of a track: its data (and u0), from 0 for the main tracks,
// the friction ratio without the few wild values a near-zero tip gives.
void scaleTrack(ProfileTrack& track) {
    std::vector<float> all;
    for (const ProfileSeries& series : track.series)
        for (std::size_t i = 1; i < series.values.size(); ++i)
            if (hasData(series.values[i])) all.push_back(series.values[i]);
    for (const auto& point : track.hydrostatic) all.push_back(static_cast<float>(point.second));
    double low = 0.0, high = 0.0;
    if (!all.empty()) {
        const auto [mn, mx] = std::minmax_element(all.begin(), all.end());
        low = *mn;
        high = *mx;
        if (track.kind == TrackKind::FrictionRatio && all.size() > 20) {
            const auto at = all.begin() + static_cast<std::ptrdiff_t>(all.size() * 99 / 100);
            std::nth_element(all.begin(), at, all.end());
            high = std::min<double>(high, std::max(1.0, *at * 1.5));
        }
    }
    if (track.kind != TrackKind::OtherChannel) {
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    if (high - low < 1e-9 * std::max(1.0, std::fabs(high))) {
        const double pad = std::max(1.0, std::fabs(high) * 0.1);
        low -= pad;
        high += pad;
    }
    const double step = tickStep(low, high, 5);
    track.low = std::floor(low / step + 1e-9) * step;
    track.high = std::ceil(high / step - 1e-9) * step;
    if (track.high <= track.low) track.high = track.low + step;
}

ProfileTrack singleTrack(const Sounding& s, const ChannelTypeTable& table, int c, TrackKind kind) {
    ProfileTrack track;
    track.kind = kind;
    track.title = s.channelName[c];
    track.unit = unitOf(s, table, c);
    track.channel = c;
    track.optional = kind == TrackKind::OtherChannel;
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
        track.unit = unitOf(s, table, pore);
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
        track.unit = "%";
        track.series.push_back(frictionRatio(s, tip, sleeve));
        p.tracks.push_back(std::move(track));
    }
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels; ++c)
        if (c != tip && c != sleeve && !isPoreType(s.channelType[c]))
            p.tracks.push_back(singleTrack(s, table, c, TrackKind::OtherChannel));
    for (ProfileTrack& track : p.tracks) scaleTrack(track);
    return p;
}

double tickStep(double low, double high, int maxTicks) {
    if (low > high) std::swap(low, high);
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    // The finest step of 1, 2 or 5 times a power of ten whose ticks number
    // no more than maxTicks.
    const double rough = span / std::max(1, maxTicks);
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (int i = 0; i < 40; ++i, power *= 10.0)
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            const double count = std::floor(high / step + 1e-9) - std::ceil(low / step - 1e-9) + 1.0;
            if (count <= std::max(1, maxTicks)) return step;
        }
    return span;
}

std::vector<double> niceTicks(double low, double high, int maxTicks) {
    if (low > high) std::swap(low, high);
    const double step = tickStep(low, high, maxTicks);
    std::vector<double> ticks;
    for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9 && ticks.size() < 1000; k += 1.0)
        ticks.push_back(std::fabs(k) < 1e-12 ? 0.0 : k * step);
    return ticks;
}

std::string tickText(double value, double step, char sep) {
    int decimals = 0;
    if (step > 0.0 && step < 1.0) decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
    const std::string pattern = decimals ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    return formatPattern(std::fabs(value) < step * 1e-6 ? 0.0 : value, pattern, sep);
}

}  // namespace qm
