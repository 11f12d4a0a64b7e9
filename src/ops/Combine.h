#pragma once
// File > Combine: appends the readings of a second sounding file of the same
// hole below the open sounding's. Two halves, each started by the user:
// reading the second file (checks and the panel's preview), then the panel's
// OK with the start value and the normalization switch.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/CombinePreview.h"
#include "ops/OpResult.h"
#include "ops/SecondFileReader.h"

namespace qm {

// A cancelled file dialog.
inline constexpr const char* kNoFileSelectedMessage = "No File Selected.";

inline constexpr const char* kDepthThenElevationMessage =
    "CANNOT COMBINE FILES. FIRST FILE COMPRISES DEPTH DATA AND SECOND FILE COMPRISES ELEVATION DATA. "
    "CONVERT DEPTH FORMAT OF ONE OF THE FILES TO COMBINE.";
inline constexpr const char* kElevationThenDepthMessage =
    "CANNOT COMBINE FILES. FIRST FILE COMPRISES ELEVATION DATA AND SECOND FILE COMPRISES DEPTH DATA. "
    "CONVERT DEPTH FORMAT OF ONE OF THE FILES TO COMBINE.";

// ok: the panel is shown with `preview`. Messages in the order the window
// shows them: a refusal alone, or the cone message, the channel-count
// message, the drill-out messages and, last, a depth/elevation mismatch.
struct CombineReadResult : OpResult {
    CombinePreview preview;
};

// The combine command's reading half on the bytes of the second file.
// A refused file leaves `second` as it was; a file of the other depth format
// is kept as read but not ready to append (the panel must not stay open on
// it). On success the second sounding's leading readings without data are
// settled and `second.readyToAppend` is set.
CombineReadResult readSecondFileText(std::string_view bytes, const Sounding& first, const ChannelTypeTable& table,
                                     int commaDecimalMode, SecondSounding& second);

// The same on the file at `path`; a file that cannot be read is refused with
// the system's reason.
CombineReadResult readSecondFile(const std::string& path, const Sounding& first, const ChannelTypeTable& table,
                                 int commaDecimalMode, SecondSounding& second);

// The sign of the second file's depth step: from its 2nd to 12th depth, or,
// with fewer than 12 readings, from its first to its last (0 with fewer
// than 2, which passes in both formats).
float secondDepthTrend(const Sounding& second);

// ok: the readings were appended and the panel is hidden; readingCount is
// the new count (the page writes its label). Otherwise the message says why,
// the panel stays and nothing changed.
struct AppendResult : OpResult {
    int32_t readingCount = 0;
};

// The panel's OK: `startDepthText` is txtStartDepth's text (read with the
// locale's conversion), `normalize` chkNormalizeDepth. `pageInFeet` is the
// page's depth unit, so the page copy of the appended depths is kept right.
AppendResult appendSecondSounding(Sounding& first, SecondSounding& second, std::string_view startDepthText,
                                  bool normalize, int commaDecimalMode, bool pageInFeet);

}  // namespace qm
