// Load and save are each other's inverse: the shipped samples come back as
// they were (raw readings to within Single rounding), and generated
// soundings of every shape reach a fixed point after one save and load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "support/SoundingCompare.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::SoundingFileBuilder;

std::unique_ptr<Sounding> loadOrFail(const std::string& text, const ChannelTypeTable& table, int mode,
                                     std::vector<std::string>* messages = nullptr) {
    auto s = std::make_unique<Sounding>();
    const LoadResult r = readSoundingText(text, table, mode, *s);
    EXPECT_TRUE(r.ok) << r.error;
    if (messages) *messages = r.messages;
    return r.ok ? std::move(s) : nullptr;
}

// A raw reading rebuilt from its value may differ from the one read by the
// rounding of the conversion and its inverse, and by the 5 decimals it is
// written with.
void expectSameRaw(const std::string& original, const std::string& written, const std::string& where) {
    std::string a = original, b = written;
    const auto x = textToNumber(a, 0), y = textToNumber(b, 0);
    ASSERT_TRUE(x && y) << where << ": \"" << original << "\" / \"" << written << "\"";
    if (*x == -32768.0 || *y == -32768.0) {
        EXPECT_EQ(*x, *y) << where;
        return;
    }
    EXPECT_NEAR(*x, *y, 1e-6 * std::fabs(*x) + 1.1e-5) << where;
}

bool isMarkerOrBlank(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos) return true;
    return containsNoCase(line, "DRILLOUT") || line.find("********") != std::string::npos;
}

// ------------------------------------------------------------ the samples

TEST(RoundTripSamples, LoadThenSaveReproducesEachSample) {
    std::vector<fs::path> samples;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(test::samplesDir(), ec))
        if (entry.path().extension() == ".cpt") samples.push_back(entry.path());
    if (samples.empty()) GTEST_SKIP() << "no samples in " << test::samplesDir();
    std::sort(samples.begin(), samples.end());

    for (const fs::path& path : samples) {
        SCOPED_TRACE(path.filename().string());
        const std::string original = test::readFile(path.string());
        const std::vector<std::string> in = splitLines(original);
        ASSERT_GT(in.size(), 23u);
        // A sample written on a comma system carries commas in its raw spans.
        const char sep = in[17].find(',') != std::string::npos ? ',' : '.';
        auto s = loadOrFail(original, test::shippedTables(), 0);
        ASSERT_TRUE(s);
        const std::string saved = soundingFileText(*s, test::shippedTables(), sep);
        ASSERT_FALSE(layoutProblem(*s, test::shippedTables(), sep).has_value());
        const std::vector<std::string> out = splitLines(saved);

        // Version line, header, the two empty lines, channel lines, column titles.
        for (std::size_t i = 0; i < 23; ++i) EXPECT_EQ(out[i], in[i]) << "line " << i + 1;

        std::vector<std::string> rows;
        std::string finalBaseline;
        for (std::size_t i = 23; i < in.size(); ++i) {
            if (isMarkerOrBlank(in[i])) continue;
            if (in[i].compare(0, 6, "      ") == 0 && rows.size() > 1) {
                finalBaseline = in[i];
                continue;
            }
            rows.push_back(in[i]);
        }
        ASSERT_EQ(static_cast<int>(rows.size()), s->readingCount);
        ASSERT_EQ(out.size(), 23 + rows.size() + (finalBaseline.empty() ? 0 : 1));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::string& written = out[23 + r];
            EXPECT_EQ(written.substr(0, 13), rows[r].substr(0, 13)) << "reading " << r + 1;
            EXPECT_EQ(written.size(), rows[r].size()) << "reading " << r + 1;
            for (int c = 1; c <= s->channelCount; ++c)
                expectSameRaw(channelField(rows[r], c), channelField(written, c),
                              "reading " + std::to_string(r + 1) + " channel " + std::to_string(c));
        }
        if (!finalBaseline.empty()) {
            EXPECT_EQ(out.back(), finalBaseline);
        }
        EXPECT_EQ(saved.substr(saved.size() - 2), "\r\n");
    }
}

// ------------------------------------------------------------ generated soundings

struct Generated {
    std::string text;
    int mode = 0;  // the decimal mode it is read in
    char saveSep = '.';
    int saveMode = 0;
    int16_t saveDecimals = 3;
    int markers = 0;
    bool finalBaseline = false;
    // Every channel reads a few units of raw span, as the rigs' own files do:
    // five decimals are then coarser than a Single's precision.
    bool smallRaws = false;
};

class SoundingGenerator {
   public:
    explicit SoundingGenerator(unsigned seed) : rng_(seed) {}

    Generated next() {
        Generated g;
        const bool newer = coin();
        const char sep = coin() ? ',' : '.';
        g.mode = coin();
        g.saveSep = coin() ? ',' : '.';
        g.saveMode = coin();
        g.saveDecimals = coin() ? 3 : 2;
        SoundingFileBuilder b(newer, sep);
        for (int line = 2; line <= 13; ++line) b.headerLine(line, randomText(0, 40));
        b.headerLine(14, randomText(0, 10)).headerLine(15, randomText(0, 10));

        const int channels = uniform(1, 10);
        calibrations_.clear();
        g.smallRaws = coin();
        for (int c = 1; c <= channels; ++c) b.channel(randomChannel(b, g.smallRaws));

        // Depths on a grid with a little noise, falling in elevation format;
        // within what either layout can hold.
        const bool elevation = uniform(0, 4) == 0;
        const int readings = uniform(0, 6) == 0 ? uniform(0, 3) : uniform(4, 80);
        const double step = std::vector<double>{0.01, 0.02, 0.025, 0.05, 0.1, 0.0}[static_cast<std::size_t>(uniform(0, 5))];
        double depth = elevation ? uniform(-50, 90) : uniform(0, 600) * 0.5;
        for (int r = 1; r <= readings; ++r) {
            if (uniform(0, 30) == 0) {
                b.line(std::vector<std::string>{"DRILLOUT", "********", "  ** drillout from 4 m **", "********** RODS"}
                           [static_cast<std::size_t>(uniform(0, 3))]);
                ++g.markers;
            }
            if (uniform(0, 40) == 0) b.line(uniform(0, 1) ? "" : "   ");
            std::vector<double> raws;
            for (int c = 0; c < channels; ++c) raws.push_back(uniform(0, 8) == 0 ? -32768.0 : randomRaw(c));
            const double noise = uniform(-3, 3) * 0.001;
            b.row(depth + noise, uniform(-9999, 99999) / 100.0, raws);
            depth += elevation ? -step : step;
        }
        if (readings >= 2 && coin()) {
            std::vector<double> raws;
            for (int c = 0; c < channels; ++c) raws.push_back(randomRaw(c));
            b.finalBaseline(raws);
            g.finalBaseline = true;
        }
        if (coin()) b.line("");
        g.text = b.text();
        return g;
    }

   private:
    struct Calibration {
        double span, baseline;
    };

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool coin() { return uniform(0, 1) == 1; }
    // A multiple of 0.00001, as the rig writes raw readings.
    static double fiveDecimals(double v) { return std::nearbyint(v * 100000.0) / 100000.0; }

    std::string randomText(int minLength, int maxLength) {
        static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ,.;:-_/()#*\"'";
        std::string t;
        const int n = uniform(minLength, maxLength);
        for (int i = 0; i < n; ++i) t += chars[static_cast<std::size_t>(uniform(0, static_cast<int>(chars.size()) - 1))];
        return t;
    }

    // A raw reading of channel c: from a little below its baseline to a
    // little above its full span.
    double randomRaw(int c) {
        const Calibration& k = calibrations_[static_cast<std::size_t>(c)];
        return fiveDecimals(k.baseline + k.span * uniform(-50000, 1050000) / 1000000.0);
    }

    test::ChannelSpec randomChannel(const SoundingFileBuilder& b, bool smallRaws) {
        struct Type {
            int code;
            std::vector<std::pair<std::string, std::string>> units;  // name, factor text
        };
        static const std::vector<Type> types = {
            {1, {{"KPA", "1"}, {"MPA", "0.001"}, {"TSF", "0.01044272"}}},
            {2, {{"KPA", "1"}, {"MPA", "0.001"}}},
            {3, {{"KPA", "1"}, {"BAR", "0.01"}}},
            {4, {{"A", "1"}, {"B", "2"}, {"A", "4"}}},
            {6, {{"DEG", "1"}}},
        };
        const Type& t = types[static_cast<std::size_t>(uniform(0, static_cast<int>(types.size()) - 1))];
        const auto& unit = t.units[static_cast<std::size_t>(uniform(0, static_cast<int>(t.units.size()) - 1))];
        const char sep = b.number(0.5, "0.0")[1];
        auto withSep = [sep](std::string text) {
            for (char& ch : text)
                if (ch == '.') ch = sep;
            return text;
        };

        test::ChannelSpec channel;
        channel.type = std::to_string(t.code);
        std::string name = randomText(1, 19);
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        channel.name = name.empty() ? "CH" : name;
        static const std::vector<std::string> small = {"4.5966", "2.5", "4.2044", "1", "4.8931"};
        static const std::vector<std::string> any = {"20000", "16384", "4.5966", "2.5", "7777.7", "1", "65535", "250"};
        const std::vector<std::string>& spans = smallRaws ? small : any;
        const std::string span = spans[static_cast<std::size_t>(uniform(0, static_cast<int>(spans.size()) - 1))];
        channel.rawSpan = withSep(span);
        Calibration k{std::stod(span), 0.0};
        k.baseline = fiveDecimals(k.span * uniform(-20000, 100000) / 1000000.0);
        calibrations_.push_back(k);
        channel.baseline = b.number(k.baseline, "####0.00000");
        static const std::vector<std::string> fullScales = {"100000", "150000", "1000", "3447.5", "20", "1.45", "50"};
        channel.fullScale = withSep(fullScales[static_cast<std::size_t>(uniform(0, 6))]) + " " + t.units[0].first;
        channel.unit = unit.first;
        // Now and then line 22 disagrees with the table; the load rescales.
        channel.factor = withSep(uniform(0, 5) == 0 ? "2" : unit.second);
        return channel;
    }

    std::mt19937 rng_;
    std::vector<Calibration> calibrations_;
};

TEST(RoundTripProperty, SavedFilesLoadBackTheSameSounding) {
    SoundingGenerator generator(20210504u);
    const ChannelTypeTable& table = test::testTables();
    int withMarkers = 0, withBaseline = 0, layoutsSwitched = 0, smallCases = 0;
    // Three Soundings reused by every case: each is some megabytes.
    auto a = std::make_unique<Sounding>(), b = std::make_unique<Sounding>(), c = std::make_unique<Sounding>();
    auto load = [&](const std::string& text, int mode, Sounding& into, std::vector<std::string>& messages) {
        const LoadResult r = readSoundingText(text, table, mode, into);
        messages = r.messages;
        if (!r.ok) ADD_FAILURE() << r.error << "\n" << text;
        return r.ok;
    };
    for (int n = 0; n < 300; ++n) {
        const Generated g = generator.next();
        SCOPED_TRACE("case " + std::to_string(n));
        std::vector<std::string> messages;
        ASSERT_TRUE(load(g.text, g.mode, *a, messages));
        EXPECT_EQ(static_cast<int>(messages.size()), g.markers);
        EXPECT_EQ(a->hasFinalBaseline, g.finalBaseline);
        withMarkers += g.markers > 0;
        withBaseline += g.finalBaseline;

        // Save in the chosen layout and separator, read back in the chosen mode.
        layoutsSwitched += a->depthDecimals != g.saveDecimals;
        a->depthDecimals = g.saveDecimals;
        ASSERT_FALSE(layoutProblem(*a, table, g.saveSep).has_value()) << *layoutProblem(*a, table, g.saveSep);
        const std::string first = soundingFileText(*a, table, g.saveSep);
        ASSERT_TRUE(load(first, g.saveMode, *b, messages));
        EXPECT_TRUE(messages.empty());

        // The first cycle keeps texts, channel descriptions, speeds and -32768
        // exactly, depths too unless it dropped their third decimal, and the
        // values to within the rounding of the raw readings.
        ASSERT_EQ(b->readingCount, a->readingCount);
        const bool depthsKept = !(g.saveDecimals == 2 && a->isNewerLayout());
        if (depthsKept) {
            test::CompareOptions loose;
            loose.versionLine = false;
            loose.rawReadings = false;
            loose.values = false;
            EXPECT_EQ(test::soundingDifference(*a, *b, loose), "");
        }
        for (int r = 1; r <= a->readingCount; ++r) {
            ASSERT_EQ(b->speed[r], a->speed[r]);
            for (int ch = 1; ch <= a->channelCount; ++ch) {
                const float x = a->value(ch, r), y = b->value(ch, r);
                if (x == kNoDataValue || y == kNoDataValue) {
                    ASSERT_EQ(x, y) << "channel " << ch << " reading " << r;
                    continue;
                }
                // One raw unit in the channel's unit, times the raw error.
                const double perRaw = std::fabs(static_cast<double>(a->channelFullScale[ch]) *
                                                a->channelUnitFactor[ch] / a->channelRawSpan[ch]);
                const double rawError = 2e-5 + 3e-7 * (std::fabs(a->raw(ch, r)) + std::fabs(a->channelBaseline[ch][1]));
                ASSERT_NEAR(x, y, rawError * perRaw + 1e-6 * std::fabs(x)) << "channel " << ch << " reading " << r;
            }
        }

        // The second cycle changes nothing but the last bits of raw readings
        // too fine for their 5 decimals: the inverse conversion stores its
        // intermediates as Singles, so a raw of some thousands may move by a
        // Single's rounding each time. Raw readings of a few units, coarser
        // in 5 decimals than a Single, reach their fixed point after one cycle.
        const std::string second = soundingFileText(*b, table, g.saveSep);
        ASSERT_TRUE(load(second, g.saveMode, *c, messages));
        if (g.smallRaws) {
            ++smallCases;
            EXPECT_EQ(test::soundingDifference(*b, *c), "");
            EXPECT_EQ(second, soundingFileText(*c, table, g.saveSep));
            continue;
        }
        test::CompareOptions exceptRaw;
        exceptRaw.rawReadings = false;
        exceptRaw.values = false;
        EXPECT_EQ(test::soundingDifference(*b, *c, exceptRaw), "");
        for (int r = 1; r <= b->readingCount; ++r) {
            ASSERT_EQ(c->value(0, r), b->value(0, r));
            for (int ch = 1; ch <= b->channelCount; ++ch) {
                const float x = b->raw(ch, r), y = c->raw(ch, r);
                if (x == kNoDataValue || y == kNoDataValue) {
                    ASSERT_EQ(x, y);
                    continue;
                }
                const double ulps = 8.0 * std::numeric_limits<float>::epsilon() *
                                    (std::fabs(x) + std::fabs(b->channelBaseline[ch][1]));
                ASSERT_NEAR(x, y, ulps + 1.1e-5) << "channel " << ch << " reading " << r;
            }
        }
    }
    EXPECT_GT(smallCases, 100);
    EXPECT_LT(smallCases, 200);
    // The generator reaches the cases the test is about.
    EXPECT_GT(withMarkers, 20);
    EXPECT_GT(withBaseline, 80);
    EXPECT_GT(layoutsSwitched, 80);
}

}  // namespace
}  // namespace qm
