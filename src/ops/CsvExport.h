#pragma once
// The sounding as CSV (RFC 4180): UTF-8, commas, "." decimals whatever the
// locale, CR LF. One header row ("Depth (m)", "NAME (UNIT)" per channel in
// its current unit, "Speed (cm/s)"), then one row per reading; each number
// is the shortest text that reads back to the stored float, and a reading
// without data (-32768) is an empty field. A heading that starts like a
// spreadsheet formula (=, +, -, @, tab, CR) is kept text by an apostrophe.

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/OpenFormatFile.h"

namespace qm {

// `depthInFeet`: the page's depth unit; the depth column then holds the
// depths as the page shows them in feet.
OpenFormatFile csvFile(const Sounding& s, const ChannelTypeTable& tables, bool depthInFeet);

}  // namespace qm
