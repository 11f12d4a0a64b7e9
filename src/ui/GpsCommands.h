#pragma once
// The GPS position on the main window: DecodeGPS, which splits GpsSentence
// into its fields and shows latitude, longitude and altitude in the GPS
// boxes, and the EDIT GPS DATA button (cmdEditGPS) that opens the GPS dialog.
// Built once by MainForm after start-up.

#include <QObject>

#include "ops/GpsSentence.h"

namespace qm::ui {

class MainForm;

class GpsCommands : public QObject {
    Q_OBJECT
   public:
    explicit GpsCommands(MainForm& form);

    // DecodeGPS.
    void decodeGps();

    // The ten fields shared by the main window and the GPS dialog.
    GpsFields fields;

   private:
    MainForm& form_;
};

}  // namespace qm::ui
