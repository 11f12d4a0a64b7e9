#include "ops/Interpretation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "ops/StandardQuantities.h"
#include "ops/WaterTable.h"

namespace qm {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.14159265358979323846;
constexpr double kLn10 = 2.30258509299404568402;  // 10^x is e^(x ln 10), which costs less than a power

// The inputs, in the units the equations take, converted through the
// channel type tables as the open-format exports convert them.
enum Input : std::size_t { kTip, kSleeve, kPore, kInclination, kInclinationX, kInclinationY, kInputCount };
constexpr std::array<QuantityRule, kInputCount> kInputs = {{
    {1, "MPA"}, {2, "MPA"}, {3, "MPA"}, {9, "DEG"}, {6, "DEG"}, {7, "DEG"},
}};

constexpr std::array<SoilZone, 6> kZones = {{
    {7, 1.31, "Gravelly sand to dense sand", "gravelly sand to dense sand", 0xE08A3C},
    {6, 2.05, "Sands", "clean sand to silty sand", 0xF2D35B},
    {5, 2.60, "Sand mixtures", "silty sand to sandy silt", 0xB7D26E},
    {4, 2.95, "Silt mixtures", "clayey silt to silty clay", 0x62B3A4},
    {3, 3.60, "Clays", "silty clay to clay", 0x5A84C4},
    {2, std::numeric_limits<double>::infinity(), "Organic soils", "clay to peat", 0x8A5A33},
}};

struct Columns {
    std::array<std::optional<QuantityColumn>, kInputCount> of;
};

Columns inputColumns(const Sounding& s, const ChannelTypeTable& tables) {
    Columns out;
    for (const QuantityColumn& c : quantityColumns(s, tables, kInputs).columns) out.of[c.rule] = c;
    return out;
}

double valueOf(const Sounding& s, const ChannelTypeTable& tables, const std::optional<QuantityColumn>& column,
               int r) {
    if (!column) return kNone;
    return standardValue(s, tables, *column, r).value_or(kNone);
}

// The cosine of the inclination at reading r: the resultant's, or that of X
// and Y tilts combined (the axis leans tan ix along X and tan iy along Y per
// unit of vertical). Nothing where the reading has no usable angle.
std::optional<double> inclinationCosine(const Sounding& s, const ChannelTypeTable& tables, const Columns& cols,
                                        int r) {
    const auto usable = [](double deg) { return hasValue(deg) && std::fabs(deg) < 90.0; };
    if (cols.of[kInclination]) {
        const double i = valueOf(s, tables, cols.of[kInclination], r);
        if (!usable(i)) return std::nullopt;
        return std::cos(i * kPi / 180.0);
    }
    double lean = 0.0;
    for (const Input axis : {kInclinationX, kInclinationY}) {
        if (!cols.of[axis]) continue;
        const double i = valueOf(s, tables, cols.of[axis], r);
        if (!usable(i)) return std::nullopt;
        const double t = std::tan(i * kPi / 180.0);
        lean += t * t;
    }
    return 1.0 / std::sqrt(1.0 + lean);
}

// Each step of penetration counts with the cosine of the inclination at the
// reading it ends at; the first from the ground. A reading without an angle
// keeps the one before it (vertical before the first).
void correctDepths(const Sounding& s, const ChannelTypeTable& tables, const Columns& cols, Interpretation& in) {
    double cosine = 1.0, corrected = 0.0, previous = 0.0;
    for (std::size_t r = 1; r < in.depth.size(); ++r) {
        if (const auto c = inclinationCosine(s, tables, cols, static_cast<int>(r))) cosine = *c;
        corrected += (in.depth[r] - previous) * cosine;
        previous = in.depth[r];
        in.correctedDepth[r] = corrected;
    }
}

// Unit weight estimated from qt and Rf, given as log10 of qt in MPa and of
// Rf in %: qt / pa is qt in MPa times 10. None where either is not positive.
double estimatedUnitWeight(double logQtMpa, double logRf) {
    if (!hasValue(logQtMpa) || !hasValue(logRf)) return kNone;
    return kWaterUnitWeight * (0.27 * logRf + 0.36 * (logQtMpa + 1.0) + 1.236);
}

// log10 of a positive number, through the natural logarithm, which costs
// half of log10; NaN for any other.
double log10Of(double v) { return v > 0.0 ? std::log(v) * (1.0 / kLn10) : kNone; }

// Qtn, Ic and n of one reading whose qn, sigma'_v0 and fs are positive,
// from log10 of qn in MPa, of sigma'_v0 in kPa and of Fr in %.
// log10 Qtn = log10(qn / pa) + n log10(pa / sigma'_v0), so each round of
// the iteration costs no power.
void normalise(double logQnMpa, double effKpa, double logFr, Interpretation& in, std::size_t r) {
    const double logNet = logQnMpa + 1.0;  // qn / pa: qn in MPa times 10
    const double logStress = log10Of(kAtmosphericPressureKpa / effKpa);
    const double frTerm = logFr + 1.22;
    const double stressTerm = 0.05 * effKpa / kAtmosphericPressureKpa - 0.15;
    const auto index = [&](double n) {
        const double q = 3.47 - (logNet + n * logStress);
        return std::sqrt(q * q + frTerm * frTerm);
    };
    double n = 1.0;
    for (int round = 0; round < 100; ++round) {
        const double next = std::min(1.0, 0.381 * index(n) + stressTerm);
        const bool settled = std::fabs(next - n) < 0.01;
        n = next;
        if (settled) break;
    }
    in.n[r] = n;
    in.qtn[r] = std::exp(kLn10 * (logNet + n * logStress));
    in.ic[r] = index(n);
    in.zone[r] = static_cast<int8_t>(zoneOf(in.ic[r]));
}

void addNotes(Interpretation& in) {
    if (!in.tipChannel) in.notes.push_back("No tip resistance channel in MPa: nothing is interpreted.");
    if (!in.sleeveChannel)
        in.notes.push_back("No sleeve friction channel in MPa: Rf, Fr, Ic and the zones have no value.");
    if (!in.poreChannel) in.notes.push_back("No u2 pore pressure channel: u2 counts as 0 and Bq is not given.");
    if (!in.waterTable) in.notes.push_back("No water table: u0 is 0 throughout.");
    if (in.hasInclination())
        in.notes.push_back("The stresses use the depths corrected for the inclination.");
}


}  // namespace

std::string areaRatioProblem(double a) {
    if (!(a > 0.0 && a <= 1.0)) return "The net area ratio must be above 0 and at most 1.";
    return {};
}

std::string waterTableProblem(double metres) {
    if (!std::isfinite(metres) || std::fabs(metres) > 10000.0)
        return "The water table depth must be a number of metres below the ground.";
    return {};
}

std::string unitWeightProblem(double g) {
    if (!(g > 0.0 && g <= 100.0)) return "The unit weight must be above 0 and at most 100 kN/m3.";
    return {};
}

std::string quantityText(double value, int decimals) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                         std::clamp(decimals, 0, 12));
    if (ec != std::errc()) return {};
    std::string out(text, end);
    if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    return out;
}

double depthBelowGround(const Sounding& s, int32_t r) {
    const double d = s.depth[static_cast<std::size_t>(r)];
    if (s.depthFormatApplied != 1) return d;
    return static_cast<double>(s.depth[1]) - d;
}

double behaviourIndex(double qtn, double fr) {
    const double a = 3.47 - std::log10(qtn), b = std::log10(fr) + 1.22;
    return std::sqrt(a * a + b * b);
}

std::span<const SoilZone> soilZones() { return kZones; }

int zoneOf(double ic) {
    if (!hasValue(ic)) return 0;
    for (const SoilZone& z : kZones)
        if (ic < z.icBelow) return z.zone;
    return kZones.back().zone;
}

const SoilZone* soilZone(int zone) {
    for (const SoilZone& z : kZones)
        if (z.zone == zone) return &z;
    return nullptr;
}

Interpretation interpret(const Sounding& s, const ChannelTypeTable& tables, const InterpretationSettings& settings) {
    Interpretation in;
    in.settings = settings;
    const Columns cols = inputColumns(s, tables);
    const auto channelOf = [&](Input i) { return cols.of[i] ? cols.of[i]->channel : 0; };
    in.tipChannel = channelOf(kTip);
    in.sleeveChannel = channelOf(kSleeve);
    in.poreChannel = channelOf(kPore);
    in.inclinationChannel = channelOf(kInclination);
    if (!in.inclinationChannel) {
        in.inclinationXChannel = channelOf(kInclinationX);
        in.inclinationYChannel = channelOf(kInclinationY);
    }
    if (settings.waterTable) {
        in.waterTable = settings.waterTable;
    } else if (const auto header = waterTableDepth(s.waterTableDepth)) {
        in.waterTable = *header;
        in.waterTableFromHeader = true;
    }

    const int count = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
    const std::size_t size = static_cast<std::size_t>(count) + 1;
    for (auto* v : {&in.depth, &in.correctedDepth, &in.qt, &in.rf, &in.unitWeight, &in.sigmaV0, &in.u0,
                    &in.sigmaV0Eff, &in.qn, &in.bq, &in.fr, &in.qt1, &in.n, &in.qtn, &in.ic})
        v->assign(size, kNone);
    in.zone.assign(size, 0);
    for (int r = 1; r <= count; ++r) in.depth[static_cast<std::size_t>(r)] = depthBelowGround(s, r);
    if (in.hasInclination()) correctDepths(s, tables, cols, in);
    const std::vector<double>& z = in.hasInclination() ? in.correctedDepth : in.depth;

    addNotes(in);
    if (!in.tipChannel) return in;

    const double a = settings.areaRatio;
    double gamma = kFirstUnitWeight, stress = 0.0, previousDepth = 0.0;
    for (int r = 1; r <= count; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const double qc = valueOf(s, tables, cols.of[kTip], r);
        const double fs = valueOf(s, tables, cols.of[kSleeve], r);
        const double u2 = in.poreChannel ? valueOf(s, tables, cols.of[kPore], r) : 0.0;
        const double qt = qc + u2 * (1.0 - a);
        in.qt[i] = qt;
        // Logarithms taken once and shared by the unit weight, Fr and Qtn.
        const double logFs = log10Of(fs), logQt = log10Of(qt);
        const double logRf = logFs - logQt + 2.0;
        if (hasValue(logRf)) in.rf[i] = fs / qt * 100.0;

        // The weight of the step down to this reading: the constant, the
        // estimate, or the one before where no estimate can be made.
        if (settings.unitWeight) gamma = *settings.unitWeight;
        else if (const double g = estimatedUnitWeight(logQt, logRf); hasValue(g)) gamma = g;
        in.unitWeight[i] = gamma;
        stress += gamma * (z[i] - previousDepth);
        previousDepth = z[i];
        in.sigmaV0[i] = stress;
        in.u0[i] = in.waterTable ? kWaterUnitWeight * std::max(0.0, z[i] - *in.waterTable) : 0.0;
        const double eff = stress - in.u0[i];
        in.sigmaV0Eff[i] = eff;

        const double qn = qt - stress / 1000.0;
        in.qn[i] = qn;
        if (!(qn > 0.0)) continue;
        const double qnKpa = qn * 1000.0;
        if (in.poreChannel && hasValue(u2)) in.bq[i] = (u2 * 1000.0 - in.u0[i]) / qnKpa;
        if (fs > 0.0) in.fr[i] = fs / qn * 100.0;
        if (!(eff > 0.0)) continue;
        in.qt1[i] = qnKpa / eff;
        if (fs > 0.0) {
            const double logQn = log10Of(qn);
            normalise(logQn, eff, logFs - logQn + 2.0, in, i);
        }
    }
    return in;
}

std::string interpretationSummary(const Interpretation& in) {
    std::string text = "Soil behaviour type from Ic, Robertson (2009); unit weight ";
    if (in.settings.unitWeight) text += "constant " + quantityText(*in.settings.unitWeight, 2) + " kN/m3";
    else text += "estimated, Robertson and Cabal (2010)";
    text += "; net area ratio a = " + quantityText(in.settings.areaRatio, 2) + "; water table ";
    if (!in.waterTable) text += "none (u0 = 0)";
    else text += quantityText(*in.waterTable, 2) + " m below ground (" + (in.waterTableFromHeader ? "header" : "given") + ")";
    return text;
}

}  // namespace qm
