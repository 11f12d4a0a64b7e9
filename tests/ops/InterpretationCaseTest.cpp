// The interpretation's cases as data (tests/cases/interpretation/cases.tsv):
// small soundings built in memory, the settings, and the values each
// reading must give, to the decimals written in the case.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "model/Units.h"
#include "ops/Interpretation.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

struct Case {
    std::string name;
    InterpretationSettings settings;
    std::string headerWaterTable;
    bool elevation = false;
    std::vector<std::pair<int, std::string>> channels;  // type, unit
    std::vector<std::vector<std::string>> readings;
    std::vector<std::string> expectNames;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> notes;
};

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    return out;
}

std::vector<Case> readCases() {
    std::istringstream in(test::readFile(std::string(QM_CASES_DIR) + "/interpretation/cases.tsv"));
    std::vector<Case> cases;
    const std::map<std::string, std::pair<int, std::string>> kinds = {
        {"qc", {1, "MPA"}}, {"fs", {2, "MPA"}}, {"u2", {3, "MPA"}},
        {"i", {9, "DEG"}},  {"ix", {6, "DEG"}}, {"iy", {7, "DEG"}}};
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = split(line);
        const std::vector<std::string> rest(f.begin() + 1, f.end());
        if (f[0] == "case") cases.emplace_back().name = f.at(1);
        Case& c = cases.back();
        if (f[0] == "set") {
            const double v = std::atof(f.at(2).c_str());
            if (f[1] == "area-ratio") c.settings.areaRatio = v;
            if (f[1] == "water-table") c.settings.waterTable = v;
            if (f[1] == "unit-weight") c.settings.unitWeight = v;
            if (f[1] == "header-water-table") c.headerWaterTable = f[2];
            if (f[1] == "format") c.elevation = f[2] == "elevation";
        }
        if (f[0] == "channels")
            for (const std::string& ch : rest) {
                const auto slash = ch.find('/');
                auto kind = kinds.at(ch.substr(0, slash));
                if (slash != std::string::npos) kind.second = ch.substr(slash + 1);
                c.channels.push_back(kind);
            }
        if (f[0] == "reading") c.readings.push_back(rest);
        if (f[0] == "expect") c.expectNames = rest;
        if (f[0] == "row") c.rows.push_back(rest);
        if (f[0] == "note") c.notes.push_back(f.at(1));
    }
    return cases;
}

std::unique_ptr<Sounding> soundingOf(const Case& c) {
    const ChannelTypeTable& tables = test::shippedTables();
    auto s = std::make_unique<Sounding>();
    s->channelCount = static_cast<int16_t>(c.channels.size());
    for (int k = 1; k <= s->channelCount; ++k) {
        const auto& [type, unit] = c.channels[static_cast<std::size_t>(k - 1)];
        s->channelType[k] = static_cast<int16_t>(type);
        s->channelName[k] = "CHANNEL " + std::to_string(k);
        s->channelUnitIndex[k] = static_cast<int16_t>(findUnit(*s, tables, k, unit));
        EXPECT_NE(s->channelUnitIndex[k], 0) << c.name << ": no unit " << unit;
        s->channelUnitFactor[k] = tables.factor(type, s->channelUnitIndex[k]);
    }
    s->readingCount = static_cast<int32_t>(c.readings.size());
    for (int r = 1; r <= s->readingCount; ++r) {
        const auto& v = c.readings[static_cast<std::size_t>(r - 1)];
        s->depth[r] = std::stof(v.at(0));
        for (int k = 1; k <= s->channelCount; ++k) {
            const std::string& text = v.at(static_cast<std::size_t>(k));
            s->value(k, r) = text == "-" ? kNoDataValue : std::stof(text);
        }
    }
    s->depthIncrement = 1.0f;
    s->depthFormat = s->depthFormatApplied = c.elevation ? 1 : 0;
    s->waterTableDepth = c.headerWaterTable;
    return s;
}

double quantity(const Interpretation& in, const std::string& name, std::size_t r) {
    const std::map<std::string, const std::vector<double>*> of = {
        {"z", &in.depth},   {"zc", &in.correctedDepth}, {"qt", &in.qt},     {"rf", &in.rf},
        {"gamma", &in.unitWeight}, {"sv0", &in.sigmaV0}, {"u0", &in.u0},   {"sv0eff", &in.sigmaV0Eff},
        {"qn", &in.qn},     {"bq", &in.bq},             {"fr", &in.fr},     {"qt1", &in.qt1},
        {"n", &in.n},       {"qtn", &in.qtn},           {"ic", &in.ic}};
    if (name == "zone") return in.zone.at(r) == 0 ? std::nan("") : in.zone.at(r);
    return of.at(name)->at(r);
}

TEST(InterpretationCases, EveryReadingGivesTheValuesOfItsCase) {
    const std::vector<Case> cases = readCases();
    ASSERT_GE(cases.size(), 6u);
    for (const Case& c : cases) {
        const auto s = soundingOf(c);
        const Interpretation in = interpret(*s, test::shippedTables(), c.settings);
        for (const auto& row : c.rows) {
            const auto r = static_cast<std::size_t>(std::stoi(row.at(0)));
            for (std::size_t k = 1; k < c.expectNames.size(); ++k) {
                const std::string& want = row.at(k);
                const double got = quantity(in, c.expectNames[k], r);
                const std::string where = c.name + ", reading " + std::to_string(r) + ", " + c.expectNames[k];
                if (want == "-") {
                    EXPECT_FALSE(hasValue(got)) << where << " = " << got;
                    continue;
                }
                const auto point = want.find('.');
                const int decimals = point == std::string::npos ? 0 : static_cast<int>(want.size() - point - 1);
                EXPECT_NEAR(got, std::stod(want), 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9)) << where;
            }
        }
        EXPECT_EQ(in.notes, c.notes) << c.name;
    }
}

}  // namespace
}  // namespace qm
