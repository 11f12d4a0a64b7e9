#include "ops/TrackScales.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/NumberText.h"
#include "ops/AxisTicks.h"

namespace qm {

namespace {

bool hasData(float v) { return v != kNoDataValue && std::isfinite(v); }

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

constexpr double kRoundSteps[] = {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0};

// How many readings at either end of `count` sorted ones the scale leaves
// to the spikes: 2 % (at least one) from ten readings on, none below.
std::size_t spikesAtEachEnd(std::size_t count) {
    if (count < kScaleLeastReadingsForSpikes) return 0;
    return static_cast<std::size_t>(std::ceil(kScaleBulkShare * static_cast<double>(count - 1) - 1e-9));
}

double roundUp(double v, const std::vector<double>& standard) {
    for (double s : standard)
        if (s >= v * (1 - 1e-9)) return s;
    return roundNumber(v);
}

}  // namespace

double roundNumber(double v, bool nearest) {
    if (!(v > 0.0) || !std::isfinite(v)) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    double best = 10.0 * power;
    for (double m : kRoundSteps) {
        const double candidate = m * power;
        if (nearest) {
            if (std::fabs(candidate - v) < std::fabs(best - v)) best = candidate;
        } else if (candidate >= v * (1 - 1e-9)) {
            return candidate;
        }
    }
    return best;
}

ValueRange automaticScale(std::vector<float> values, bool fromZero, const std::vector<double>& standard) {
    values.erase(std::remove_if(values.begin(), values.end(), [](float v) { return !hasData(v); }), values.end());
    if (values.empty()) return {0.0, standard.empty() ? 1.0 : standard.front()};
    std::sort(values.begin(), values.end());
    const std::size_t spikes = spikesAtEachEnd(values.size());
    const double bulkLow = values[spikes], bulkHigh = values[values.size() - 1 - spikes];
    if (fromZero) {
        ValueRange r{0.0, 0.0};
        if (bulkHigh > 0.0) r.high = roundUp(bulkHigh * (1 + kScaleHeadroom), standard);
        if (bulkLow < 0.0) r.low = -roundNumber(-bulkLow * (1 + kScaleHeadroom));
        if (r.high <= r.low) r.high = standard.empty() ? 1.0 : standard.front();
        return r;
    }
    double low = bulkLow, high = bulkHigh;
    const double span = high - low;
    if (span < 1e-9 * std::max(1.0, std::fabs(high))) {
        const double pad = std::max(1.0, std::fabs(high) * 0.1);
        low -= pad;
        high += pad;
    } else {
        low -= span * kScaleHeadroom;
        high += span * kScaleHeadroom;
    }
    const double step = tickStep(low, high, 5);
    ValueRange r{std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step};
    if (r.high <= r.low) r.high = r.low + step;
    // A bound that rounds to zero from below is 0, not -0.
    if (r.low == 0.0) r.low = 0.0;
    if (r.high == 0.0) r.high = 0.0;
    return r;
}

std::vector<double> standardScales(const ProfileTrack& t) {
    // In kPa (per cent for the friction ratio): what clients expect to see.
    static const std::vector<double> tip = {5000, 10000, 20000, 30000, 40000, 60000, 80000, 100000};
    static const std::vector<double> sleeve = {50, 100, 200, 300, 500, 1000};
    static const std::vector<double> pore = {100, 200, 500, 1000, 2000, 5000};
    static const std::vector<double> ratio = {2, 5, 10, 20};
    const std::vector<double>* base = nullptr;
    switch (t.kind) {
        case TrackKind::TipResistance: base = &tip; break;
        case TrackKind::SleeveFriction: base = &sleeve; break;
        case TrackKind::PorePressure: base = &pore; break;
        case TrackKind::FrictionRatio: return ratio;
        default: return {};
    }
    std::vector<double> out;
    if (!(t.perKpa > 0.0) || !std::isfinite(t.perKpa)) return out;
    for (double kpa : *base) {
        const double v = roundNumber(kpa * t.perKpa, true);
        if (out.empty() || v > out.back()) out.push_back(v);
    }
    return out;
}

std::optional<ValueRange> parseScale(const std::string& text, char sep) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) return std::nullopt;
    const std::optional<double> low = localeTextToNumber(trimmed(text.substr(0, colon)), sep);
    const std::optional<double> high = localeTextToNumber(trimmed(text.substr(colon + 1)), sep);
    if (!low || !high || !std::isfinite(*low) || !std::isfinite(*high) || !(*low < *high)) return std::nullopt;
    return ValueRange{*low, *high};
}

std::string scaleText(const ValueRange& r, char sep) {
    return generalNumberText(static_cast<float>(r.low), sep) + ":" + generalNumberText(static_cast<float>(r.high), sep);
}

bool trackNamed(const ProfileTrack& t, const std::string& name) {
    const std::string n = lower(trimmed(name));
    if (n.empty()) return false;
    if (n == lower(trimmed(t.key)) || n == lower(trimmed(t.title))) return true;
    return t.kind == TrackKind::OtherChannel && t.channel > 0 && n == std::to_string(t.channel);
}

void applyScales(ProfileData& p, const ScaleChooser& chosen) {
    for (ProfileTrack& t : p.tracks) {
        // Ic is read against the zone chart's fixed bounds, and the soil
        // behaviour column has no value axis: their scales stay as made.
        if (t.kind == TrackKind::BehaviourIndex || t.kind == TrackKind::SoilBehaviour) continue;
        if (chosen)
            if (const std::optional<ValueRange> own = chosen(t)) {
                t.low = own->low;
                t.high = own->high;
                t.ownScale = true;
                continue;
            }
        std::vector<float> all;
        for (const ProfileSeries& series : t.series)
            all.insert(all.end(), series.values.begin() + (series.values.empty() ? 0 : 1), series.values.end());
        for (const auto& point : t.hydrostatic) all.push_back(static_cast<float>(point.second));
        const ValueRange r = automaticScale(std::move(all), t.kind != TrackKind::OtherChannel, standardScales(t));
        t.low = r.low;
        t.high = r.high;
        t.ownScale = false;
    }
}

std::vector<ClipRun> clipRuns(const ProfileSeries& s, double low, double high) {
    std::vector<ClipRun> out;
    for (const auto& [from, to] : s.runs)
        for (int32_t r = from; r <= to && static_cast<std::size_t>(r) < s.values.size(); ++r) {
            const float v = s.values[static_cast<std::size_t>(r)];
            if (!hasData(v) || (v >= low && v <= high)) continue;
            const bool above = v > high;
            if (!out.empty() && out.back().high == above && out.back().to == r - 1 && r != from)
                out.back().to = r;
            else
                out.push_back({r, r, above});
        }
    return out;
}

}  // namespace qm
