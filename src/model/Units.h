#pragma once
// Display units: the page's depth unit (m or ft) and each channel's unit.

#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm {

// A double: the page multiplies at higher precision by 3.281 itself, not by
// the Single nearest to it (which differs in the last bit for about a third
// of all depths).
constexpr double kFeetPerMetre = 3.281;

// value(0, r) := depth(r), or depth(r) * 3.281 stored as float, for every reading.
void updatePageDepths(Sounding& s, bool feet);

// The unit box of channel c picks unit u (1-based): the factor comes from the
// table and every value that is not NoDataValue, and the drift when the file
// had a final baseline, is rescaled by new / old. A unit whose factor is 0,
// or a channel whose old factor is 0, cannot be converted: the channel is
// left as it was and the refusal message is returned; empty text on success.
std::string changeChannelUnit(Sounding& s, const ChannelTypeTable& table, int c, int u);

// Finds unit `name` (exact, last match wins) in the list of channel c's
// type; 0 when absent.
int findUnit(const Sounding& s, const ChannelTypeTable& table, int c, const std::string& name);

}  // namespace qm
