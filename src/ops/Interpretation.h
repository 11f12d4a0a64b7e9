#pragma once
// The soil behind the numbers: from the tip resistance, sleeve friction and
// u2 pore pressure of a sounding, per reading the corrected cone resistance
// qt, the unit weight and the stresses it gives, the normalised cone
// resistance Qtn, the normalised friction ratio Fr, the pore pressure ratio
// Bq, the soil behaviour type index Ic and its zone. One computation that the
// profile, the log, the exports and the batch tool all take; it reads the
// Sounding and never changes it.
//
// Units: resistances (qt, qn) in MPa, stresses and pressures (sigma_v0, u0,
// sigma'_v0) in kPa, unit weight in kN/m3, ratios in %, depths in metres
// below the ground.
//
// Every vector is indexed by reading, 1..readingCount, as the Sounding is;
// index 0 holds nothing. A reading where a quantity has no value (a reading
// without data, or an input that must be positive and is not) holds NaN
// there: test with hasValue(). The zone is 0 where Ic has no value.

#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

constexpr double kAtmosphericPressureKpa = 100.0;  // pa
constexpr double kWaterUnitWeight = 9.81;          // gamma_w, kN/m3
constexpr double kDefaultAreaRatio = 0.80;
// The unit weight of the first reading when it cannot be estimated.
constexpr double kFirstUnitWeight = 18.0;

struct InterpretationSettings {
    double areaRatio = kDefaultAreaRatio;  // the cone's net area ratio a, 0 < a <= 1
    // The water table depth in metres below the ground that the user gave;
    // none: the header's (the sounding's water table depth text).
    std::optional<double> waterTable;
    // A constant unit weight in kN/m3 that the user gave; none: estimated
    // per reading.
    std::optional<double> unitWeight;
};

// Why a setting is refused ("The net area ratio must be above 0 and at
// most 1."), or empty when it is good. Every front end checks its values
// here before it changes anything.
std::string areaRatioProblem(double a);
std::string waterTableProblem(double metres);
std::string unitWeightProblem(double kNPerCubicMetre);

struct Interpretation {
    InterpretationSettings settings;      // as given
    std::optional<double> waterTable;     // the depth used: the user's, else the header's, else none
    bool waterTableFromHeader = false;    // the depth used is the header's
    int tipChannel = 0, sleeveChannel = 0, poreChannel = 0;  // 0: the sounding has none
    int inclinationChannel = 0;           // the resultant's channel, else 0
    int inclinationXChannel = 0, inclinationYChannel = 0;  // used when there is no resultant
    bool hasInclination() const { return inclinationChannel || inclinationXChannel || inclinationYChannel; }

    std::vector<double> depth;           // m below the ground, as the sounding records it
    std::vector<double> correctedDepth;  // m below the ground along the vertical; NaN throughout without inclination
    std::vector<double> qt;              // MPa
    std::vector<double> rf;              // fs / qt, %
    std::vector<double> unitWeight;      // kN/m3, the weight of the step down to the reading
    std::vector<double> sigmaV0;         // kPa
    std::vector<double> u0;              // kPa
    std::vector<double> sigmaV0Eff;      // kPa
    std::vector<double> qn;              // MPa
    std::vector<double> bq;              // NaN throughout without a u2 channel
    std::vector<double> fr;              // fs / qn, %
    std::vector<double> qt1;             // qn / sigma'_v0
    std::vector<double> n;               // the stress exponent of Qtn
    std::vector<double> qtn;
    std::vector<double> ic;
    std::vector<int8_t> zone;            // 2..7, 0 where Ic has no value

    // What the reader of a log or an export should know: "No water table:
    // u0 is 0 throughout.", "No u2 pore pressure channel: ...".
    std::vector<std::string> notes;
};

Interpretation interpret(const Sounding& s, const ChannelTypeTable& tables, const InterpretationSettings& settings);

inline bool hasValue(double v) { return std::isfinite(v); }

// The depth below the ground of reading r as the stored depth gives it. In
// elevation format the elevation of the first reading counts as the ground
// level (as for the profile's water table), since the file records no ground
// level once the elevations have moved to a datum.
double depthBelowGround(const Sounding& s, int32_t r);

// Ic from Qtn and Fr (both positive).
double behaviourIndex(double qtn, double fr);

// The soil behaviour type zones as the index gives them, from the coarsest;
// a zone holds the Ic values below its `icBelow` and at or above the
// previous zone's.
struct SoilZone {
    int zone;
    double icBelow;
    std::string_view name;   // "Sands"
    std::string_view soils;  // "clean sand to silty sand"
    uint32_t rgb;            // its colour in the tracks and the legend, 0xRRGGBB
};
std::span<const SoilZone> soilZones();
// The zone of an index; 0 for no value.
int zoneOf(double ic);
// The zone's row, or null for a number that is not a zone.
const SoilZone* soilZone(int zone);

// An interpreted quantity as text: `decimals` fixed decimals, "." whatever
// the locale, rounded from the double itself (not from a Single, as the
// sounding's own values are), and no "-0.00" for a value that rounds to 0.
std::string quantityText(double value, int decimals);

// One line naming the method and the settings used, for a log's header and
// an export's remark: "Robertson (2009) Ic and zones; unit weight
// Robertson and Cabal (2010); a = 0.80; water table 1.50 m (header)".
std::string interpretationSummary(const Interpretation& in);

}  // namespace qm
