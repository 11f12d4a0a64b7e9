#pragma once
// Shift Channel(s) (mnuShiftBaseline) and its panel frmShiftBaselines, "SHIFT CHANNEL(S)".
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class ShiftBaselinesPanel : public QObject {
    Q_OBJECT
   public:
    explicit ShiftBaselinesPanel(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
