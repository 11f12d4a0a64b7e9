#pragma once
// What the checks share: the shipped channel type tables, the open sample of
// the combine check, and the failure helper.

#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm::fuzz {

// The shipped tables, read once from the data folder of the source tree.
const ChannelTypeTable& shippedTables();
// The data folder of the source tree (tables and samples).
const std::string& dataFolder();

[[noreturn]] void fail(const std::string& what);
inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Counts, channel descriptions and the cursor of a loaded sounding are
// within what the arrays and the page hold.
void requireWithinCapacities(const Sounding& s, const std::string& where);

// Saves `s` (when its layout allows) and loads the bytes back: the file must
// be accepted, and hold the same readings, texts and channels, the values to
// within the rounding of the raw readings' five decimals.
void requireSaveLoadsBack(const Sounding& s, int commaDecimalMode, const std::string& where);

}  // namespace qm::fuzz
