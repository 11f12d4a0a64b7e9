#pragma once
// The rules a Sounding and the page model keep whatever the user does, as the
// monkey test checks them after every event. Qt-free: each check returns the
// first broken rule, described, or an empty text when all hold.

#include <array>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/ReadingsPage.h"
#include "model/Sounding.h"

namespace qm::monkey {

// Counts within their capacities: channels, readings, the readings without
// data and the leading ones. `combined`: a combine has run since the load.
// It gives the Sounding the second file's leading count and leaves each
// channel's NoDataCount as it was, so from then on the counts only keep
// their capacities.
std::string countProblem(const Sounding& s, bool combined);

// The page cursor as the load places it and the page keys move it. After a
// combine the cursor stays where it was while the leading count and the
// reading count change under it; then only its bounds hold (the page shows
// empty rows for readings before the first, and the keys refuse to move
// past the ends).
std::string cursorProblem(const Sounding& s, const ReadingsPage& page, bool combined);

// Value(0, r) follows Depth(r) in the page's depth unit.
std::string pageDepthProblem(const Sounding& s, bool depthInFeet);

// Page cells a check leaves alone: a text typed into them that the page has
// not yet replaced by the model's own.
using CellMask = std::array<std::array<bool, kPageRows + 1>, kPageColumns>;

// The page model's 24 rows show what the Sounding holds: the depth, channel
// and speed texts formatted from the Sounding, rows outside the readings
// empty. A channel cell may instead hold the text of a committed entry (a
// number equal to the value it was stored as), and masked cells are skipped.
std::string pageTextProblem(const ReadingsPage& page, const Sounding& s, const ChannelTypeTable& table, char sep,
                            const CellMask& typed);

// `saved` (the Sounding with the header boxes' texts, as File > Save writes
// it) rendered as a sounding file and read back into a fresh Sounding: it
// loads, and holds the same counts, texts, channels, depths, speeds and
// values (numbers to within what their written digits keep). Empty also when
// the writer refuses the layout (the save then says so).
std::string saveLoadProblem(const Sounding& saved, const ChannelTypeTable& table, int commaDecimalMode);

}  // namespace qm::monkey
