#pragma once
// Opening a file the user names, whatever its format: a GEF-CPT file
// (".gef") or one test of an AGS4 file ("FILE.ags", "FILE.ags#LOCA_ID" or
// "FILE.ags#LOCA_ID/TESN") through their own readers, anything else as a
// sounding file (.cpt).
// The window's File > Open and the batch tool's inputs both come here.

#include <optional>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "model/SoundingReader.h"

namespace qm {

enum class SourceFormat { Cpt, Gef, Ags };

struct OpenedSounding {
    LoadResult load;
    SourceFormat format = SourceFormat::Cpt;
    // The cone's net area ratio, where the file gives one.
    std::optional<double> netAreaRatio;
};

OpenedSounding openSounding(const std::string& path, const ChannelTypeTable& tables, int commaDecimalMode,
                            Sounding& out);

// An AGS4 path split into the file and the test named after "#" (empty
// when none is); both empty for a path that names no AGS4 file.
struct AgsPath {
    std::string file, test;
};
AgsPath agsPathOf(const std::string& path);

// Where File > Save of a file that came in another format writes by
// default: STEM.cpt beside it, so the received file is never written over.
// A .cpt keeps its own name.
std::string cptPathFor(const std::string& path, SourceFormat format);

}  // namespace qm
