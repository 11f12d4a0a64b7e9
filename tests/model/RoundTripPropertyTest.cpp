// Properties over generated soundings of every layout, separator, unit and
// channel type: a saved file loads back to the same sounding (texts and
// channels exactly, -32768 where it was, values to within the raw
// readings' rounding), a second cycle changes nothing, and every operation
// leaves counts within the capacities and a sounding that saves and loads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <thread>

#include "FuzzChecks.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "model/Units.h"
#include "ops/AutoClean.h"
#include "ops/ChannelShift.h"
#include "ops/DepthAxis.h"
#include "support/SoundingCompare.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

struct Generated {
    std::string text;
    int mode = 0, markers = 0;
    bool finalBaseline = false;
};

class Generator {
   public:
    explicit Generator(unsigned seed) : rng_(seed) {}
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool coin() { return uniform(0, 1) == 1; }
    template <class T>
    T pick(std::initializer_list<T> items) { return items.begin()[uniform(0, static_cast<int>(items.size()) - 1)]; }

    // A file of 1 to 10 channels of any type and unit (now and then with a
    // line-22 factor the load must correct), -32768 readings, depths falling
    // or rising on a noisy grid, markers, blank lines and a final baseline.
    Generated next() {
        Generated g;
        const char sep = coin() ? ',' : '.';
        g.mode = coin();
        test::SoundingFileBuilder b(coin(), sep);
        for (int line = 2; line <= 13; ++line) b.headerLine(line, text(uniform(0, 40), 75));
        const ChannelTypeTable& t = test::shippedTables();
        std::vector<double> spans;
        for (int c = uniform(1, 10); c > 0; --c) {
            const int type = pick({1, 2, 3, 4, 6, 7, 10, 11, 13}), unit = uniform(1, t.unitCount[type]);
            spans.push_back(pick({4.5966, 2.5, 20000.0, 1.0}));
            b.channel({std::to_string(type), text(uniform(1, 19), 61), numberText(float(spans.back()), sep),
                       formatPattern(spans.back() * uniform(-20, 100) / 1000.0, "0.00000", sep),
                       numberText(pick({100000.0f, 1000.0f, 3447.5f, 20.0f}), sep) + " " + t.name(type, 1), t.name(type, unit),
                       uniform(0, 5) == 0 ? "2" : numberText(t.factor(type, unit), sep)});
        }
        const bool elevation = uniform(0, 4) == 0;
        const int readings = uniform(0, 6) == 0 ? uniform(0, 3) : uniform(4, 80);
        const double step = (elevation ? -1 : 1) * pick({0.01, 0.02, 0.025, 0.05, 0.0});
        double depth = elevation ? uniform(-50, 90) : uniform(0, 600) * 0.5;
        const auto raws = [&](double noData) {
            std::vector<double> r;
            for (double span : spans) r.push_back(uniform(0, 8) == 0 ? noData : std::nearbyint(span * uniform(-50, 1050)) / 1000.0);
            return r;
        };
        for (int r = 1; r <= readings; ++r, depth += step) {
            if (uniform(0, 30) == 0) b.line(coin() ? "DRILLOUT" : "******** rods"), ++g.markers;
            if (uniform(0, 40) == 0) b.line(coin() ? "" : "   ");
            b.row(depth + uniform(-3, 3) * 0.001, uniform(-9999, 99999) / 100.0, raws(-32768.0));
        }
        if ((g.finalBaseline = readings >= 2 && coin())) b.finalBaseline(raws(0.0));
        g.text = b.text();
        return g;
    }

   private:
    // n characters of the first `kinds` of these (61: no blanks or punctuation).
    std::string text(int n, int kinds) {
        static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ,.;:-_/()#*\"'";
        std::string t;
        for (int i = 0; i < n; ++i) t += chars[static_cast<std::size_t>(uniform(0, kinds))];
        return t;
    }
    std::mt19937 rng_;
};

TEST(RoundTripProperty, SavedFilesLoadBackAndASecondCycleChangesNothing) {
    Generator gen(20210504u);
    const ChannelTypeTable& table = test::shippedTables();
    auto a = std::make_unique<Sounding>(), b = std::make_unique<Sounding>(), c = std::make_unique<Sounding>();
    int markers = 0, baselines = 0;
    for (int n = 0; n < 200; ++n) {
        const Generated g = gen.next();
        SCOPED_TRACE("case " + std::to_string(n) + "\n" + g.text);
        const LoadResult loaded = readSoundingText(g.text, table, g.mode, *a);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        EXPECT_EQ(static_cast<int>(loaded.messages.size()), g.markers);
        EXPECT_EQ(a->hasFinalBaseline, g.finalBaseline);
        markers += g.markers > 0;
        baselines += g.finalBaseline;
        fuzz::requireWithinCapacities(*a, "loaded");
        // The record holds what the file has: a slot for each line that may
        // be a reading, and slots 0 and one past the last.
        const auto dataLines = static_cast<std::size_t>(std::count(g.text.begin(), g.text.end(), '\n')) - 23;
        for (int i = 0; i < Sounding::kColumnCount; ++i) EXPECT_LE(a->column(i).size(), dataLines + 3) << "column " << i;
        const char sep = gen.coin() ? ',' : '.';
        const int mode = gen.coin();
        a->depthDecimals = gen.coin() ? 3 : 2;
        ASSERT_FALSE(layoutProblem(*a, table, sep));
        fuzz::requireSaveLoadsBack(*a, mode, "saved");
        ASSERT_TRUE(readSoundingText(soundingFileText(*a, table, sep), table, mode, *b).ok);
        ASSERT_TRUE(readSoundingText(soundingFileText(*b, table, sep), table, mode, *c).ok);
        test::CompareOptions exceptRaw;
        exceptRaw.rawReadings = exceptRaw.values = false;
        EXPECT_EQ(test::soundingDifference(*b, *c, exceptRaw), "");
    }
    EXPECT_GT(markers, 12);
    EXPECT_GT(baselines, 50);
}

// Every read starts from a blank record, whatever the reads before it on the
// same thread met: a read on a thread of its own gives the same sounding,
// every slot of its stores bit for bit, also after a refused file.
TEST(RoundTripProperty, AReadOwesNothingToTheReadsBeforeIt) {
    Generator gen(11u);
    const ChannelTypeTable& table = test::shippedTables();
    auto here = std::make_unique<Sounding>(), apart = std::make_unique<Sounding>();
    const auto bits = [](const Sounding& s) {
        std::string all;
        for (int i = 0; i < Sounding::kColumnCount; ++i)
            all.append(reinterpret_cast<const char*>(s.column(i).data()), s.column(i).size() * sizeof(float)).push_back('|');
        return all;
    };
    for (int n = 0; n < 40; ++n) {
        const Generated g = gen.next();
        SCOPED_TRACE("case " + std::to_string(n) + "\n" + g.text);
        // The file cut in its channel lines, which is refused, comes first.
        std::size_t cut = 0;
        for (int line = 0; line < 18; ++line) cut = g.text.find('\n', cut) + 1;
        EXPECT_FALSE(readSoundingText(g.text.substr(0, cut), table, g.mode, *here).ok);
        ASSERT_TRUE(readSoundingText(g.text, table, g.mode, *here).ok);
        std::thread([&] { ASSERT_TRUE(readSoundingText(g.text, table, g.mode, *apart).ok); }).join();
        EXPECT_EQ(test::soundingDifference(*here, *apart), "");
        EXPECT_TRUE(bits(*here) == bits(*apart));
    }
}

TEST(RoundTripProperty, EveryOperationKeepsASoundingThatSavesAndLoadsBack) {
    Generator gen(7u);
    const ChannelTypeTable& table = test::shippedTables();
    auto s = std::make_unique<Sounding>();
    for (int n = 0; n < 100; ++n) {
        const Generated g = gen.next();
        if (!readSoundingText(g.text, table, 0, *s).ok || s->readingCount < 2) continue;
        SCOPED_TRACE("case " + std::to_string(n) + "\n" + g.text);
        for (int op = 0; op < 4; ++op) {
            const int c = gen.uniform(1, s->channelCount);
            switch (gen.uniform(0, 6)) {
                case 0: autoClean(*s); break;
                case 1: shiftReadings(*s, std::vector<std::string>(static_cast<std::size_t>(c), "-1.5"), '.'); break;
                case 2: removeNegatives(*s); break;
                case 3: changeStartDepth(*s, std::to_string(gen.uniform(0, 50)), '.'); break;
                case 4: changeIncrement(*s, gen.coin() ? "0.02" : "0.05", '.'); break;
                case 5: setDepthFormat(*s, static_cast<int16_t>(gen.coin())); break;
                case 6: changeChannelUnit(*s, table, c, gen.uniform(1, table.unitCount[s->channelType[c]])); break;
            }
            fuzz::requireWithinCapacities(*s, "after an operation");
            fuzz::requireSaveLoadsBack(*s, 0, "after an operation");
        }
    }
}

// A full sounding of 10 channels is some megabytes, which the file buffers
// take in large pages and hand on to the next read or save on the thread.
// Loaded, saved and loaded again it saves the same bytes; a small file read
// after it owes nothing to it; one more reading is refused.
TEST(RoundTripProperty, TenThousandReadingsFitAndOneMoreIsRefused) {
    test::SoundingFileBuilder b;
    for (int c = 1; c <= kMaxChannels; ++c) b.channel({"2", "S", "1", "0", "1000 KPA", "KPA", "1"});
    for (int r = 1; r <= kMaxReadings; ++r) b.row(r * 0.02, 2.0, std::vector<double>(kMaxChannels, r % 7 * 0.25));
    const ChannelTypeTable& table = test::shippedTables();
    const test::TempDir dir;
    test::writeFile(dir.file("full.cpt"), b.text());
    auto s = std::make_unique<Sounding>(), small = std::make_unique<Sounding>(), apart = std::make_unique<Sounding>();
    ASSERT_TRUE(readSoundingFile(dir.file("full.cpt"), table, 0, *s).ok);
    EXPECT_EQ(s->readingCount, kMaxReadings);
    ASSERT_TRUE(saveSoundingFile(dir.file("a.cpt"), *s, table, '.').ok);
    ASSERT_TRUE(readSoundingFile(dir.file("a.cpt"), table, 0, *s).ok);
    ASSERT_TRUE(saveSoundingFile(dir.file("b.cpt"), *s, table, '.').ok);
    EXPECT_GT(test::readFile(dir.file("a.cpt")).size(), std::size_t{2} << 20);
    EXPECT_TRUE(test::readFile(dir.file("a.cpt")) == test::readFile(dir.file("b.cpt")));
    const std::string smallFile = test::samplesDir() + "/sample-newer.cpt";
    ASSERT_TRUE(readSoundingFile(smallFile, table, 0, *small).ok);
    std::thread([&] { ASSERT_TRUE(readSoundingFile(smallFile, table, 0, *apart).ok); }).join();
    EXPECT_EQ(test::soundingDifference(*small, *apart), "");
    b.row(1.04, 2.0, std::vector<double>(kMaxChannels, 1.5));
    EXPECT_EQ(readSoundingText(b.text(), test::shippedTables(), 0, *s).error,
              "The file cannot be opened: line 10024 would be reading 10001; a sounding holds at most 10000 readings.");
}

}  // namespace
}  // namespace qm
