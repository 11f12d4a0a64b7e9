#pragma once
// Reads the cone penetration tests of an AGS4 file (the British transfer
// format: groups of quoted comma-separated rows) into the same Sounding a
// .cpt fills. PROJ and TRAN give the project's header texts, LOCA the
// location, SCPG each test's settings and SCPT its readings; units come from
// each group's UNIT row and are converted through the channel type tables.
// A file may hold several tests, each a sounding of its own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "model/SoundingReader.h"

namespace qm {

// One test of the file: a location and a test number (SCPG_TESN; empty
// where the file gives none), with the depths and count of its readings.
struct AgsTest {
    std::string locationId, testNumber;
    double top = 0.0, bottom = 0.0;
    int readings = 0;
    // "CPT-01/2": how a path names it after "#", and how messages name it.
    std::string name() const { return testNumber.empty() ? locationId : locationId + "/" + testNumber; }
};

// The tests of the file in the order of its SCPT rows; an error text when
// the file is no AGS4 file with SCPT readings.
struct AgsTestList {
    std::vector<AgsTest> tests;
    std::string error;
};
AgsTestList agsTests(std::string_view bytes);

struct AgsExtras {
    std::optional<double> netAreaRatio;  // SCPG_CAR
};

// Reads the test `which` names ("LOCA_ID" or "LOCA_ID/TESN"; empty for the
// file's only test) into `out`. A damaged file, or an unknown or ambiguous
// test, is refused with its reason and `out` is left as it was.
LoadResult readAgsText(std::string_view bytes, const std::string& which, const ChannelTypeTable& tables,
                       Sounding& out, AgsExtras* extras = nullptr);

// Whether a file name names an AGS4 file (".ags" in any letter case).
bool isAgsFileName(std::string_view path);

}  // namespace qm
