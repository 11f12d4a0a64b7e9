#pragma once
// File > Combine (menuCombine) and its panel frmSecondFileData, "COMBINE FILES": appends a second sounding of the same hole.
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class CombinePanel : public QObject {
    Q_OBJECT
   public:
    explicit CombinePanel(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
