#include "ops/GefExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "model/NumberText.h"
#include "ops/GpsSentence.h"
#include "ops/StandardQuantities.h"
#include "ops/WaterTable.h"

namespace qm {

namespace {

struct GefQuantity {
    QuantityRule rule;
    int number;             // the report's quantity number
    std::string_view unit;  // as #COLUMNINFO writes it
    std::string_view name;
    int decimals;
};

// In quantity order, which is the column order.
constexpr std::array<GefQuantity, 10> kQuantities = {{
    {{1, "MPA"}, 2, "MPa", "cone resistance", 3},
    {{2, "MPA"}, 3, "MPa", "local friction", 4},
    {{14, "%"}, 4, "%", "friction number", 2},
    {{4, "MPA"}, 5, "MPa", "pore pressure u1", 4},
    {{3, "MPA"}, 6, "MPa", "pore pressure u2", 4},
    {{5, "MPA"}, 7, "MPa", "pore pressure u3", 4},
    {{9, "DEG"}, 8, "deg", "inclination (resultant)", 2},
    {{6, "DEG"}, 21, "deg", "inclination in X direction", 2},
    {{7, "DEG"}, 22, "deg", "inclination in Y direction", 2},
    {{11, "S/m"}, 23, "S/m", "electric conductivity", 5},
}};

constexpr std::string_view kVoid = "-9999";
// Header parameters are separated by commas; ";" and "!" separate the
// data, "#" starts a keyword.
constexpr std::string_view kSeparators = ",;!#";

void line(std::string& out, std::string_view keyword, std::string_view value) {
    out += '#';
    out += keyword;
    out += "= ";
    out += value;
    out += "\r\n";
}

std::string dateText(const CalendarDate& d) {
    return std::to_string(d.year) + ", " + std::to_string(d.month) + ", " + std::to_string(d.day);
}

}  // namespace

OpenFormatFile gefFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today) {
    std::array<QuantityRule, kQuantities.size()> rules{};
    std::transform(kQuantities.begin(), kQuantities.end(), rules.begin(), [](const GefQuantity& q) { return q.rule; });
    const QuantityColumns columns = quantityColumns(s, tables, rules);
    const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    const int depthDecimals = s.depthDecimals == 2 ? 2 : 3;
    const auto text = [](const std::string& bytes) { return plainFieldText(bytes, kSeparators); };

    OpenFormatFile file;
    std::string& out = file.bytes;
    line(out, "GEFID", "1, 1, 0");
    line(out, "FILEOWNER", text(s.companyName));
    line(out, "FILEDATE", dateText(today));
    line(out, "PROJECTID", "CPT, " + text(s.jobNumber));
    line(out, "TESTID", text(s.holeNumber));
    line(out, "REPORTCODE", "GEF-CPT-Report, 1, 1, 2");
    if (const auto start = dateOfText(s.dateAndTime)) line(out, "STARTDATE", dateText(*start));
    const std::size_t columnCount = columns.columns.size() + 1;
    line(out, "COLUMN", std::to_string(columnCount));
    line(out, "COLUMNINFO", "1, m, penetration length, 1");
    for (std::size_t k = 0; k < columns.columns.size(); ++k) {
        const GefQuantity& q = kQuantities[columns.columns[k].rule];
        line(out, "COLUMNINFO", std::to_string(k + 2) + ", " + std::string(q.unit) + ", " + std::string(q.name) +
                                    ", " + std::to_string(q.number));
    }
    for (std::size_t k = 1; k <= columnCount; ++k) line(out, "COLUMNVOID", std::to_string(k) + ", " + std::string(kVoid));
    line(out, "COLUMNSEPARATOR", ";");
    line(out, "RECORDSEPARATOR", "!");
    line(out, "LASTSCAN", std::to_string(readingCount));
    line(out, "MEASUREMENTTEXT", "4, " + text(s.coneNumber) + ", cone type and serial number");
    if (const auto water = waterTableDepth(s.waterTableDepth))
        line(out, "MEASUREMENTVAR", "14, " + shortestNumberText(*water) + ", m, groundwater level");
    if (const auto p = gpsPositionOf(gpsFieldsOf(s))) {
        // Coordinate system 00001: WGS84 in decimal degrees, X east, Y north.
        line(out, "XYID", "00001, " + fixedNumberText(p->longitude, 7) + ", " + fixedNumberText(p->latitude, 7) +
                              ", " + fixedNumberText(p->resolution, 7) + ", " + fixedNumberText(p->resolution, 7));
    }
    out += "#EOH=\r\n";

    NonFiniteValues voids;
    for (int r = 1; r <= readingCount; ++r) {
        // Penetration length grows downwards: in elevation format the
        // stored values are the negated depths.
        const double depth = s.depthFormatApplied == 1 ? -static_cast<double>(s.depth[r]) : s.depth[r];
        if (!std::isfinite(depth)) return nonFiniteDepth("GEF-CPT", r);
        out += fixedNumberText(depth, depthDecimals);
        for (const QuantityColumn& column : columns.columns) {
            out += ';';
            const auto v = standardValue(s, tables, column, r);
            out += v ? fixedNumberText(*v, kQuantities[column.rule].decimals) : std::string(kVoid);
            if (!v && s.value(column.channel, r) != kNoDataValue)
                voids.note(r, "channel " + std::to_string(column.channel) + " (" + s.channelName[column.channel] + ")");
        }
        out += "!\r\n";
    }
    voids.report(file, "GEF-CPT", std::string(kVoid));
    if (std::string m = leftOutMessage("GEF-CPT", columns); !m.empty()) file.messages.push_back(std::move(m));
    return file;
}

}  // namespace qm
