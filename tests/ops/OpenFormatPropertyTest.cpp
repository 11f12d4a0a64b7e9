// The open-format files read back with readers of the test's own: on samples
// whose values, units and header texts are scrambled at random, the CSV
// gives every stored float back exactly, and no header text (commas, quotes,
// "#", ";", "!", bytes outside ASCII) breaks the syntax of the GEF-CPT or
// AGS4 file.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <map>
#include <memory>
#include <random>

#include "model/CodePage.h"
#include "model/SoundingReader.h"
#include "model/Units.h"
#include "ops/AgsExport.h"
#include "ops/CsvExport.h"
#include "ops/GefExport.h"
#include "ops/StandardQuantities.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        out.push_back(bytes.substr(at, end - at));
    EXPECT_EQ(at, bytes.size()) << "the file does not end in CR LF";
    return out;
}

// One line of RFC 4180 fields (CSV and AGS4 alike).
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted && ch == '"' && i + 1 < line.size() && line[i + 1] == '"') out.back() += line[++i];
        else if (ch == '"') quoted = !quoted;
        else if (ch == ',' && !quoted) out.emplace_back();
        else out.back() += ch;
    }
    EXPECT_FALSE(quoted) << line;
    return out;
}

std::string randomText(std::mt19937& rng) {
    std::string t;
    for (int n = std::uniform_int_distribution(0, 12)(rng); n > 0; --n)
        t += static_cast<char>(std::uniform_int_distribution(0x20, 0xFF)(rng));
    return t;
}

// A sample with random texts, units, depth format and finite values (some
// without data).
std::unique_ptr<Sounding> scrambled(const std::string& sample, std::mt19937& rng) {
    auto s = std::make_unique<Sounding>();
    const LoadResult r = readSoundingFile(sample, test::shippedTables(), 0, *s);
    EXPECT_TRUE(r.ok) << r.error;
    for (std::string Sounding::*field : kHeaderLines)
        if (field != &Sounding::gpsSentence) (*s).*field = randomText(rng);
    for (int c = 1; c <= s->channelCount; ++c) {
        s->channelName[c] = randomText(rng);
        const int units = test::shippedTables().unitCount[s->channelType[c]];
        changeChannelUnit(*s, test::shippedTables(), c, std::uniform_int_distribution(1, units)(rng));
        for (int i = 1; i <= s->readingCount; ++i) {
            float v = std::bit_cast<float>(static_cast<uint32_t>(rng()));
            if (!std::isfinite(v) || rng() % 8 == 0) v = kNoDataValue;
            s->value(c, i) = v;
        }
    }
    s->depthFormatApplied = static_cast<int16_t>(rng() % 2);
    return s;
}

float readBack(const std::string& text) {
    float v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << "\"" << text << "\"";
    return v;
}

class OpenFormatProperty : public testing::TestWithParam<std::string> {};

TEST_P(OpenFormatProperty, CsvGivesEveryFloatBackAndTextsKeepTheSyntax) {
    std::mt19937 rng(std::hash<std::string>{}(GetParam()));
    const ChannelTypeTable& tables = test::shippedTables();
    for (int round = 0; round < 3; ++round) {
        const auto s = scrambled(test::samplesDir() + "/" + GetParam(), rng);
        const bool feet = round == 1;

        const std::vector<std::string> csv = lines(csvFile(*s, tables, feet).bytes);
        ASSERT_EQ(csv.size(), static_cast<std::size_t>(s->readingCount) + 1);
        const std::vector<std::string> head = fields(csv[0]);
        ASSERT_EQ(head.size(), static_cast<std::size_t>(s->channelCount) + 2);
        for (int c = 1; c <= s->channelCount; ++c)
            EXPECT_EQ(head[c], cp1252ToUtf8(s->channelName[c] + " (" +
                                            tables.name(s->channelType[c], s->channelUnitIndex[c]) + ")"));
        for (int r = 1; r <= s->readingCount; ++r) {
            const std::vector<std::string> row = fields(csv[r]);
            ASSERT_EQ(row.size(), head.size()) << "row " << r;
            const float depth = feet ? static_cast<float>(s->depth[r] * 3.281) : s->depth[r];
            EXPECT_EQ(readBack(row[0]), depth) << "row " << r;
            for (int c = 1; c <= s->channelCount; ++c) {
                if (s->value(c, r) == kNoDataValue) EXPECT_EQ(row[c], "") << "row " << r;
                else EXPECT_EQ(readBack(row[c]), s->value(c, r)) << "row " << r << " channel " << c;
            }
            EXPECT_EQ(readBack(row.back()), s->speed[r]);
        }

        // GEF: every header line is "#KEYWORD= " with as many comma-separated
        // parameters as the keyword takes, and every record has #COLUMN
        // fields.
        const std::vector<std::string> gef = lines(gefFile(*s, tables, {2026, 1, 15}).bytes);
        const std::map<std::string, std::size_t> parameters = {
            {"FILEOWNER", 1}, {"PROJECTID", 2}, {"TESTID", 1}, {"MEASUREMENTTEXT", 3}};
        std::size_t columns = 0, records = 0;
        for (const std::string& l : gef) {
            for (const char ch : l) ASSERT_TRUE(ch >= 0x20 && ch < 0x7F) << l;
            if (l[0] == '#') {
                const std::string keyword = l.substr(1, l.find('=') - 1);
                if (parameters.count(keyword)) {
                    EXPECT_EQ(static_cast<std::size_t>(std::count(l.begin(), l.end(), ',')) + 1, parameters.at(keyword))
                        << l;
                }
                if (keyword == "COLUMN") columns = std::stoul(l.substr(9));
                // No keyword is left without a value: a reader would take
                // the next line for it.
                if (keyword != "EOH") {
                    std::string rest = l.substr(l.find('=') + 1);
                    for (std::size_t at = 0, end; at <= rest.size(); at = end + 1) {
                        end = std::min(rest.find(',', at), rest.size());
                        EXPECT_FALSE(blankText(rest.substr(at, end - at))) << l;
                    }
                }
                continue;
            }
            ++records;
            EXPECT_EQ(l.back(), '!');
            EXPECT_EQ(static_cast<std::size_t>(std::count(l.begin(), l.end(), ';')) + 1, columns) << l;
        }
        EXPECT_EQ(records, static_cast<std::size_t>(s->readingCount));

        // AGS4: ASCII, every row as wide as its group's HEADING row, and the
        // PROJ texts come back as their ASCII spelling.
        // Every TRAN field and the first (key) field of every other DATA row
        // is filled in.
        std::size_t width = 0;
        std::string group;
        for (const std::string& l : lines(agsFile(*s, tables, {2026, 1, 15}).bytes)) {
            if (l.empty()) continue;
            for (const char ch : l) ASSERT_TRUE(ch >= 0x20 && ch < 0x7F) << l;
            const std::vector<std::string> f = fields(l);
            if (f[0] == "GROUP") group = f[1];
            if (f[0] == "HEADING") width = f.size();
            if (f[0] == "DATA") {
                EXPECT_FALSE(blankText(f[1])) << l;
                for (std::size_t i = 1; group == "TRAN" && i < f.size(); ++i) EXPECT_FALSE(blankText(f[i])) << l;
            }
            if (f[0] != "GROUP") {
                EXPECT_EQ(f.size(), width) << l;
            }
            if (f[0] == "DATA" && f[1] == cp1252ToAscii(s->jobNumber) && width == 5) {
                EXPECT_EQ(f[4], cp1252ToAscii(s->companyName));
            }
        }
    }
}

TEST(DmsText, SpellsSignedDegreesWithCarriedRounding) {
    EXPECT_EQ(dmsText(51.5), "51:30:00.0000");
    EXPECT_EQ(dmsText(-0.125), "-0:07:30.0000");
    EXPECT_EQ(dmsText(47.551945), "47:33:07.0020");
    EXPECT_EQ(dmsText(-12.99999999999), "-13:00:00.0000");
    EXPECT_EQ(dmsText(-0.00000000001), "0:00:00.0000");
}

INSTANTIATE_TEST_SUITE_P(Samples, OpenFormatProperty,
                         testing::Values("sample-10ch.cpt", "sample-newer.cpt", "sample-older.cpt",
                                         "sample-nopore.cpt"),
                         [](const auto& info) {
                             std::string n = info.param.substr(7, info.param.size() - 11);
                             n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
                             return n;
                         });

}  // namespace
}  // namespace qm
