#include "ui/GpsCommands.h"

#include <QPushButton>
#include <QWindow>

#include "ui/EnterGpsDialog.h"
#include "ui/MainForm.h"

namespace qm::ui {

GpsCommands::GpsCommands(MainForm& form) : QObject(&form), form_(form) {
    if (auto* edit = form_.findChild<QPushButton*>("cmdEditGPS"))
        connect(edit, &QPushButton::clicked, this, &GpsCommands::cmdEditGPSClick);
}

GpsCommands::~GpsCommands() = default;

void GpsCommands::decodeGps() {
    fields = qm::decodeGps(form_.sounding().gpsSentence);
    const GpsBoxTexts boxes = gpsBoxTexts(fields);
    form_.setGpsBoxes(boxes.latitude, boxes.longitude, boxes.altitude);
}

void GpsCommands::cmdEditGPSClick() {
    // The previous dialog goes, so the new one loads afresh from the fields.
    dialog_.reset();
    dialog_ = std::make_unique<EnterGpsDialog>(form_, *this);
    // Kept above the main window and centred on it by the window system.
    dialog_->winId();
    if (QWindow* own = dialog_->windowHandle()) own->setTransientParent(form_.windowHandle());
    dialog_->show();
    form_.setEnabled(false);
}

}  // namespace qm::ui
