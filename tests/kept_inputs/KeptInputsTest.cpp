// Replays every input the fuzz targets keep (their seeds, and each input that
// once broke a check, in fuzz/regressions/<target>/; the samples for the two
// readers) through the same checks, with the compiler and sanitizers of this
// build.
#include <gtest/gtest.h>

#include <filesystem>

#include "FuzzChecks.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

class KeptInputs : public testing::TestWithParam<const char*> {};

TEST_P(KeptInputs, PassTheirChecks) {
    const std::string target = GetParam();
    const fuzz::Check check = fuzz::checkNamed(target);
    ASSERT_NE(check, nullptr) << target;
    const fs::path fuzz = fs::path(QM_SOURCE_DIR) / "fuzz";
    std::vector<fs::path> folders = {fuzz / "seeds" / target, fuzz / "regressions" / target};
    if (target == "sounding_reader" || target == "second_file_reader") folders.push_back(test::samplesDir());
    int replayed = 0;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            const std::string bytes = test::readFile(entry.path().string());
            try {
                check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            } catch (const fuzz::PropertyFailure& failure) {
                ADD_FAILURE() << target << " on " << entry.path() << ": " << failure.what();
            }
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "nothing kept for " << target;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, KeptInputs,
                         testing::Values("sounding_reader", "second_file_reader", "channel_table", "text_to_number",
                                         "cell_entry", "gps_sentence", "leading_number", "gef_reader", "ags_reader"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace qm
