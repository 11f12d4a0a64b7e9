#pragma once
// The interpretation in the profile and the log: qt beside qc in the tip
// resistance track, and the tracks the user switches on for Bq, Ic (with
// the zone boundaries as lines) and the soil behaviour type column. Qt-free,
// like the profile data it adds to; the window, the log and --plot share it.

#include "model/ChannelTypeTable.h"
#include "model/ProfileData.h"
#include "model/Sounding.h"
#include "ops/Interpretation.h"
#include "ops/LogPage.h"

namespace qm {

struct InterpretationTrackChoice {
    bool bq = false, ic = false, zones = false;
    bool any() const { return bq || ic || zones; }
};

// Adds qt to the tip resistance track (in that track's unit) and, after
// the main tracks and before the optional ones, the chosen tracks. The
// zone column holds the zone of each reading as its value (kNoDataValue
// where it has none).
void addInterpretationTracks(ProfileData& p, const Sounding& s, const ChannelTypeTable& tables,
                             const Interpretation& in, const InterpretationTrackChoice& choice);

// The log header's line naming the method and the settings.
LogHeaderField interpretationHeaderField(const Interpretation& in);

}  // namespace qm
