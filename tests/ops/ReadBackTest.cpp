// A GEF-CPT or AGS4 file we write reads back to a sounding that writes the
// same file again: every header text and position, and every measured
// column's values to the decimals written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "ops/AgsExport.h"
#include "ops/AgsReader.h"
#include "ops/GefExport.h"
#include "ops/GefReader.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::vector<std::string> splitOn(const std::string& text, const std::string& separator) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find(separator, at)) != std::string::npos; at = end + separator.size())
        out.push_back(text.substr(at, end - at));
    out.push_back(text.substr(at));
    return out;
}

// Data fields compare as numbers ("-0.0000" is 0), every other line as text.
void expectSameGef(const std::string& expected, const std::string& actual, const std::string& sample) {
    const auto a = splitOn(expected, "\r\n"), b = splitOn(actual, "\r\n");
    ASSERT_EQ(a.size(), b.size()) << sample;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].empty() || a[i][0] == '#') {
            EXPECT_EQ(a[i], b[i]) << sample << " line " << i + 1;
            continue;
        }
        const auto fa = splitOn(a[i], ";"), fb = splitOn(b[i], ";");
        ASSERT_EQ(fa.size(), fb.size()) << sample << " line " << i + 1;
        for (std::size_t k = 0; k < fa.size(); ++k) {
            const std::string x = fa[k].substr(0, fa[k].find('!')), y = fb[k].substr(0, fb[k].find('!'));
            EXPECT_EQ(x.size() - (x[0] == '-'), y.size() - (y[0] == '-')) << sample << " line " << i + 1;
            EXPECT_EQ(std::stod(x), std::stod(y)) << sample << " line " << i + 1 << ": " << x << " / " << y;
        }
    }
}

// AGS4 rows compare field by field: numbers as numbers, texts as texts.
void expectSameAgs(const std::string& expected, const std::string& actual, const std::string& sample) {
    const auto a = splitOn(expected, "\r\n"), b = splitOn(actual, "\r\n");
    ASSERT_EQ(a.size(), b.size()) << sample;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fa = splitOn(a[i], "\",\""), fb = splitOn(b[i], "\",\"");
        ASSERT_EQ(fa.size(), fb.size()) << sample << " line " << i + 1;
        for (std::size_t k = 0; k < fa.size(); ++k) {
            char* endA = nullptr;
            char* endB = nullptr;
            const double x = std::strtod(fa[k].c_str(), &endA), y = std::strtod(fb[k].c_str(), &endB);
            if (fa[k].empty() || *endA != '\0' || fb[k].empty() || *endB != '\0')
                EXPECT_EQ(fa[k], fb[k]) << sample << " line " << i + 1;
            else
                // Eight digits of a float read back may differ in the last.
                EXPECT_NEAR(x, y, std::abs(x) * 1.2e-7) << sample << " line " << i + 1 << ": " << fa[k] << " / " << fb[k];
        }
    }
}

// Each format: its writer, its reader and how two of its files compare.
struct Format {
    const char* name;
    std::string (*write)(const Sounding&);
    LoadResult (*read)(const std::string&, Sounding&);
    void (*expectSame)(const std::string&, const std::string&, const std::string&);
};

const CalendarDate kDay{2026, 1, 15};

const Format kFormats[] = {
    {"GEF-CPT", [](const Sounding& s) { return gefFile(s, test::shippedTables(), kDay).bytes; },
     [](const std::string& b, Sounding& s) { return readGefText(b, test::shippedTables(), s); }, expectSameGef},
    {"AGS4", [](const Sounding& s) { return agsFile(s, test::shippedTables(), kDay).bytes; },
     [](const std::string& b, Sounding& s) { return readAgsText(b, "", test::shippedTables(), s); }, expectSameAgs},
};

TEST(OpenFormatReaders, ReadBackEverySampleTheirExportMade) {
    for (const Format& format : kFormats)
        for (const auto& entry : std::filesystem::directory_iterator(test::samplesDir())) {
            if (entry.path().extension() != ".cpt") continue;
            const std::string sample = std::string(format.name) + " of " + entry.path().string();
            auto s = std::make_unique<Sounding>();
            ASSERT_TRUE(readSoundingFile(entry.path().string(), test::shippedTables(), 0, *s).ok) << sample;
            const std::string first = format.write(*s);
            auto back = std::make_unique<Sounding>();
            const LoadResult r = format.read(first, *back);
            ASSERT_TRUE(r.ok) << sample << ": " << r.error;
            EXPECT_EQ(back->readingCount, s->readingCount) << sample;
            EXPECT_EQ(back->depthDecimals, s->depthDecimals) << sample;
            format.expectSame(first, format.write(*back), sample);
        }
}

}  // namespace
}  // namespace qm
