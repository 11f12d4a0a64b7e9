#pragma once
// File > AutoClean For Interp (mnuAutoClean).
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class AutoCleanCommand : public QObject {
    Q_OBJECT
   public:
    explicit AutoCleanCommand(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
