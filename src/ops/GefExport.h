#pragma once
// The sounding as a GEF-CPT report (GEF 1.1, report code GEF-CPT-Report
// 1.1.2): a header of #KEYWORD= lines, then one record per reading, columns
// separated by ";" and each record ended by "!". The first column is the
// penetration length in m; then every channel that has a standard quantity
// of the report, in quantity order, converted to the report's unit through
// the channel type table. Channels without one are left out, and the
// returned message names them. The file is ASCII: header texts are spelled
// in ASCII, and the characters GEF uses as separators become blanks.

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/ExportDate.h"
#include "ops/Interpretation.h"
#include "ops/OpenFormatFile.h"

namespace qm {

// `today` becomes #FILEDATE. With an interpretation of the sounding, its
// quantities follow the channels (corrected depth 11, qt 13, qn 14, Bq 15,
// unit weight 17, u0 18, sigma_v0 19, sigma'_v0 20, in the report's units),
// and the header gives the net area ratio and the method.
OpenFormatFile gefFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today,
                       const Interpretation* interpretation = nullptr);

}  // namespace qm
