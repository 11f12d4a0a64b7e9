// The GEF-CPT reader: a file it takes becomes a sounding that saves as a
// .cpt and loads back, and whose own GEF-CPT export reads back to the same
// export; a file it refuses leaves the sounding as it was.
#include <memory>

#include "FuzzChecks.h"
#include "ops/GefExport.h"
#include "ops/GefReader.h"
#include "support/SoundingCompare.h"

namespace qm::fuzz {

void checkGefReader(const std::uint8_t* data, std::size_t size) {
    static const auto blank = std::make_unique<const Sounding>();
    auto s = std::make_unique<Sounding>();
    const LoadResult r = readGefText(asText(data, size), shippedTables(), *s);
    if (!r.ok) {
        require(!r.error.empty(), "a GEF file was refused without a message");
        const std::string difference = test::soundingDifference(*s, *blank);
        require(difference.empty(), "a refused GEF file changed the sounding (" + difference + ")");
        return;
    }
    requireWithinCapacities(*s, "GEF file");
    requireSaveLoadsBack(*s, 0, "GEF file");
    // What we write we read again, to the same file.
    const CalendarDate day{2026, 1, 15};
    // What we write we read again; from the second export on (once the
    // values are what a float keeps of the written digits) to the same file.
    std::string previous = gefFile(*s, shippedTables(), day).bytes;
    for (int round = 1; round <= 2; ++round) {
        auto again = std::make_unique<Sounding>();
        const LoadResult back = readGefText(previous, shippedTables(), *again);
        require(back.ok, "our own GEF-CPT export of an accepted GEF file is refused: " + back.error);
        std::string next = gefFile(*again, shippedTables(), day).bytes;
        require(round == 1 || next == previous, "a GEF-CPT export read back exports otherwise");
        previous = std::move(next);
    }
}

}  // namespace qm::fuzz
