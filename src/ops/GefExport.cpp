#include "ops/GefExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>
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
constexpr std::string_view kGefNotStated = "not stated";
// Height code of #ZID for a height measured from the test's own surface.
constexpr std::string_view kGefOwnHeightSystem = "00000";
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

// A header value that may not be left empty (a reader would take the next
// line for it): the text when it holds more than blanks, else `fallback`,
// noted for the export's message.
class HeaderValues {
   public:
    std::string take(std::string_view keyword, const std::string& bytes, const std::string& fallback,
                     std::string_view why) {
        std::string text = plainFieldText(bytes, kSeparators);
        if (!blankText(text)) return text;
        filled_.push_back("#" + std::string(keyword) + " \"" + fallback + "\" (" + std::string(why) + ")");
        return fallback;
    }
    std::string message() const {
        if (filled_.empty()) return {};
        std::string text = "The GEF-CPT file fills empty header texts:";
        for (std::size_t i = 0; i < filled_.size(); ++i) text += (i == 0 ? " " : ", ") + filled_[i];
        return text + ".";
    }

   private:
    std::vector<std::string> filled_;
};

// The interpretation's quantities of the report, in its units, after the
// channels: `scale` takes the interpretation's unit to the report's.
struct GefInterpreted {
    std::vector<double> Interpretation::*values;
    int number;
    std::string_view unit, name;
    double scale;
    int decimals;
};
constexpr std::array<GefInterpreted, 8> kInterpreted = {{
    {&Interpretation::correctedDepth, 11, "m", "corrected depth", 1.0, 3},
    {&Interpretation::qt, 13, "MPa", "corrected cone resistance", 1.0, 4},
    {&Interpretation::qn, 14, "MPa", "net cone resistance", 1.0, 4},
    {&Interpretation::bq, 15, "-", "pore ratio", 1.0, 4},
    {&Interpretation::unitWeight, 17, "kN/m3", "weight per unit volume", 1.0, 2},
    {&Interpretation::u0, 18, "MPa", "initial pore pressure", 0.001, 5},
    {&Interpretation::sigmaV0, 19, "MPa", "total vertical soil pressure", 0.001, 5},
    {&Interpretation::sigmaV0Eff, 20, "MPa", "effective vertical soil pressure", 0.001, 5},
}};

// The quantities an interpretation gives for this sounding: none without a
// tip channel; the corrected depth only where inclination was recorded, Bq
// only with a u2 channel (else they would be void throughout).
std::vector<const GefInterpreted*> interpretedColumns(const Interpretation* in) {
    std::vector<const GefInterpreted*> out;
    if (!in || !in->tipChannel) return out;
    for (const GefInterpreted& q : kInterpreted) {
        if (q.number == 11 && !in->hasInclination()) continue;
        if (q.number == 15 && !in->poreChannel) continue;
        out.push_back(&q);
    }
    return out;
}

}  // namespace

OpenFormatFile gefFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today,
                       const Interpretation* interpretation) {
    std::array<QuantityRule, kQuantities.size()> rules{};
    std::transform(kQuantities.begin(), kQuantities.end(), rules.begin(), [](const GefQuantity& q) { return q.rule; });
    const QuantityColumns columns = quantityColumns(s, tables, rules);
    const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    const int depthDecimals = s.depthDecimals == 2 ? 2 : 3;

    // Penetration length and cone resistance are the report's two columns
    // that must be there: without a tip channel, column 2 is void throughout.
    // A column without a channel has channel 0.
    std::vector<QuantityColumn> written = columns.columns;
    if (written.empty() || written.front().rule != 0) written.insert(written.begin(), QuantityColumn{0, 0, 0});

    HeaderValues values;
    const std::string stem = plainFieldText(soundingFileStem(s), kSeparators);
    const std::string owner = values.take("FILEOWNER", s.companyName, std::string(kGefNotStated), "no company name");
    const std::string project = values.take("PROJECTID", s.jobNumber, stem, "the file name; no job number");
    const std::string test = values.take("TESTID", s.holeNumber, stem, "the file name; no hole number");
    const std::string cone = values.take("MEASUREMENTTEXT 4", s.coneNumber, std::string(kGefNotStated), "no cone number");

    OpenFormatFile file;
    std::string& out = file.bytes;
    line(out, "GEFID", "1, 1, 0");
    line(out, "FILEOWNER", owner);
    line(out, "FILEDATE", dateText(today));
    line(out, "PROJECTID", "CPT, " + project);
    line(out, "TESTID", test);
    line(out, "REPORTCODE", "GEF-CPT-Report, 1, 1, 2");
    if (const auto start = dateOfText(s.dateAndTime)) line(out, "STARTDATE", dateText(*start));
    const std::vector<const GefInterpreted*> interpreted = interpretedColumns(interpretation);
    const std::size_t columnCount = written.size() + interpreted.size() + 1;
    line(out, "COLUMN", std::to_string(columnCount));
    line(out, "COLUMNINFO", "1, m, penetration length, 1");
    for (std::size_t k = 0; k < written.size(); ++k) {
        const GefQuantity& q = kQuantities[written[k].rule];
        line(out, "COLUMNINFO", std::to_string(k + 2) + ", " + std::string(q.unit) + ", " + std::string(q.name) +
                                    ", " + std::to_string(q.number));
    }
    for (std::size_t k = 0; k < interpreted.size(); ++k) {
        const GefInterpreted& q = *interpreted[k];
        line(out, "COLUMNINFO", std::to_string(written.size() + k + 2) + ", " + std::string(q.unit) + ", " +
                                    std::string(q.name) + ", " + std::to_string(q.number));
    }
    for (std::size_t k = 1; k <= columnCount; ++k) line(out, "COLUMNVOID", std::to_string(k) + ", " + std::string(kVoid));
    line(out, "COLUMNSEPARATOR", ";");
    line(out, "RECORDSEPARATOR", "!");
    // A report needs one record at least: a sounding without readings gets
    // one with every column void.
    line(out, "LASTSCAN", std::to_string(std::max(readingCount, 1)));
    line(out, "MEASUREMENTTEXT", "4, " + cone + ", cone type and serial number");
    if (!interpreted.empty()) {
        // The net area ratio the corrected cone resistance used, and the
        // method in a text of our own (beyond the report's numbers).
        line(out, "MEASUREMENTVAR",
             "3, " + quantityText(interpretation->settings.areaRatio, 2) + ", -, net surface area quotient of the cone tip");
        line(out, "MEASUREMENTTEXT",
             "129, " + plainFieldText(interpretationSummary(*interpretation), kSeparators) + ", interpretation method");
    }
    if (const auto water = waterTableDepth(s.waterTableDepth))
        line(out, "MEASUREMENTVAR", "14, " + shortestNumberText(*water) + ", m, groundwater level");
    if (const auto p = gpsPositionOf(gpsFieldsOf(s))) {
        // Coordinate system 00001: WGS84 in decimal degrees, X east, Y north.
        line(out, "XYID", "00001, " + fixedNumberText(p->longitude, 7) + ", " + fixedNumberText(p->latitude, 7) +
                              ", " + fixedNumberText(p->resolution, 7) + ", " + fixedNumberText(p->resolution, 7));
    }
    // The sounding file holds no surface level in any datum (a GPS altitude
    // is the receiver's, not the ground's): the height is given in the
    // test's own reference, the surface itself, where it is 0 exactly.
    line(out, "ZID", std::string(kGefOwnHeightSystem) + ", 0.00, 0.00");
    out += "#EOH=\r\n";

    NonFiniteValues voids;
    for (int r = 1; r <= readingCount; ++r) {
        const double depth = depthBelowSurface(s, r);
        if (!std::isfinite(depth)) return nonFiniteDepth("GEF-CPT", r);
        out += fixedNumberText(depth, depthDecimals);
        for (const QuantityColumn& column : written) {
            out += ';';
            const auto v = column.channel == 0 ? std::nullopt : standardValue(s, tables, column, r);
            out += v ? fixedNumberText(*v, kQuantities[column.rule].decimals) : std::string(kVoid);
            if (!v && column.channel != 0 && s.value(column.channel, r) != kNoDataValue)
                voids.note(r, "channel " + std::to_string(column.channel) + " (" + s.channelName[column.channel] + ")");
        }
        for (const GefInterpreted* q : interpreted) {
            const double v = ((*interpretation).*(q->values))[static_cast<std::size_t>(r)] * q->scale;
            out += ';';
            out += hasValue(v) ? quantityText(v, q->decimals) : std::string(kVoid);
        }
        out += "!\r\n";
    }
    if (readingCount == 0) {
        out += kVoid;
        for (std::size_t k = 1; k < columnCount; ++k) out += ";" + std::string(kVoid);
        out += "!\r\n";
    }
    voids.report(file, "GEF-CPT", std::string(kVoid));
    if (std::string m = leftOutMessage("GEF-CPT", columns); !m.empty()) file.messages.push_back(std::move(m));
    if (std::string m = values.message(); !m.empty()) file.messages.push_back(std::move(m));
    if (readingCount == 0)
        file.messages.push_back("The sounding has no readings: the GEF-CPT file holds one record with every column void.");
    if (interpretation) file.messages.insert(file.messages.end(), interpretation->notes.begin(), interpretation->notes.end());
    return file;
}

}  // namespace qm
