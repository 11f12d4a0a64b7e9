#pragma once
// Edit Depth / Elevation > Depth Format > Depth and Elevation (mnuDepth,
// mnuElevation): the depth axis as depth below the surface or as elevation
// (the same values negated), with the check marks and lblDepthLabel.

#include <QObject>

namespace qm::ui {

class MainForm;

class DepthFormatCommands : public QObject {
    Q_OBJECT
   public:
    explicit DepthFormatCommands(MainForm& form);

    void mnuDepthClick();
    void mnuElevationClick();

   private:
    void choose(int format);

    MainForm& form_;
};

}  // namespace qm::ui
