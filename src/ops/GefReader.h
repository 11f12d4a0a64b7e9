#pragma once
// Reads a GEF-CPT file (the penetration-test report of the GEF family, the
// text format soundings are exchanged in across the Low Countries) into the
// same Sounding a .cpt fills, so the page, the corrections, the profile and
// every writer work on it unchanged.
//
// Each measured column becomes a channel of the matching type whose raw
// readings are the values in the type's base unit (baseline 0, span and full
// scale 1), shown in the unit the file gives; the penetration length becomes
// the depth axis. Derived columns (qt, qn, Bq, stresses, corrected depth) are
// left out: the interpretation computes them again from the measured ones.

#include <optional>
#include <string>
#include <string_view>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "model/SoundingReader.h"

namespace qm {

// What a GEF file says beyond the Sounding's own fields.
struct GefExtras {
    std::optional<double> netAreaRatio;  // #MEASUREMENTVAR= 3
    std::optional<double> surfaceLevel;  // #ZID= code, height
};

// Parses the bytes of a GEF-CPT file. On success `out` holds the sounding
// with the cursor on its first reading with data; filePath and
// openedFileTitle are left to the caller. A damaged file is refused with its
// line and reason, and `out` is left as it was.
LoadResult readGefText(std::string_view bytes, const ChannelTypeTable& tables, Sounding& out,
                       GefExtras* extras = nullptr);

// Whether a file name names a GEF file (".gef" in any letter case).
bool isGefFileName(std::string_view path);

}  // namespace qm
