#include "ops/CsvExport.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "model/CodePage.h"
#include "model/NumberText.h"
#include "model/Units.h"

namespace qm {

namespace {

// A field with a comma, a quote or a line break goes in quotes, its quotes
// doubled.
void appendField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

struct InterpretedColumn {
    std::string_view heading;
    std::vector<double> Interpretation::*values;
    int decimals;
};

constexpr InterpretedColumn kInterpreted[] = {
    {"Corrected depth (m)", &Interpretation::correctedDepth, 3},
    {"qt (MPa)", &Interpretation::qt, 4},
    {"Rf (%)", &Interpretation::rf, 3},
    {"Unit weight (kN/m3)", &Interpretation::unitWeight, 2},
    {"sigma_v0 (kPa)", &Interpretation::sigmaV0, 2},
    {"u0 (kPa)", &Interpretation::u0, 2},
    {"sigma'_v0 (kPa)", &Interpretation::sigmaV0Eff, 2},
    {"qn (MPa)", &Interpretation::qn, 4},
    {"Bq", &Interpretation::bq, 4},
    {"Fr (%)", &Interpretation::fr, 3},
    {"Qt1", &Interpretation::qt1, 2},
    {"n", &Interpretation::n, 3},
    {"Qtn", &Interpretation::qtn, 2},
    {"Ic", &Interpretation::ic, 3},
};

void appendInterpreted(std::string& out, const Interpretation& in, std::size_t r) {
    for (const InterpretedColumn& column : kInterpreted) {
        out += ',';
        const std::vector<double>& values = in.*column.values;
        if (r < values.size() && hasValue(values[r])) out += quantityText(values[r], column.decimals);
    }
    out += ',';
    if (r < in.zone.size() && in.zone[r] != 0) out += std::to_string(in.zone[r]);
}

std::string depthHeading(const Sounding& s, bool feet) {
    return std::string(s.depthFormatApplied == 1 ? "Elevation" : "Depth") + (feet ? " (ft)" : " (m)");
}

}  // namespace

OpenFormatFile csvFile(const Sounding& s, const ChannelTypeTable& tables, bool depthInFeet,
                       const Interpretation* interpretation) {
    const int channelCount = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);

    OpenFormatFile file;
    std::string& out = file.bytes;
    out.reserve(static_cast<std::size_t>(readingCount) * static_cast<std::size_t>(channelCount + 2) * 10 + 256);
    appendField(out, depthHeading(s, depthInFeet));
    for (int c = 1; c <= channelCount; ++c) {
        out += ',';
        const std::string& unit = tables.name(s.channelType[c], s.channelUnitIndex[c]);
        appendField(out, cp1252ToUtf8(s.channelName[c] + " (" + unit + ")"));
    }
    out += ",Speed (cm/s)";
    if (interpretation) {
        for (const InterpretedColumn& column : kInterpreted) {
            out += ',';
            appendField(out, column.heading);
        }
        out += ",SBT zone";
        file.messages = interpretation->notes;
    }
    out += "\r\n";

    NonFiniteValues voids;
    for (int r = 1; r <= readingCount; ++r) {
        // The depth as the page computes it for feet, so the file and the
        // page agree to the last digit.
        const float depth =
            depthInFeet ? static_cast<float>(static_cast<double>(s.depth[r]) * kFeetPerMetre) : s.depth[r];
        if (!std::isfinite(depth)) return nonFiniteDepth("CSV", r);
        out += shortestNumberText(depth);
        for (int c = 1; c <= channelCount; ++c) {
            out += ',';
            const float v = s.value(c, r);
            if (!std::isfinite(v)) voids.note(r, "channel " + std::to_string(c) + " (" + cp1252ToUtf8(s.channelName[c]) + ")");
            else if (v != kNoDataValue) out += shortestNumberText(v);
        }
        out += ',';
        if (std::isfinite(s.speed[r])) out += shortestNumberText(s.speed[r]);
        else voids.note(r, "the speed");
        if (interpretation) appendInterpreted(out, *interpretation, static_cast<std::size_t>(r));
        out += "\r\n";
    }
    voids.report(file, "CSV", "an empty field");
    return file;
}

}  // namespace qm
