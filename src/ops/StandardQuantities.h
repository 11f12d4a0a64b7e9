#pragma once
// Which channels an open-format file (GEF-CPT, AGS4) can hold, and their
// values in the unit the format prescribes. Each format lists its
// quantities as rules: a channel type and the name of the standard unit in
// that type's unit table. The conversion goes through the table, as a unit
// change on the page would, so a table that lacks the unit leaves the
// channel out rather than guessing a factor.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

struct QuantityRule {
    int16_t channelType = 0;
    std::string_view tableUnit;  // "MPA", "KPA", "%", "DEG", "S/m"
};

struct QuantityColumn {
    std::size_t rule = 0;  // index into the format's rules
    int channel = 0;
    int standardUnit = 0;  // the unit's index in the type's table
};

struct QuantityColumns {
    std::vector<QuantityColumn> columns;  // in the order of the rules
    // One text per channel left out: its number, name and why.
    std::vector<std::string> leftOut;
};

// The first channel of each rule's type becomes that rule's column.
QuantityColumns quantityColumns(const Sounding& s, const ChannelTypeTable& tables,
                                std::span<const QuantityRule> rules);

// Reading r of the column's channel in the standard unit: value / factor of
// the current unit * factor of the standard unit, unchanged when the channel
// already shows that unit. Nothing for a reading without data (-32768, or a
// value that is not a finite number).
std::optional<double> standardValue(const Sounding& s, const ChannelTypeTable& tables, const QuantityColumn& column,
                                    int r);

// "The GEF-CPT file leaves out channel 6 TEMPERATURE (no standard quantity)."
// listing every channel left out; empty when none is.
std::string leftOutMessage(std::string_view fileKind, const QuantityColumns& columns);

// A text the format's readers take whole: code page bytes as ASCII, and
// each character of `separators` as a blank.
std::string plainFieldText(std::string_view bytes, std::string_view separators);

// The depth of reading r below the surface, in m, as the open formats
// write it (growing downwards). In elevation format the stored values are
// the negated depths; a sounding the load takes for elevation because it
// has fewer than 12 readings keeps its positive ones: the magnitude is the
// depth either way.
double depthBelowSurface(const Sounding& s, int r);

// Whether a header text says nothing (only blanks), so a field that must
// not be empty needs a stand-in.
bool blankText(std::string_view text);

// The sounding file's name without folder and extension ("CPT-12" for
// ".../CPT-12.cpt"), the stand-in for an empty job or hole number; "CPT"
// when the sounding came from no file.
std::string soundingFileStem(const Sounding& s);

// `value` with exactly `decimals` decimals and "." (halves away from zero).
std::string fixedNumberText(double value, int decimals);

}  // namespace qm
