#pragma once
// The sounding as an AGS4 (edition 4.1) file: the groups PROJ, TRAN, UNIT,
// TYPE, LOCA, SCPG (one push) and SCPT (one row per reading), each with its
// HEADING, UNIT and TYPE rows; every field in double quotes with quotes
// doubled, CR LF, ASCII only (header texts are spelled in ASCII letters).
// SCPT holds the depth and the channels the dictionary has a heading for,
// converted to the heading's unit through the channel type table; the
// returned message names the channels left out.

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/ExportDate.h"
#include "ops/OpenFormatFile.h"

namespace qm {

// `today` becomes TRAN_DATE.
OpenFormatFile agsFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today);

}  // namespace qm
