// The rules of the profile's and the log's scales, depth ticks, unit
// spellings and titles, over the rows of tests/cases/profile-rules.tsv:
// FUNCTION, INPUT, PARAMETER and the expected RESULT, separated by tabs.
// Lines starting with # are comments. Values lists are comma-separated; x
// stands for a reading without data.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "ops/AxisTicks.h"
#include "ops/TrackLabels.h"
#include "ops/TrackScales.h"

namespace qm {
namespace {

std::vector<std::string> split(const std::string& text, char by) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, by);) out.push_back(part);
    return out;
}

std::string shown(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

std::vector<float> values(const std::string& list) {
    std::vector<float> out;
    for (const std::string& v : split(list, ','))
        out.push_back(v == "x" ? kNoDataValue : static_cast<float>(std::strtod(v.c_str(), nullptr)));
    return out;
}

std::string joined(const std::vector<double>& v) {
    std::string out;
    for (double d : v) out += (out.empty() ? "" : ",") + shown(d);
    return out;
}

// A track of `kind` (qc, fs, u, Rf, other) with `perKpa`.
ProfileTrack track(const std::string& kind, double perKpa) {
    ProfileTrack t;
    t.kind = kind == "qc" ? TrackKind::TipResistance : kind == "fs" ? TrackKind::SleeveFriction
             : kind == "u"  ? TrackKind::PorePressure  : kind == "Rf" ? TrackKind::FrictionRatio
                            : TrackKind::OtherChannel;
    t.perKpa = perKpa;
    return t;
}

using Function = std::function<std::string(const std::string& in, const std::string& param)>;

const std::map<std::string, Function>& functions() {
    static const std::map<std::string, Function> all = {
        // The automatic scale of the values; PARAMETER "zero" or "free", then
        // ";" and the standard maxima, if any
        {"autoscale", [](auto& in, auto& p) {
             const std::vector<std::string> parts = split(p, ';');
             std::vector<double> standard;
             if (parts.size() > 1)
                 for (const std::string& v : split(parts[1], ',')) standard.push_back(std::stod(v));
             const ValueRange r = automaticScale(values(in), parts[0] == "zero", standard);
             return shown(r.low) + ":" + shown(r.high);
         }},
        // A track's standard maxima; INPUT its kind, PARAMETER one kPa in its unit
        {"standard", [](auto& in, auto& p) {
             const std::string list = joined(standardScales(track(in, std::stod(p))));
             return list.empty() ? std::string("none") : list;
         }},
        {"roundnumber", [](auto& in, auto& p) { return shown(roundNumber(std::stod(in), p == "nearest")); }},
        // A typed scale; PARAMETER the decimal separator
        {"parsescale", [](auto& in, auto& p) {
             const auto r = parseScale(in, p[0]);
             return r ? shown(r->low) + ":" + shown(r->high) : std::string("none");
         }},
        // The user's own scale wins over the automatic one; PARAMETER: the
        // name the user gives and its scale
        {"ownscale", [](auto& in, auto& p) {
             ProfileData data;
             for (const std::string& kind : split(in, ',')) {
                 data.tracks.push_back(track(kind, 1.0));
                 data.tracks.back().key = kind;
                 data.tracks.back().channel = 7;
                 data.tracks.back().series.push_back({"", 0, {0, 1, 2, 3}, {{1, 3}}});
             }
             const std::vector<std::string> parts = split(p, '=');
             applyScales(data, [&](const ProfileTrack& t) -> std::optional<ValueRange> {
                 if (trackNamed(t, parts[0])) return parseScale(parts[1], '.');
                 return std::nullopt;
             });
             std::string out;
             for (const ProfileTrack& t : data.tracks)
                 out += (out.empty() ? "" : " ") + shown(t.low) + ":" + shown(t.high) + (t.ownScale ? "*" : "");
             return out;
         }},
        // Runs of readings beyond the scale PARAMETER (low:high), the values
        // making one run from reading 1: first-last and + above or - below
        {"clipruns", [](auto& in, auto& p) {
             ProfileSeries s;
             s.values = values("x," + in);
             int32_t start = 0;
             for (int32_t r = 1; r < static_cast<int32_t>(s.values.size()); ++r) {
                 const bool data = s.values[static_cast<std::size_t>(r)] != kNoDataValue;
                 if (data && !start) start = r;
                 if (!data && start) s.runs.emplace_back(start, r - 1), start = 0;
             }
             if (start) s.runs.emplace_back(start, static_cast<int32_t>(s.values.size()) - 1);
             const auto range = parseScale(p, '.');
             std::string out;
             for (const ClipRun& c : clipRuns(s, range->low, range->high))
                 out += (out.empty() ? "" : " ") + std::to_string(c.from) + "-" + std::to_string(c.to) + (c.high ? "+" : "-");
             return out.empty() ? std::string("none") : out;
         }},
        // Depth ticks of INPUT top:bottom:pixels:label spacing; PARAMETER m or ft:
        // major step, minor step, first..last major and the count of minors
        {"depthticks", [](auto& in, auto& p) {
             const std::vector<std::string> f = split(in, ':');
             const DepthTicks t = depthTicks(std::stod(f[0]), std::stod(f[1]), std::stod(f[2]), std::stod(f[3]), p == "ft");
             if (t.majors.empty()) return std::string("none");
             return shown(t.major) + " " + shown(t.minor) + " " + shown(t.majors.front()) + ".." +
                    shown(t.majors.back()) + " " + std::to_string(t.minors.size());
         }},
        {"ticktext", [](auto& in, auto& p) { return tickText(std::stod(in), std::stod(p.substr(1)), p[0]); }},
        {"unit", [](auto& in, auto&) { return unitSpelling(in); }},
        // A title's lines in a track PARAMETER letters wide (every letter and
        // space one unit), joined by |
        {"title", [](auto& in, auto& p) {
             std::string out;
             for (const std::string& line : titleLines(in, std::stod(p), [](const std::string& s) { return double(s.size()); }))
                 out += (out.empty() ? "" : "|") + line;
             return out;
         }},
    };
    return all;
}

TEST(ProfileRules, EveryRowGivesItsResult) {
    std::ifstream in(std::string(QM_CASES_DIR) + "/profile-rules.tsv", std::ios::binary);
    ASSERT_TRUE(in) << "tests/cases/profile-rules.tsv";
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = split(line, '\t');
        ASSERT_EQ(f.size(), 4u) << line;
        const auto fn = functions().find(f[0]);
        ASSERT_NE(fn, functions().end()) << f[0];
        EXPECT_EQ(fn->second(f[1], f[2]), f[3]) << line;
        ++rows;
    }
    EXPECT_GT(rows, 40);
}

}  // namespace
}  // namespace qm
