// A GEF-CPT file we write reads back to a sounding that writes the same
// file again: every header text and position, and every measured column's
// values to the decimals written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

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
void expectSameFile(const std::string& expected, const std::string& actual, const std::string& sample) {
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

TEST(GefReader, ReadsBackEverySampleItsExportMade) {
    const CalendarDate day{2026, 1, 15};
    for (const auto& entry : std::filesystem::directory_iterator(test::samplesDir())) {
        const std::string sample = entry.path().string();
        auto s = std::make_unique<Sounding>();
        ASSERT_TRUE(readSoundingFile(sample, test::shippedTables(), 0, *s).ok) << sample;
        const std::string first = gefFile(*s, test::shippedTables(), day).bytes;
        auto back = std::make_unique<Sounding>();
        GefExtras extras;
        const LoadResult r = readGefText(first, test::shippedTables(), *back, &extras);
        ASSERT_TRUE(r.ok) << sample << ": " << r.error;
        EXPECT_EQ(back->readingCount, s->readingCount) << sample;
        EXPECT_EQ(back->depthDecimals, s->depthDecimals) << sample;
        expectSameFile(first, gefFile(*back, test::shippedTables(), day).bytes, sample);
    }
}

}  // namespace
}  // namespace qm
