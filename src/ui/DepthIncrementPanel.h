#pragma once
// Edit Depth / Elevation > Depth / Elevation Increment (mnuDepthIncrement) and its panel frmDepthIncrement, "DEPTH / ELEVATION INCREMENT".
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class DepthIncrementPanel : public QObject {
    Q_OBJECT
   public:
    explicit DepthIncrementPanel(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
