#include "ui/GpsCommands.h"

#include "ui/MainForm.h"

namespace qm::ui {

// The EDIT GPS DATA button is not wired up yet.
GpsCommands::GpsCommands(MainForm& form) : QObject(&form), form_(form) {}

void GpsCommands::decodeGps() {
    fields = qm::decodeGps(form_.sounding().gpsSentence);
    const GpsBoxTexts boxes = gpsBoxTexts(fields);
    form_.setGpsBoxes(boxes.latitude, boxes.longitude, boxes.altitude);
}

}  // namespace qm::ui
