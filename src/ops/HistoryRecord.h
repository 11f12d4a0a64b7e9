#pragma once
// The saved record of the changes (Save History, the batch tool's --log):
// a heading that says which program wrote it, for which file, hole and
// test, and on which day, then the steps done, one description a line.

#include <string>

#include "model/Sounding.h"
#include "ops/ExportDate.h"
#include "ops/History.h"

namespace qm {

struct RecordHeading {
    std::string fileTitle;
    std::string holeNumber;
    std::string dateAndTime;  // the sounding's own date and time text
    CalendarDate written;
};

// The file's name, hole number and date and time of `s`, written today.
RecordHeading recordHeadingOf(const Sounding& s, CalendarDate today);

// The heading, an empty line, then History::recordText; CR LF lines.
std::string historyRecord(const History& history, const RecordHeading& heading);

}  // namespace qm
