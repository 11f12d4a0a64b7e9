#pragma once
// Edit Depth / Elevation > Start Depth / Elevation (menuStartDepth) and its panel frmChangeStartDepth, "CHANGE START DEPTH".
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class ChangeStartDepthPanel : public QObject {
    Q_OBJECT
   public:
    explicit ChangeStartDepthPanel(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
