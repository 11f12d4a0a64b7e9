#pragma once
// The sounding as CSV (RFC 4180): UTF-8, commas, "." decimals whatever the
// locale, CR LF. One header row ("Depth (m)", "NAME (UNIT)" per channel in
// its current unit, "Speed (cm/s)"), then one row per reading; each number
// is the shortest text that reads back to the stored float, and a reading
// without data (-32768) is an empty field. A heading that starts like a
// spreadsheet formula (=, +, -, @, tab, CR) is kept text by an apostrophe.
// With an interpretation, its quantities follow as further columns at the
// end of each row (after the speed, so the columns of the channels keep
// their places), each with a fixed count of decimals, empty where it has no
// value.

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/Interpretation.h"
#include "ops/OpenFormatFile.h"

namespace qm {

// `depthInFeet`: the page's depth unit; the depth column then holds the
// depths as the page shows them in feet. `interpretation`: of `s`, or null
// for the channels alone; its notes become the file's messages.
OpenFormatFile csvFile(const Sounding& s, const ChannelTypeTable& tables, bool depthInFeet,
                       const Interpretation* interpretation = nullptr);

}  // namespace qm
