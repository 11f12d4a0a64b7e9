#pragma once
// File > Export (MenuExport) and its panel frmExportData, "EXPORT DATA".
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.

#include <QObject>

namespace qm::ui {

class MainForm;

class ExportPanel : public QObject {
    Q_OBJECT
   public:
    explicit ExportPanel(MainForm& form);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
