#pragma once
// Edit Depth / Elevation > Depth Format > Depth and Elevation (mnuDepth, mnuElevation).
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class DepthFormatCommands : public QObject {
    Q_OBJECT
   public:
    explicit DepthFormatCommands(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
