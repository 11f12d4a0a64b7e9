#include "ops/AgsReader.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "model/CodePage.h"
#include "ops/ImportedSounding.h"

namespace qm {

namespace {

struct AgsChannel {
    std::string_view heading;
    int16_t type;
    std::string_view name;
    std::string_view standardUnit;  // the dictionary's
};

constexpr AgsChannel kChannels[] = {
    {"SCPT_RES", 1, "TIP RESISTANCE", "MPa"},    {"SCPT_FRES", 2, "SLEEVE FRICTION", "MPa"},
    {"SCPT_PWP1", 4, "PORE PRESSURE U1", "MPa"}, {"SCPT_PWP2", 3, "PORE PRESSURE U2", "MPa"},
    {"SCPT_PWP3", 5, "PORE PRESSURE U3", "MPa"}, {"SCPT_SLP1", 6, "INCLINATION X", "deg"},
    {"SCPT_SLP2", 7, "INCLINATION Y", "deg"},    {"SCPT_FRR", 14, "FRICTION RATIO", "%"},
    {"SCPT_TEMP", 10, "TEMPERATURE", "DegC"},    {"SCPT_CON", 11, "CONDUCTIVITY", "uS/cm"},
    {"SCPT_NGAM", 16, "NATURAL GAMMA", "counts/s"}, {"SCPT_MAGT", 15, "MAGNETIC FIELD", "nT"},
    {"SCPT_REDX", 19, "REDOX POTENTIAL", "mV"},  {"SCPT_SMP", 17, "SOIL MOISTURE", "%"},
};

// Keys, remarks and what the interpretation computes again from the
// measured columns: read past without a word.
bool passedOver(std::string_view heading) {
    static constexpr std::string_view kQuiet[] = {"LOCA_ID",   "SCPG_TESN", "SCPT_DPTH", "SCPT_REM",  "SCPT_QT",
                                                  "SCPT_FT",   "SCPT_QE",   "SCPT_BDEN", "SCPT_CPO",  "SCPT_CPOD",
                                                  "SCPT_QNET", "SCPT_FRRC", "SCPT_EXPP", "SCPT_BQ",   "SCPT_ISPP",
                                                  "SCPT_NQT",  "SCPT_NFR",  "FILE_FSET", "SCPT_MAGX", "SCPT_MAGY",
                                                  "SCPT_MAGZ", "SCPT_PH"};
    return std::find(std::begin(kQuiet), std::end(kQuiet), heading) != std::end(kQuiet) ||
           heading.find("_ICPT") != std::string_view::npos || heading.find("_SBT") != std::string_view::npos ||
           heading.find("_CDEP") != std::string_view::npos;
}

struct Group {
    std::vector<std::string> headings, units;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> rowLines;

    int column(std::string_view heading) const {
        const auto it = std::find(headings.begin(), headings.end(), heading);
        return it == headings.end() ? -1 : static_cast<int>(it - headings.begin());
    }
    std::string field(std::size_t row, std::string_view heading) const {
        const int c = column(heading);
        return c < 0 ? std::string() : rows[row][static_cast<std::size_t>(c)];
    }
};

using Groups = std::map<std::string, Group>;

std::string refusal(int line, const std::string& what) {
    return "The AGS4 file cannot be opened: line " + std::to_string(line) + " " + what + ".";
}

// One row: quoted fields separated by commas, "" a quote inside a field.
std::optional<std::vector<std::string>> rowFields(std::string_view line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (true) {
        std::string field;
        while (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (true) {
                if (i >= line.size()) return std::nullopt;  // no closing quote
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            while (i < line.size() && line[i] == ' ') ++i;
        } else {
            while (i < line.size() && line[i] != ',') field += line[i++];
        }
        out.push_back(std::move(field));
        if (i >= line.size()) return out;
        if (line[i] != ',') return std::nullopt;
        ++i;
    }
}

std::optional<std::string> parseGroups(const std::string& text, Groups& groups) {
    Group* current = nullptr;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        const std::string_view line = std::string_view(text).substr(pos, stop - pos);
        pos = stop;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        ++lineNumber;
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const auto fields = rowFields(line);
        if (!fields || fields->empty()) return refusal(lineNumber, "is no row of quoted fields");
        const std::string& descriptor = (*fields)[0];
        const std::vector<std::string> rest(fields->begin() + 1, fields->end());
        if (descriptor == "GROUP") {
            if (rest.empty() || rest[0].empty()) return refusal(lineNumber, "names no group");
            current = &groups[rest[0]];
            if (!current->headings.empty()) return refusal(lineNumber, "starts the group " + rest[0] + " a second time");
            continue;
        }
        if (!current) return refusal(lineNumber, "comes before the first GROUP row");
        if (descriptor == "HEADING") {
            current->headings = rest;
        } else if (descriptor == "UNIT" || descriptor == "TYPE" || descriptor == "DATA") {
            if (rest.size() != current->headings.size())
                return refusal(lineNumber, "holds " + std::to_string(rest.size()) + " fields where its group's HEADING row has " +
                                               std::to_string(current->headings.size()));
            if (descriptor == "UNIT") current->units = rest;
            if (descriptor == "DATA") {
                current->rows.push_back(rest);
                current->rowLines.push_back(lineNumber);
            }
        } else {
            return refusal(lineNumber, "starts with \"" + cp1252ToAscii(descriptor) + "\", no AGS4 row descriptor");
        }
    }
    if (groups.find("SCPT") == groups.end() || groups["SCPT"].column("SCPT_DPTH") < 0 ||
        groups["SCPT"].column("LOCA_ID") < 0)
        return "The AGS4 file cannot be opened: it has no SCPT group with LOCA_ID and SCPT_DPTH, so no cone "
               "penetration test.";
    return std::nullopt;
}

std::string testKey(const Group& scpt, std::size_t row) {
    const std::string loca = scpt.field(row, "LOCA_ID"), tesn = scpt.field(row, "SCPG_TESN");
    return tesn.empty() ? loca : loca + "/" + tesn;
}

// "51:30:15.25N", "-0:07:39.1" or decimal degrees; nothing for other text.
std::optional<double> degrees(std::string text) {
    double sign = 1.0;
    if (!text.empty() && (text.back() == 'S' || text.back() == 'W' || text.back() == 's' || text.back() == 'w')) {
        sign = -1.0;
        text.pop_back();
    } else if (!text.empty() && (text.back() == 'N' || text.back() == 'E' || text.back() == 'n' || text.back() == 'e')) {
        text.pop_back();
    }
    if (text.find(':') == std::string::npos) {
        const auto v = plainNumber(text);
        return v ? std::optional<double>(sign * *v) : std::nullopt;
    }
    if (!text.empty() && text.front() == '-') {
        sign = -sign;
        text.erase(0, 1);
    }
    double total = 0.0, scale = 1.0;
    std::size_t start = 0;
    for (int part = 0; part < 3 && start <= text.size(); ++part) {
        const std::size_t colon = text.find(':', start);
        const auto v = plainNumber(std::string_view(text).substr(start, colon == std::string::npos ? std::string::npos
                                                                                                  : colon - start));
        if (!v || *v < 0) return std::nullopt;
        total += *v / scale;
        scale *= 60.0;
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return sign * total;
}

// A depth in metres from the SCPT_DPTH unit.
std::optional<double> metres(double value, const std::string& unit) {
    if (unit.empty() || unit == "m") return value;
    if (unit == "mm") return value / 1000.0;
    if (unit == "cm") return value / 100.0;
    if (unit == "ft") return value * 0.3048;
    return std::nullopt;
}

class AgsParser {
   public:
    AgsParser(std::string_view bytes, const ChannelTypeTable& tables) : text_(toCodePage(bytes)), tables_(tables) {}

    std::optional<std::string> parse() { return parseGroups(text_, groups_); }
    const Groups& groups() const { return groups_; }

    std::optional<std::string> read(const std::string& which, Sounding& s, std::vector<std::string>& messages,
                                    AgsExtras& extras) {
        const Group& scpt = groups_.at("SCPT");
        const int locaColumn = scpt.column("LOCA_ID"), tesnColumn = scpt.column("SCPG_TESN");
        const auto locaOf = [&](std::size_t r) -> const std::string& { return scpt.rows[r][static_cast<std::size_t>(locaColumn)]; };
        const auto sameTest = [&](std::size_t a, std::size_t b) {
            return locaOf(a) == locaOf(b) &&
                   (tesnColumn < 0 || scpt.rows[a][static_cast<std::size_t>(tesnColumn)] ==
                                          scpt.rows[b][static_cast<std::size_t>(tesnColumn)]);
        };
        // The test: named, or the file's only one.
        std::vector<std::size_t> rows;
        if (which.empty()) {
            for (std::size_t r = 0; r < scpt.rows.size(); ++r) {
                if (r > 0 && !sameTest(r, 0))
                    return "The AGS4 file holds several tests (" + cp1252ToAscii(testKey(scpt, 0)) + ", " +
                           cp1252ToAscii(testKey(scpt, r)) + ", ...): name one, as FILE.ags#" +
                           cp1252ToAscii(testKey(scpt, 0)) + ".";
                rows.push_back(r);
            }
        } else {
            const bool byLocation = which.find('/') == std::string::npos;
            for (std::size_t r = 0; r < scpt.rows.size(); ++r)
                if (byLocation ? locaOf(r) == which : testKey(scpt, r) == which) rows.push_back(r);
        }
        if (rows.empty()) return "The AGS4 file holds no readings of the test " + cp1252ToAscii(which) + ".";
        const std::string loca = locaOf(rows[0]), tesn = scpt.field(rows[0], "SCPG_TESN");
        for (std::size_t r : rows)
            if (!sameTest(r, rows[0]))
                return "The AGS4 file holds several tests at " + cp1252ToAscii(loca) + ": name one, as FILE.ags#" +
                       cp1252ToAscii(testKey(scpt, rows[0])) + ".";
        if (rows.size() > static_cast<std::size_t>(kMaxReadings))
            return refusal(scpt.rowLines[rows[kMaxReadings]], "holds reading " + std::to_string(kMaxReadings + 1) +
                                                                  " of the test, more than " +
                                                                  std::to_string(kMaxReadings) + " readings fit");

        ImportedTest test;
        if (auto r = readings(scpt, rows, test, messages)) return r;
        header(loca, tesn, test, extras);
        return fillImportedSounding(test, tables_, s, messages, "AGS4");
    }

   private:
    std::optional<std::string> readings(const Group& scpt, const std::vector<std::size_t>& rows, ImportedTest& test,
                                        std::vector<std::string>& messages) const {
        const int depthColumn = scpt.column("SCPT_DPTH");
        const std::string depthUnit =
            scpt.units.empty() ? std::string("m") : scpt.units[static_cast<std::size_t>(depthColumn)];
        for (std::size_t r : rows) {
            const std::string& text = scpt.rows[r][static_cast<std::size_t>(depthColumn)];
            const auto v = plainNumber(text);
            const auto depth = v ? metres(*v, depthUnit) : std::nullopt;
            if (!depth)
                return refusal(scpt.rowLines[r], "holds the depth \"" + cp1252ToAscii(text) + "\" in " +
                                                     cp1252ToAscii(depthUnit) + ", which is no depth");
            test.depth.push_back(*depth);
            if (const std::size_t point = text.find('.'); point != std::string::npos)
                test.depthDecimals = std::max(test.depthDecimals, static_cast<int>(text.size() - point - 1));
        }
        for (std::size_t c = 0; c < scpt.headings.size(); ++c) {
            const std::string& heading = scpt.headings[c];
            const AgsChannel* kind = nullptr;
            for (const AgsChannel& k : kChannels)
                if (k.heading == heading) kind = &k;
            if (!kind) {
                if (!passedOver(heading))
                    messages.push_back("The AGS4 file's heading " + cp1252ToAscii(heading) +
                                       " has no channel type: it is left out.");
                continue;
            }
            ImportedColumn col{kind->type, std::string(kind->name), scpt.units.empty() ? std::string() : scpt.units[c],
                               kind->standardUnit, "heading " + heading, {}};
            for (std::size_t r : rows) {
                const std::string& text = scpt.rows[r][c];
                if (text.find_first_not_of(" ") == std::string::npos) {
                    col.values.emplace_back();
                    continue;
                }
                const auto v = plainNumber(text);
                if (!v)
                    return refusal(scpt.rowLines[r], "holds \"" + cp1252ToAscii(text) + "\" under " + heading +
                                                         ", which is not a number");
                col.values.push_back(*v);
            }
            test.columns.push_back(std::move(col));
        }
        return std::nullopt;
    }

    // The first row of `group` at this test (or at its location, for groups
    // keyed by LOCA_ID alone), or of the group at all for PROJ and TRAN.
    std::optional<std::size_t> rowOf(const std::string& group, const std::string& loca, const std::string& tesn) const {
        const auto it = groups_.find(group);
        if (it == groups_.end() || it->second.rows.empty()) return std::nullopt;
        const Group& g = it->second;
        if (g.column("LOCA_ID") < 0) return 0;
        for (std::size_t r = 0; r < g.rows.size(); ++r)
            if (g.field(r, "LOCA_ID") == loca && (g.column("SCPG_TESN") < 0 || g.field(r, "SCPG_TESN") == tesn))
                return r;
        return std::nullopt;
    }

    std::string field(const std::string& group, const std::string& heading, const std::string& loca,
                      const std::string& tesn) const {
        const auto r = rowOf(group, loca, tesn);
        return r ? groups_.at(group).field(*r, heading) : std::string();
    }

    void header(const std::string& loca, const std::string& tesn, ImportedTest& t, AgsExtras& extras) const {
        const auto at = [&](const char* group, const char* heading) { return field(group, heading, loca, tesn); };
        t.companyName = at("PROJ", "PROJ_CONT");
        if (t.companyName.empty()) t.companyName = at("TRAN", "TRAN_PROD");
        t.jobNumber = at("PROJ", "PROJ_ID");
        t.header = at("PROJ", "PROJ_NAME");
        t.location = at("PROJ", "PROJ_LOC");
        t.holeNumber = loca;
        t.coneNumber = at("SCPG", "SCPG_REF");
        t.dateAndTime = at("LOCA", "LOCA_STAR");
        t.footnote1 = at("SCPG", "SCPG_REM");
        t.footnote2 = at("SCPG", "SCPG_ENV");
        t.waterTableDepth = at("SCPG", "SCPG_WAT");
        extras.netAreaRatio = plainNumber(at("SCPG", "SCPG_CAR"));
        const auto lat = degrees(at("LOCA", "LOCA_LAT")), lon = degrees(at("LOCA", "LOCA_LON"));
        if (lat && lon) t.gpsSentence = gpsSentenceOf(*lat, *lon);
    }

    std::string text_;
    const ChannelTypeTable& tables_;
    Groups groups_;
};

}  // namespace

AgsTestList agsTests(std::string_view bytes) {
    AgsTestList list;
    AgsParser parser(bytes, ChannelTypeTable{});
    if (auto error = parser.parse()) {
        list.error = *error;
        return list;
    }
    const Group& scpt = parser.groups().at("SCPT");
    const int depthColumn = scpt.column("SCPT_DPTH");
    for (std::size_t r = 0; r < scpt.rows.size(); ++r) {
        const std::string loca = scpt.field(r, "LOCA_ID"), tesn = scpt.field(r, "SCPG_TESN");
        auto it = std::find_if(list.tests.begin(), list.tests.end(),
                               [&](const AgsTest& t) { return t.locationId == loca && t.testNumber == tesn; });
        const double depth = plainNumber(scpt.rows[r][static_cast<std::size_t>(depthColumn)]).value_or(0.0);
        if (it == list.tests.end()) {
            list.tests.push_back({loca, tesn, depth, depth, 0});
            it = list.tests.end() - 1;
        }
        it->top = std::min(it->top, depth);
        it->bottom = std::max(it->bottom, depth);
        ++it->readings;
    }
    if (list.tests.empty()) list.error = "The AGS4 file cannot be opened: its SCPT group holds no readings.";
    return list;
}

LoadResult readAgsText(std::string_view bytes, const std::string& which, const ChannelTypeTable& tables,
                       Sounding& out, AgsExtras* extras) {
    AgsExtras found;
    LoadResult result = readIntoFresh(out, [&](Sounding& fresh, std::vector<std::string>& messages) {
        AgsParser parser(bytes, tables);
        std::optional<std::string> refusal = parser.parse();
        return refusal ? refusal : parser.read(which, fresh, messages, found);
    });
    if (result.ok && extras) *extras = found;
    return result;
}

bool isAgsFileName(std::string_view path) { return hasExtension(path, ".ags"); }

}  // namespace qm
