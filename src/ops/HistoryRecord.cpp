#include "ops/HistoryRecord.h"

#include "model/ProgramVersion.h"

namespace qm {

RecordHeading recordHeadingOf(const Sounding& s, CalendarDate today) {
    return {s.openedFileTitle, s.holeNumber, s.dateAndTime, today};
}

std::string historyRecord(const History& history, const RecordHeading& h) {
    std::string text = std::string(kProgramName) + " " + kProgramVersion + ": record of changes\r\n";
    text += "File: " + h.fileTitle + "\r\n";
    text += "Hole number: " + h.holeNumber + "\r\n";
    text += "Date and time: " + h.dateAndTime + "\r\n";
    text += "Written: " + isoText(h.written) + "\r\n\r\n";
    return text + history.recordText();
}

}  // namespace qm
