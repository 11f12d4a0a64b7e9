// The pure functions of number text, entry checks and the GPS dialog, run
// over the rows of tests/cases/functions.tsv: FUNCTION, INPUT, PARAMETER and
// the expected RESULT, separated by tabs. In the texts \t, \r and \xNN stand
// for a tab, a CR and any byte; a field is taken as it is otherwise (spaces
// count). Lines starting with # are comments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>

#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "model/Units.h"
#include "ops/AnalogExport.h"
#include "ops/ChannelShift.h"
#include "ops/Combine.h"
#include "ops/DepthAxis.h"
#include "ops/GpsSentence.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::string unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) out += field[i];
        else if (field[++i] == 't') out += '\t';
        else if (field[i] == 'r') out += '\r';
        else if (field[i] == 'x') out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16)), i += 2;
        else out += field[i];
    }
    return out;
}

std::string shown(std::optional<double> v) {
    if (!v) return "none";
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", *v);
    return text;
}

// strtod, unlike stod, takes subnormal numbers and infinity.
double db(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
float fl(const std::string& text) { return static_cast<float>(db(text)); }

using Function = std::function<std::string(const std::string& in, const std::string& param)>;

const std::map<std::string, Function>& functions() {
    static const std::map<std::string, Function> all = {
        // formatPattern of a double / of a float / of a text; PARAMETER: pattern, then the separator
        {"pattern", [](auto& in, auto& p) { return formatPattern(db(in), p.substr(0, p.size() - 1), p.back()); }},
        {"patternf", [](auto& in, auto& p) { return formatPattern(fl(in), p.substr(0, p.size() - 1), p.back()); }},
        {"patterntext", [](auto& in, auto& p) { return formatPattern(std::string_view(in), p); }},
        {"number", [](auto& in, auto& p) { return numberText(fl(in), p[0]); }},
        {"general", [](auto& in, auto& p) { return generalNumberText(fl(in), p[0]); }},
        {"plain", [](auto& in, auto&) { return plainNumberText(db(in)); }},
        // textToNumber: the value, then the text as the call leaves it
        {"file", [](auto& in, auto& p) {
             std::string text = in;
             const auto v = textToNumber(text, std::stoi(p));
             return shown(v) + " " + text;
         }},
        {"box", [](auto& in, auto& p) { return shown(localeTextToNumber(in, p[0])); }},
        {"entry", [](auto& in, auto& p) { return std::string(checkForValidEntry(in, std::stoi(p)) ? "valid" : "invalid"); }},
        {"lead", [](auto& in, auto& p) { return std::to_string(leadCountFromFullScale(fl(in), fl(p))); }},
        {"gpsnumber", [](auto& in, auto&) { return shown(leadingNumber(in)); }},
        {"satellites", [](auto& in, auto&) { return std::to_string(satelliteItemIndex(in)); }},
        // The GPS dialog opened on a sentence: its boxes
        {"gpsboxes", [](auto& in, auto&) {
             const GpsBoxTexts b = gpsBoxTexts(decodeGps(in));
             const GpsEntry e = gpsEntryFromFields(decodeGps(in));
             return b.latitude + "|" + b.longitude + "|" + b.altitude + "|" + e.northSouth + e.eastWest + "|" +
                    e.satellites;
         }},
        // ... and its OK: the message, whether it closes, the stored sentence;
        // PARAMETER lat=TEXT, ns=TEXT or ew=TEXT changes that box first
        {"gpsok", [](auto& in, auto& p) {
             Sounding s;
             s.gpsSentence = "EARLIER";
             GpsEntry e = gpsEntryFromFields(decodeGps(in));
             if (!p.empty()) (p[0] == 'l' ? e.latitude : p[0] == 'n' ? e.northSouth : e.eastWest) = p.substr(p.find('=') + 1);
             const GpsOkResult r = acceptGpsEntry(s, e);
             return (r.messages.empty() ? "" : r.messages[0] + "|") + (r.closeDialog ? "closed|" : "open|") + s.gpsSentence;
         }},
        // The channel shift panel on a file below tests/cases (PARAMETER: a unit to show
        // first, C=NAME): per channel the lowest reading, the final baseline
        // and the unit
        {"shiftpanel", [](auto& in, auto& p) {
             static Sounding s;
             const ChannelTypeTable& t = test::shippedTables();
             readSoundingFile(std::string(QM_CASES_DIR) + "/" + in, t, 0, s);
             if (!p.empty()) changeChannelUnit(s, t, p[0] - '0', findUnit(s, t, p[0] - '0', p.substr(2)));
             std::string rows;
             for (const ShiftPanelRow& row : shiftPanelRows(s, t, '.'))
                 rows += row.lowestReading + " " + row.finalBaseline + " " + row.unitName + "|";
             return rows;
         }},
        // The combine panel open on the second push while the tip changes to
        // unit PARAMETER: the tip of the first appended reading
        {"combineunit", [](auto&, auto& p) {
             static Sounding s;
             static SecondSounding second;
             const ChannelTypeTable& t = test::shippedTables();
             readSoundingFile(test::samplesDir() + "/sample-older.cpt", t, 0, s);
             const CombineReadResult read = readSecondFile(test::samplesDir() + "/sample-older-push2.cpt", s, t, 0, second);
             changeChannelUnit(s, t, 1, findUnit(s, t, 1, p));
             appendSecondSounding(s, second, read.preview.startDepth, true, 0, false);
             return numberText(s.value(1, 601), '.');
         }},
        // Line 2 of the analog file of a sample cut to its first reading (as
        // Delete leaves it), the page in feet (PARAMETER ft) or metres
        {"analogline2", [](auto& in, auto& p) {
             static Sounding s;
             readSoundingFile(test::samplesDir() + "/" + in, test::shippedTables(), 0, s);
             s.readingCount = 1;
             AnalogExportRequest request;
             request.texts = headerTextsOf(s);
             request.depthInFeet = p == "ft";
             std::string bytes;
             analogFileText(s, request, bytes);
             return bytes.substr(bytes.find("\r\n") + 2 + 48, bytes.find("\r\n", bytes.find("\r\n") + 2) - bytes.find("\r\n") - 50);
         }},
        // The start-depth panel's captions in depth (0) and elevation (1) format
        {"startcaptions", [](auto& in, auto&) {
             const StartDepthCaptions c = startDepthCaptions(static_cast<int16_t>(std::stoi(in)));
             return std::string(c.frame) + "|" + std::string(c.currentLabel) + "|" + std::string(c.newLabel);
         }},
    };
    return all;
}

TEST(FunctionTable, EveryRowGivesItsResult) {
    std::ifstream in(std::string(QM_CASES_DIR) + "/functions.tsv", std::ios::binary);
    ASSERT_TRUE(in) << "tests/cases/functions.tsv";
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            f.push_back(unescape(line.substr(start, tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        ASSERT_EQ(f.size(), 4u) << line;
        const auto function = functions().find(f[0]);
        ASSERT_NE(function, functions().end()) << line;
        EXPECT_EQ(function->second(f[1], f[2]), f[3]) << line;
        ++rows;
    }
    EXPECT_GT(rows, 100);
}

}  // namespace
}  // namespace qm
