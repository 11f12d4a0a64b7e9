#pragma once
// The sounding as an AGS4 (edition 4.1) file: the groups PROJ, TRAN, UNIT,
// TYPE, LOCA, SCPG (one push) and SCPT (one row per reading), each with its
// HEADING, UNIT and TYPE rows; every field in double quotes with quotes
// doubled, CR LF, ASCII only (header texts are spelled in ASCII letters).
// SCPT holds the depth and the channels the dictionary has a heading for,
// converted to the heading's unit through the channel type table; the
// returned messages name the channels left out, every required or key field
// that had to be filled in, and a sounding without readings (which gets no
// SCPT group, as a group without data rows is not allowed).

#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/ExportDate.h"
#include "ops/Interpretation.h"
#include "ops/OpenFormatFile.h"

namespace qm {

// Who the file goes to and how far its data is settled (TRAN_RECV,
// TRAN_STAT): the user's words, empty when not given.
struct AgsTransfer {
    std::string recipient;
    std::string status;
};

// What an empty TRAN_RECV (and TRAN_PROD) and TRAN_STAT become: nobody
// has said whom the data is for, nor settled it.
inline constexpr const char* kAgsNotStated = "Not stated";
inline constexpr const char* kAgsStatusPlaceholder = "Draft";

// `today` becomes TRAN_DATE. With an interpretation of a sounding that has
// a tip channel, SCPT also holds SCPT_QT, SCPT_BDEN, SCPT_CPO, SCPT_CPOD,
// SCPT_QNET, SCPT_FRRC, SCPT_EXPP and SCPT_BQ (with a u2 channel),
// SCPT_ISPP, SCPT_NQT, SCPT_NFR and the headings of our own SCPT_IC and
// SCPT_SBT (Ic and the zone, declared in a DICT group), and SCPG the area
// ratio (SCPG_CAR) and the method (SCPG_REM).
OpenFormatFile agsFile(const Sounding& s, const ChannelTypeTable& tables, const CalendarDate& today,
                       const AgsTransfer& transfer = {}, const Interpretation* interpretation = nullptr);

// Signed degrees as the dictionary's DMS type spells them,
// "51:28:52.4980" or "-0:07:30.0000".
std::string dmsText(double degrees);

}  // namespace qm
