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
    const std::string first = gefFile(*s, shippedTables(), day).bytes;
    auto again = std::make_unique<Sounding>();
    const LoadResult back = readGefText(first, shippedTables(), *again);
    require(back.ok, "our own GEF-CPT export of an accepted GEF file is refused: " + back.error);
    require(gefFile(*again, shippedTables(), day).bytes == first, "a GEF-CPT export read back exports otherwise");
}

}  // namespace qm::fuzz
