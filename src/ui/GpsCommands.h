#pragma once
// The GPS position on the main window: DecodeGPS, which splits GpsSentence
// into its fields and shows latitude, longitude and altitude in the GPS
// boxes, and the EDIT GPS DATA button (cmdEditGPS) that opens the GPS dialog.
// Built once by MainForm after start-up.

#include <QObject>
#include <memory>

#include "ops/GpsSentence.h"

namespace qm::ui {

class EnterGpsDialog;
class MainForm;

class GpsCommands : public QObject {
    Q_OBJECT
   public:
    explicit GpsCommands(MainForm& form);
    ~GpsCommands() override;

    // DecodeGPS.
    void decodeGps();

    // cmdEditGPS_Click: a fresh dialog on the ten fields, shown without
    // blocking, and the main window disabled until it closes.
    void cmdEditGPSClick();

    // The ten fields shared by the main window and the GPS dialog.
    GpsFields fields;

   private:
    MainForm& form_;
    // The dialog of the last opening; it has no parent widget (see
    // EnterGpsDialog.h), so it is owned here.
    std::unique_ptr<EnterGpsDialog> dialog_;
};

}  // namespace qm::ui
