// Replays every input the fuzz targets keep (their seeds, and each input that
// once broke a check, in fuzz/regressions/<target>/) through the same checks,
// with the compiler and sanitizers of this build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

const char* const kTargets[] = {"sounding_reader", "second_file_reader", "channel_table", "text_to_number",
                                "cell_entry",      "gps_sentence",       "leading_number"};

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs the check on each file; a broken check names the file and what broke.
int replay(const std::string& target, const std::vector<fs::path>& files) {
    const fuzz::Check check = fuzz::checkNamed(target);
    EXPECT_NE(check, nullptr) << target;
    if (!check) return 0;
    for (const fs::path& file : files) {
        const std::string bytes = test::readFile(file.string());
        try {
            check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const fuzz::PropertyFailure& failure) {
            ADD_FAILURE() << target << " on " << file << ": " << failure.what();
        }
    }
    return static_cast<int>(files.size());
}

class KeptInputs : public testing::TestWithParam<const char*> {};

TEST_P(KeptInputs, PassTheirChecks) {
    const std::string target = GetParam();
    const fs::path fuzz = fs::path(QM_SOURCE_DIR) / "fuzz";
    int replayed = replay(target, filesIn(fuzz / "seeds" / target));
    replayed += replay(target, filesIn(fuzz / "regressions" / target));
    if (target == "sounding_reader" || target == "second_file_reader")
        replayed += replay(target, filesIn(test::samplesDir()));
    EXPECT_GT(replayed, 0) << "nothing kept for " << target;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, KeptInputs, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace qm
