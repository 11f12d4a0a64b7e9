// A save refused on a sounding at the reading capacity answers as fast as a
// save that goes through. Found by the window's monkey: a sounding of 9996
// readings down to 199.92 m switched to elevation has some 5000 rows whose
// "-100.000" does not fit the newer layout's 7 columns, and the refusal's
// text (which looks at every reading for the other layout) was built for
// each of them: the save took a minute.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "ops/DepthAxis.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::testTables;

double secondsOf(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LargeSoundingRefusal, ElevationRowsThatDoNotFitAreRefusedAtOnce) {
    test::SoundingFileBuilder b(true);
    b.channel({"1", "TIP", "1", "0.00000", "1 KPA", "KPA", "1"});
    b.channel({"2", "SLEEVE", "1", "0.00000", "1 KPA", "KPA", "1"});
    constexpr int kReadings = kMaxReadings - 4;
    for (int r = 1; r <= kReadings; ++r) b.row(0.02 * r, 2.0, {100.0 + r % 7, 200.0 + r % 5});
    auto s = std::make_unique<Sounding>();
    ASSERT_TRUE(readSoundingText(b.text(), testTables(), 0, *s).ok);
    ASSERT_EQ(s->readingCount, kReadings);

    std::string saved;
    const double fits = secondsOf([&] { saved = soundingFileText(*s, testTables(), '.'); });
    ASSERT_FALSE(layoutProblem(*s, testTables(), '.'));

    setDepthFormat(*s, 1);
    ASSERT_FLOAT_EQ(s->depth[kReadings], -199.92f);
    std::optional<std::string> problem;
    const double refused = secondsOf([&] { problem = layoutProblem(*s, testTables(), '.'); });
    ASSERT_TRUE(problem);
    // The first row that does not fit is named.
    EXPECT_NE(problem->find("reading 5000 (depth -100.000 m"), std::string::npos) << *problem;
    // Rendering the refused file costs what rendering a good one does, not
    // a pass over all readings per refused row.
    EXPECT_LT(refused, 5 * fits + 0.5) << "refused in " << refused << " s, a good file renders in " << fits << " s";
}

}  // namespace
}  // namespace qm
