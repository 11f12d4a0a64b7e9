#pragma once
// Writes a Sounding as a sounding file. DepthDecimals chooses the layout:
// 2 the older (depth in columns 1-6, speed 7-13), 3 the newer (depth 1-7,
// speed 8-13). Raw readings are rebuilt from the engineering values.

#include <optional>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/FileBytes.h"
#include "model/Sounding.h"

namespace qm {

// The whole file as bytes, lines ending in CR LF. Header texts come from the
// Sounding's header fields (the window copies its boxes into them first).
std::string soundingFileText(const Sounding& s, const ChannelTypeTable& table, char sep);
// The same bytes without the copy into a string.
FileBytes soundingFileBytes(const Sounding& s, const ChannelTypeTable& table, char sep);

// A depth or speed whose text would not fit its columns would shift the row
// so that the reader takes the wrong columns; so would a raw reading or a
// channel description wider than its field. Returns the refusal message
// naming the first such reading, or nothing when the whole file fits.
std::optional<std::string> layoutProblem(const Sounding& s, const ChannelTypeTable& table, char sep);

struct SaveResult {
    bool ok = false;
    std::string error;
};

// Checks the layout, then writes the file through a temporary file renamed
// into place; on failure every existing file stays as it was.
SaveResult saveSoundingFile(const std::string& path, const Sounding& s, const ChannelTypeTable& table, char sep);

}  // namespace qm
