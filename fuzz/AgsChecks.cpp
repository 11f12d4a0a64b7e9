// The AGS4 reader: each test the file lists opens, or is refused with a
// message leaving the sounding as it was; an opened test saves as a .cpt and
// loads back, and its own AGS4 export reads back to the same export.
#include <memory>

#include "FuzzChecks.h"
#include "ops/AgsExport.h"
#include "ops/AgsReader.h"
#include "support/SoundingCompare.h"

namespace qm::fuzz {

void checkAgsReader(const std::uint8_t* data, std::size_t size) {
    static const auto blank = std::make_unique<const Sounding>();
    const std::string_view bytes = asText(data, size);
    const AgsTestList list = agsTests(bytes);
    require(list.tests.empty() != list.error.empty(), "a test list with neither tests nor an error, or both");
    std::vector<std::string> names = {""};
    if (!list.tests.empty()) names.push_back(list.tests.front().name());
    for (const std::string& which : names) {
        auto s = std::make_unique<Sounding>();
        const LoadResult r = readAgsText(bytes, which, shippedTables(), *s);
        if (!r.ok) {
            require(!r.error.empty(), "an AGS4 file was refused without a message");
            const std::string difference = test::soundingDifference(*s, *blank);
            require(difference.empty(), "a refused AGS4 file changed the sounding (" + difference + ")");
            continue;
        }
        requireWithinCapacities(*s, "AGS4 file");
        requireSaveLoadsBack(*s, 0, "AGS4 file");
        const CalendarDate day{2026, 1, 15};
        // What we write we read again; from the second export on (once the
        // values are what a float keeps of the written digits) to the same file.
        std::string previous = agsFile(*s, shippedTables(), day).bytes;
        for (int round = 1; round <= 2; ++round) {
            auto again = std::make_unique<Sounding>();
            const LoadResult back = readAgsText(previous, "", shippedTables(), *again);
            require(back.ok, "our own AGS4 export of an accepted AGS4 test is refused: " + back.error);
            std::string next = agsFile(*again, shippedTables(), day).bytes;
            require(round == 1 || next == previous, "an AGS4 export read back exports otherwise");
            previous = std::move(next);
        }
    }
}

}  // namespace qm::fuzz
