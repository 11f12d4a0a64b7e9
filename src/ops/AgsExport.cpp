#include "ops/AgsExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <string_view>
#include <vector>

#include "model/CodePage.h"
#include "ops/GpsSentence.h"
#include "ops/Interpretation.h"
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

// In the dictionary's order of the SCPT headings, each in the dictionary's
// unit; the decimals are the dictionary's.
constexpr std::array<AgsQuantity, 14> kQuantities = {{
    {{1, "MPA"}, "SCPT_RES", "MPa", 3},
    {{2, "MPA"}, "SCPT_FRES", "MPa", 4},
    {{4, "MPA"}, "SCPT_PWP1", "MPa", 4},
    {{3, "MPA"}, "SCPT_PWP2", "MPa", 4},
    {{5, "MPA"}, "SCPT_PWP3", "MPa", 4},
    {{11, "uS/cm"}, "SCPT_CON", "uS/cm", 4},
    {{10, "DEGC"}, "SCPT_TEMP", "DegC", 4},
    {{6, "DEG"}, "SCPT_SLP1", "deg", 4},
    {{7, "DEG"}, "SCPT_SLP2", "deg", 4},
    {{19, "MV"}, "SCPT_REDX", "mV", 4},
    {{15, "NT"}, "SCPT_MAGT", "nT", 4},
    {{17, "%"}, "SCPT_SMP", "%", 4},
    {{16, "CPS"}, "SCPT_NGAM", "counts/s", 4},
    {{14, "%"}, "SCPT_FRR", "%", 2},
}};

constexpr const char* kIcHeading = "SCPT_IC";
constexpr const char* kZoneHeading = "SCPT_SBT";

struct UnitName {
    std::string_view unit, description;
};
constexpr std::array<UnitName, 12> kUnitNames = {{{"%", "percent"},
                                                  {"counts/s", "counts per second"},
                                                  {"deg", "degree"},
                                                  {"DegC", "degree Celsius"},
                                                  {"kPa", "kilopascal"},
                                                  {"m", "metre"},
                                                  {"Mg/m3", "megagram per cubic metre"},
                                                  {"MPa", "megapascal"},
                                                  {"mV", "millivolt"},
                                                  {"nT", "nanotesla"},
                                                  {"uS/cm", "microsiemens per centimetre"},
                                                  {"yyyy-mm-dd", "year month day"}}};

// The interpretation's SCPT headings, in the dictionary's order after
// SCPT_FRR, each with its unit, decimals and the factor from the
// interpretation's unit; Ic and the zone are headings of our own, declared in
// the DICT group.
struct AgsInterpreted {
    std::string_view heading, unit;
    int decimals;
    std::vector<double> Interpretation::*values;  // null: computed below
    double scale;
};
constexpr std::array<AgsInterpreted, 13> kInterpreted = {{
    {"SCPT_QT", "MPa", 4, &Interpretation::qt, 1.0},
    {"SCPT_BDEN", "Mg/m3", 2, &Interpretation::unitWeight, 1.0 / kWaterUnitWeight},
    {"SCPT_CPO", "kPa", 2, &Interpretation::sigmaV0, 1.0},
    {"SCPT_CPOD", "kPa", 2, &Interpretation::sigmaV0Eff, 1.0},
    {"SCPT_QNET", "MPa", 4, &Interpretation::qn, 1.0},
    {"SCPT_FRRC", "%", 2, &Interpretation::rf, 1.0},
    {"SCPT_EXPP", "MPa", 4, nullptr, 1.0},  // u2 - u0
    {"SCPT_BQ", "", 4, &Interpretation::bq, 1.0},
    {"SCPT_ISPP", "MPa", 4, &Interpretation::u0, 0.001},
    {"SCPT_NQT", "", 4, &Interpretation::qt1, 1.0},
    {"SCPT_NFR", "%", 4, &Interpretation::fr, 1.0},
    {kIcHeading, "", 3, &Interpretation::ic, 1.0},
    {kZoneHeading, "", 0, nullptr, 1.0},  // the zone
}};

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
    if (type == "DMS") return "Degrees:Minutes:Seconds";
    if (type == "PA") return "Text listed in ABBR Group";
    if (type == "PT") return "Text listed in TYPE Group";
    if (type == "PU") return "Text listed in UNIT Group";
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

// A field the dictionary makes REQUIRED or KEY is never left empty: the
// header text when it holds more than blanks (in ASCII), else `fallback`,
// noted in `filled` for the export's message.
class RequiredFields {
   public:
    std::string take(std::string_view heading, const std::string& bytes, const std::string& fallback,
                     std::string_view why) {
        if (!blankText(cp1252ToAscii(bytes))) return bytes;
        filled_.push_back(std::string(heading) + " \"" + fallback + "\" (" + std::string(why) + ")");
        return fallback;
    }
    std::string message() const {
        if (filled_.empty()) return {};
        std::string text = "The AGS4 file fills empty required fields:";
        for (std::size_t i = 0; i < filled_.size(); ++i) text += (i == 0 ? " " : ", ") + filled_[i];
        return text + ".";
    }

   private:
    std::vector<std::string> filled_;
};

// The SCPT group, or the reading whose depth is no finite number.
Group scptGroup(const Sounding& s, const ChannelTypeTable& tables, const QuantityColumns& columns,
                const std::string& locationId, NonFiniteValues& voids, int& badDepth) {
    const int depthDecimals = s.depthDecimals == 2 ? 2 : 3;
    Group g{"SCPT", {{"LOCA_ID", "", "ID"}, {"SCPG_TESN", "", "X"}, {"SCPT_DPTH", "m", decimalsType(depthDecimals)}}, {}};
    for (const QuantityColumn& c : columns.columns) {
        const AgsQuantity& q = kQuantities[c.rule];
        g.headings.push_back({std::string(q.heading), std::string(q.unit), decimalsType(q.decimals)});
    }
    const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    g.rows.reserve(static_cast<std::size_t>(readingCount));
    for (int r = 1; r <= readingCount; ++r) {
        const double depth = depthBelowSurface(s, r);
        if (!std::isfinite(depth)) {
            badDepth = r;
            return g;
        }
        std::vector<std::string> row = {locationId, "1", fixedNumberText(depth, depthDecimals)};
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

std::string valueText(double v, int decimals) { return hasValue(v) ? quantityText(v, decimals) : std::string(); }

// The interpretation's headings at the end of SCPT, one value per reading,
// and the area ratio and method in SCPG.
void addInterpretation(const Sounding& s, const ChannelTypeTable& tables, const QuantityColumns& columns,
                       const Interpretation& in, Group& scpg, Group& scpt) {
    scpg.headings.insert(scpg.headings.end(), {{"SCPG_REM", "", "X"}, {"SCPG_CAR", "", "3DP"}});
    scpg.rows[0].insert(scpg.rows[0].end(), {interpretationSummary(in), quantityText(in.settings.areaRatio, 3)});

    // u2 in MPa, as SCPT_PWP2 holds it, for the excess pore pressure.
    const auto pwp2 = std::find_if(columns.columns.begin(), columns.columns.end(), [](const QuantityColumn& c) {
        return kQuantities[c.rule].heading == "SCPT_PWP2";
    });
    for (const AgsInterpreted& q : kInterpreted) {
        if ((q.heading == "SCPT_EXPP" || q.heading == "SCPT_BQ") && (!in.poreChannel || pwp2 == columns.columns.end()))
            continue;
        scpt.headings.push_back({std::string(q.heading), std::string(q.unit), decimalsType(q.decimals)});
        for (std::size_t i = 0; i < scpt.rows.size(); ++i) {
            const int r = static_cast<int>(i) + 1;
            std::string text;
            if (q.values) {
                text = valueText((in.*(q.values))[i + 1] * q.scale, q.decimals);
            } else if (q.heading == kZoneHeading) {
                if (const int zone = in.zone[i + 1]; zone != 0) text = std::to_string(zone);
            } else if (const auto u2 = standardValue(s, tables, *pwp2, r)) {
                text = valueText(*u2 - in.u0[i + 1] / 1000.0, q.decimals);
            }
            scpt.rows[i].push_back(std::move(text));
        }
    }
}

}  // namespace

std::string dmsText(double degrees) {
    // Ten-thousandths of a second (about 3 mm), finer than the minutes'
    // last place of a GGA sentence, so the position is kept.
    constexpr long long kPerSecond = 10000, kPerMinute = 60 * kPerSecond, kPerDegree = 60 * kPerMinute;
    const long long units = std::llround(std::fabs(degrees) * static_cast<double>(kPerDegree));
    const long long seconds = units % kPerMinute;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld:%02lld:%02lld.%04lld", degrees < 0 && units != 0 ? "-" : "",
                  units / kPerDegree, units / kPerMinute % 60, seconds / kPerSecond, seconds % kPerSecond);
    return text;
}

OpenFormatFile agsFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today,
                       const AgsTransfer& transfer, const Interpretation* interpretation) {
    std::array<QuantityRule, kQuantities.size()> rules{};
    std::transform(kQuantities.begin(), kQuantities.end(), rules.begin(), [](const AgsQuantity& q) { return q.rule; });
    const QuantityColumns columns = quantityColumns(s, tables, rules);

    RequiredFields required;
    const std::string stem = soundingFileStem(s);
    const std::string projectId = required.take("PROJ_ID", s.jobNumber, stem, "the file name; no job number");
    const std::string producer = required.take("TRAN_PROD", s.companyName, kAgsNotStated, "no company name");
    const std::string status = required.take("TRAN_STAT", transfer.status, kAgsStatusPlaceholder, "no status given");
    const std::string recipient =
        required.take("TRAN_RECV", transfer.recipient, kAgsNotStated, "no recipient given");
    const std::string locationId = required.take("LOCA_ID", s.holeNumber, stem, "the file name; no hole number");

    std::vector<Group> data;
    data.push_back({"PROJ",
                    {{"PROJ_ID", "", "ID"}, {"PROJ_NAME", "", "X"}, {"PROJ_LOC", "", "X"}, {"PROJ_CONT", "", "X"}},
                    {{projectId, s.header, s.location, s.companyName}}});
    data.push_back({"TRAN",
                    {{"TRAN_ISNO", "", "X"},
                     {"TRAN_DATE", "yyyy-mm-dd", "DT"},
                     {"TRAN_PROD", "", "X"},
                     {"TRAN_STAT", "", "X"},
                     {"TRAN_AGS", "", "X"},
                     {"TRAN_RECV", "", "X"},
                     {"TRAN_DLIM", "", "X"},
                     {"TRAN_RCON", "", "X"}},
                    {{"1", isoText(today), producer, status, "4.1", recipient, "|", "+"}}});
    Group loca{"LOCA", {{"LOCA_ID", "", "ID"}}, {{locationId}}};
    if (const auto p = gpsPositionOf(gpsFieldsOf(s))) {
        loca.headings.insert(loca.headings.end(),
                             {{"LOCA_LAT", "", "DMS"}, {"LOCA_LON", "", "DMS"}, {"LOCA_LLZ", "", "X"}});
        loca.rows[0].insert(loca.rows[0].end(), {dmsText(p->latitude), dmsText(p->longitude), "WGS84"});
    }
    const auto water = waterTableDepth(s.waterTableDepth);
    Group scpg{"SCPG",
               {{"LOCA_ID", "", "ID"}, {"SCPG_TESN", "", "X"}, {"SCPG_WAT", "m", "2DP"}},
               {{locationId, "1", water ? fixedNumberText(*water, 2) : std::string()}}};
    NonFiniteValues voids;
    int badDepth = 0;
    Group scpt = scptGroup(s, tables, columns, locationId, voids, badDepth);
    if (badDepth != 0) return nonFiniteDepth("AGS4", badDepth);
    // The interpretation needs a tip channel; without one it adds nothing.
    const Interpretation* in = interpretation && interpretation->tipChannel ? interpretation : nullptr;
    Group abbr{"ABBR", {{"ABBR_HDNG", "", "X"}, {"ABBR_CODE", "", "X"}, {"ABBR_DESC", "", "X"}},
               {{"DICT_TYPE", "HEADING", "Flag to indicate definition is a HEADING"}, {"DICT_STAT", "OTHER", "Other field"}}};
    Group dict{"DICT",
               {{"DICT_TYPE", "", "PA"},
                {"DICT_GRP", "", "X"},
                {"DICT_HDNG", "", "X"},
                {"DICT_STAT", "", "PA"},
                {"DICT_DTYP", "", "PT"},
                {"DICT_DESC", "", "X"},
                {"DICT_UNIT", "", "PU"},
                {"DICT_EXMP", "", "X"}},
               {{"HEADING", "SCPT", kIcHeading, "OTHER", "3DP",
                 "Soil behaviour type index Ic (Robertson 2009)", "", "2.345"},
                {"HEADING", "SCPT", kZoneHeading, "OTHER", "0DP",
                 "Soil behaviour type zone from Ic (Robertson 2009): 2 organic soils to 7 gravelly sand", "", "5"}}};
    if (in) addInterpretation(s, tables, columns, *in, scpg, scpt);

    // A group without DATA rows is not allowed: a sounding without readings
    // gets its header groups only.
    std::vector<const Group*> written = {&data[0], &data[1], &loca, &scpg};
    if (in) written.insert(written.begin() + 2, {&abbr, &dict});
    if (!scpt.rows.empty()) written.push_back(&scpt);

    // UNIT and TYPE list what the other groups use, their own "X" included.
    std::set<std::string> units, types = {"X"};
    for (const Group* g : written)
        for (const Heading& h : g->headings) {
            if (!h.unit.empty()) units.insert(h.unit);
            types.insert(h.type);
        }
    Group unit{"UNIT", {{"UNIT_UNIT", "", "X"}, {"UNIT_DESC", "", "X"}}, {}};
    for (const std::string& u : units) unit.rows.push_back({u, unitDescription(u)});
    Group type{"TYPE", {{"TYPE_TYPE", "", "X"}, {"TYPE_DESC", "", "X"}}, {}};
    for (const std::string& t : types) type.rows.push_back({t, typeDescription(t)});
    written.insert(written.begin() + 2, {&unit, &type});

    OpenFormatFile file;
    for (const Group* g : written) appendGroup(file.bytes, *g);
    if (std::string m = leftOutMessage("AGS4", columns); !m.empty()) file.messages.push_back(std::move(m));
    voids.report(file, "AGS4", "an empty field");
    if (std::string m = required.message(); !m.empty()) file.messages.push_back(std::move(m));
    if (scpt.rows.empty()) file.messages.push_back("The sounding has no readings: the AGS4 file holds its header groups only.");
    if (interpretation) file.messages.insert(file.messages.end(), interpretation->notes.begin(), interpretation->notes.end());
    return file;
}

}  // namespace qm
