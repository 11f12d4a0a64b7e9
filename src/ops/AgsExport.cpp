#include "ops/AgsExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string_view>
#include <vector>

#include "model/CodePage.h"
#include "ops/GpsSentence.h"
#include "ops/StandardQuantities.h"
#include "ops/WaterTable.h"

namespace qm {

namespace {

struct AgsQuantity {
    QuantityRule rule;
    std::string_view heading;
    std::string_view unit;
    int decimals;
};

// In the dictionary's order of the SCPT headings.
constexpr std::array<AgsQuantity, 8> kQuantities = {{
    {{1, "MPA"}, "SCPT_RES", "MPa", 3},
    {{2, "KPA"}, "SCPT_FRES", "kPa", 1},
    {{4, "KPA"}, "SCPT_PWP1", "kPa", 1},
    {{3, "KPA"}, "SCPT_PWP2", "kPa", 1},
    {{5, "KPA"}, "SCPT_PWP3", "kPa", 1},
    {{6, "DEG"}, "SCPT_SLP1", "deg", 2},
    {{7, "DEG"}, "SCPT_SLP2", "deg", 2},
    {{14, "%"}, "SCPT_FRR", "%", 2},
}};

struct UnitName {
    std::string_view unit, description;
};
constexpr std::array<UnitName, 6> kUnitNames = {{{"%", "percent"},
                                                 {"deg", "degree"},
                                                 {"kPa", "kilopascal"},
                                                 {"m", "metre"},
                                                 {"MPa", "megapascal"},
                                                 {"yyyy-mm-dd", "year month day"}}};

struct Heading {
    std::string name, unit, type;
};

struct Group {
    std::string name;
    std::vector<Heading> headings;
    std::vector<std::vector<std::string>> rows;
};

std::string decimalsType(int decimals) { return std::to_string(decimals) + "DP"; }

std::string typeDescription(const std::string& type) {
    if (type == "ID") return "Unique Identifier";
    if (type == "X") return "Text";
    if (type == "DT") return "Date time in international format";
    const std::string places = type.substr(0, type.size() - 2);
    return "Value; " + places + (places == "1" ? " decimal place" : " decimal places");
}

std::string unitDescription(const std::string& unit) {
    for (const UnitName& u : kUnitNames)
        if (u.unit == unit) return std::string(u.description);
    return unit;
}

// A field in quotes: ASCII, quotes doubled.
void appendField(std::string& out, std::string_view bytes) {
    out += '"';
    for (const char ch : cp1252ToAscii(bytes)) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

void appendRow(std::string& out, std::string_view descriptor, const std::vector<std::string>& fields) {
    appendField(out, descriptor);
    for (const std::string& f : fields) {
        out += ',';
        appendField(out, f);
    }
    out += "\r\n";
}

void appendGroup(std::string& out, const Group& g) {
    if (!out.empty()) out += "\r\n";
    appendRow(out, "GROUP", {g.name});
    std::vector<std::string> names, units, types;
    for (const Heading& h : g.headings) {
        names.push_back(h.name);
        units.push_back(h.unit);
        types.push_back(h.type);
    }
    appendRow(out, "HEADING", names);
    appendRow(out, "UNIT", units);
    appendRow(out, "TYPE", types);
    for (const auto& row : g.rows) appendRow(out, "DATA", row);
}

// The SCPT group, or the reading whose depth is no finite number.
Group scptGroup(const Sounding& s, const ChannelTypeTable& tables, const QuantityColumns& columns,
                NonFiniteValues& voids, int& badDepth) {
    const int depthDecimals = s.depthDecimals == 2 ? 2 : 3;
    Group g{"SCPT", {{"LOCA_ID", "", "ID"}, {"SCPG_TESN", "", "X"}, {"SCPT_DPTH", "m", decimalsType(depthDecimals)}}, {}};
    for (const QuantityColumn& c : columns.columns) {
        const AgsQuantity& q = kQuantities[c.rule];
        g.headings.push_back({std::string(q.heading), std::string(q.unit), decimalsType(q.decimals)});
    }
    const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    g.rows.reserve(static_cast<std::size_t>(readingCount));
    for (int r = 1; r <= readingCount; ++r) {
        // Depth below the surface: in elevation format the stored values
        // are the negated depths.
        const double depth = s.depthFormatApplied == 1 ? -static_cast<double>(s.depth[r]) : s.depth[r];
        if (!std::isfinite(depth)) {
            badDepth = r;
            return g;
        }
        std::vector<std::string> row = {s.holeNumber, "1", fixedNumberText(depth, depthDecimals)};
        for (const QuantityColumn& c : columns.columns) {
            const auto v = standardValue(s, tables, c, r);
            row.push_back(v ? fixedNumberText(*v, kQuantities[c.rule].decimals) : std::string());
            if (!v && s.value(c.channel, r) != kNoDataValue)
                voids.note(r, "channel " + std::to_string(c.channel) + " (" + cp1252ToAscii(s.channelName[c.channel]) + ")");
        }
        g.rows.push_back(std::move(row));
    }
    return g;
}

}  // namespace

OpenFormatFile agsFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today) {
    std::array<QuantityRule, kQuantities.size()> rules{};
    std::transform(kQuantities.begin(), kQuantities.end(), rules.begin(), [](const AgsQuantity& q) { return q.rule; });
    const QuantityColumns columns = quantityColumns(s, tables, rules);

    std::vector<Group> data;
    data.push_back({"PROJ",
                    {{"PROJ_ID", "", "ID"}, {"PROJ_NAME", "", "X"}, {"PROJ_LOC", "", "X"}, {"PROJ_CONT", "", "X"}},
                    {{s.jobNumber, s.header, s.location, s.companyName}}});
    data.push_back({"TRAN",
                    {{"TRAN_ISNO", "", "X"},
                     {"TRAN_DATE", "yyyy-mm-dd", "DT"},
                     {"TRAN_PROD", "", "X"},
                     {"TRAN_AGS", "", "X"},
                     {"TRAN_DLIM", "", "X"},
                     {"TRAN_RCON", "", "X"}},
                    {{"1", isoText(today), s.companyName, "4.1", "|", "+"}}});
    Group loca{"LOCA", {{"LOCA_ID", "", "ID"}}, {{s.holeNumber}}};
    if (const auto p = gpsPositionOf(gpsFieldsOf(s))) {
        loca.headings.insert(loca.headings.end(),
                             {{"LOCA_LAT", "", "X"}, {"LOCA_LON", "", "X"}, {"LOCA_LLZ", "", "X"}});
        loca.rows[0].insert(loca.rows[0].end(),
                            {fixedNumberText(p->latitude, 7), fixedNumberText(p->longitude, 7), "WGS84"});
    }
    const auto water = waterTableDepth(s.waterTableDepth);
    Group scpg{"SCPG",
               {{"LOCA_ID", "", "ID"}, {"SCPG_TESN", "", "X"}, {"SCPG_WAT", "m", "2DP"}},
               {{s.holeNumber, "1", water ? fixedNumberText(*water, 2) : std::string()}}};
    NonFiniteValues voids;
    int badDepth = 0;
    Group scpt = scptGroup(s, tables, columns, voids, badDepth);
    if (badDepth != 0) return nonFiniteDepth("AGS4", badDepth);

    // UNIT and TYPE list what the other groups use, their own "X" included.
    std::set<std::string> units, types = {"X"};
    for (const Group* g : {&data[0], &data[1], &loca, &scpg, &scpt})
        for (const Heading& h : g->headings) {
            if (!h.unit.empty()) units.insert(h.unit);
            types.insert(h.type);
        }
    Group unit{"UNIT", {{"UNIT_UNIT", "", "X"}, {"UNIT_DESC", "", "X"}}, {}};
    for (const std::string& u : units) unit.rows.push_back({u, unitDescription(u)});
    Group type{"TYPE", {{"TYPE_TYPE", "", "X"}, {"TYPE_DESC", "", "X"}}, {}};
    for (const std::string& t : types) type.rows.push_back({t, typeDescription(t)});

    OpenFormatFile file;
    for (const Group* g : {&data[0], &data[1], &unit, &type, &loca, &scpg, &scpt}) appendGroup(file.bytes, *g);
    if (std::string m = leftOutMessage("AGS4", columns); !m.empty()) file.messages.push_back(std::move(m));
    voids.report(file, "AGS4", "an empty field");
    return file;
}

}  // namespace qm
