#include "ops/CsvExport.h"

#include <algorithm>
#include <string_view>

#include "model/CodePage.h"
#include "model/NumberText.h"
#include "model/Units.h"

namespace qm {

namespace {

// A text field (a heading). One that a spreadsheet would take for a
// formula (=, +, -, @, a tab or a CR first) gets an apostrophe in front, so
// it stays text there. A field with a comma, a quote or a line break goes
// in quotes, its quotes doubled. Numbers never come through here.
void appendField(std::string& out, std::string_view text) {
    const bool formula = !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    const std::string_view lead = formula ? "'" : "";
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += lead;
        out += text;
        return;
    }
    out += '"';
    out += lead;
    for (const char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

std::string depthHeading(const Sounding& s, bool feet) {
    return std::string(s.depthFormatApplied == 1 ? "Elevation" : "Depth") + (feet ? " (ft)" : " (m)");
}

}  // namespace

OpenFormatFile csvFile(const Sounding& s, const ChannelTypeTable& tables, bool depthInFeet) {
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
    out += ",Speed (cm/s)\r\n";

    for (int r = 1; r <= readingCount; ++r) {
        // The depth as the page computes it for feet, so the file and the
        // page agree to the last digit.
        const float depth =
            depthInFeet ? static_cast<float>(static_cast<double>(s.depth[r]) * kFeetPerMetre) : s.depth[r];
        out += shortestNumberText(depth);
        for (int c = 1; c <= channelCount; ++c) {
            out += ',';
            const float v = s.value(c, r);
            if (v != kNoDataValue) out += shortestNumberText(v);
        }
        out += ',';
        out += shortestNumberText(s.speed[r]);
        out += "\r\n";
    }
    return file;
}

}  // namespace qm
