// The pages of a log over random depth ranges: together they cover every
// reading, follow on without gap or overlap, each spans the depth per page,
// break on its whole multiples, and there is no page more than needed.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/Units.h"
#include "ops/LogPage.h"

namespace qm {
namespace {

TEST(LogPages, CoverTheSoundingPageByPage) {
    std::mt19937 rng(12);
    std::uniform_real_distribution<double> depth(-40.0, 60.0), length(0.0, 50.0), perPage(0.05, 12.0);
    for (int round = 0; round < 2000; ++round) {
        ProfileData p;
        p.readingCount = 10;
        p.elevation = round % 3 == 0;
        p.feet = round % 4 == 0;
        p.axisMin = depth(rng);
        p.axisMax = p.axisMin + (round % 7 == 0 ? 0.0 : length(rng));
        const double metres = perPage(rng), step = metres * (p.feet ? kFeetPerMetre : 1.0);
        const std::vector<LogPageSpan> spans = logPageSpans(p, metres);
        SCOPED_TRACE(testing::Message() << p.axisMin << ".." << p.axisMax << " per page " << step);
        if (spans.empty()) {
            EXPECT_GT((p.axisMax - p.axisMin) / step, kMostLogPages - 1);
            continue;
        }
        const double sign = p.elevation ? -1.0 : 1.0;
        const double first = p.elevation ? p.axisMax : p.axisMin, last = p.elevation ? p.axisMin : p.axisMax;
        EXPECT_LE(sign * spans.front().top, sign * first + 1e-9);
        EXPECT_GE(sign * spans.back().bottom, sign * last - 1e-9);
        EXPECT_LT(sign * spans.back().top, sign * last + 1e-9) << "a page more than needed";
        EXPECT_NEAR(std::remainder(spans.front().top, step), 0.0, 1e-6);
        for (std::size_t i = 0; i < spans.size(); ++i) {
            EXPECT_NEAR(sign * (spans[i].bottom - spans[i].top), step, 1e-9);
            if (i > 0) {
                EXPECT_EQ(spans[i].top, spans[i - 1].bottom);
            }
        }
    }
}

TEST(LogPages, FilesAndFormatsByName) {
    EXPECT_EQ(logFilePaths("out/log.png", LogFormat::Png, 3),
              (std::vector<std::string>{"out/log-1.png", "out/log-2.png", "out/log-3.png"}));
    EXPECT_EQ(logFilePaths("log.pdf", LogFormat::Pdf, 3), std::vector<std::string>{"log.pdf"});
    EXPECT_EQ(logFilePaths("log.svg", LogFormat::Svg, 1), std::vector<std::string>{"log.svg"});
    EXPECT_EQ(logFormatOf("a.b/LOG.Svg"), LogFormat::Svg);
    EXPECT_EQ(logFormatOf("a.pdf/log"), std::nullopt);
}

}  // namespace
}  // namespace qm
