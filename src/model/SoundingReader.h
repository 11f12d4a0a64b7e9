#pragma once
// Reads a sounding file (older or newer layout) into a Sounding, the way
// File > Open does: header and channel lines, data rows, drill-out markers,
// the final-baseline line, depth format and increment, the leading readings
// without data, the unit factors of the channel type table, and the cursor.
// Malformed files are refused whole: the Sounding is left as it was.

#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

struct LoadResult {
    bool ok = false;
    // Why the file was refused, naming the line; empty when ok.
    std::string error;
    // Messages met while reading ("Drillout detected at 4.5 m"), in order.
    std::vector<std::string> messages;
    // Said once the sounding is shown: a file whose last line has no line
    // end was cut short while it was written or copied.
    std::vector<std::string> warnings;
};

// The warning for a file that ends inside line `lineNumber`.
std::string cutShortWarning(std::size_t lineNumber);

// Parses the bytes of a sounding file. On success `out` holds the sounding
// with its unit factors taken from the table (values rescaled, as the unit
// boxes do when the load selects each unit), DataIndex and PageRow at the
// first reading after the leading readings without data; filePath and
// openedFileTitle are left to the caller.
LoadResult readSoundingText(std::string_view bytes, const ChannelTypeTable& table, int commaDecimalMode,
                            Sounding& out);

// Reads the file at `path` and parses it; filePath and openedFileTitle are
// set from the path.
LoadResult readSoundingFile(const std::string& path, const ChannelTypeTable& table, int commaDecimalMode,
                            Sounding& out);

// The leading-readings rule for a sounding without any NoDataValue reading:
// 0.1 m (full scale 100000) or 0.15 m (150000) of readings, else 0.
int leadCountFromFullScale(float fullScale1, float depthIncrement);

}  // namespace qm
