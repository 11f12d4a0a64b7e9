#pragma once
// File > Export (MenuExport) and its panel frmExportData, "EXPORT DATA".
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.
//
// An option button switches the tip, sleeve and pore-pressure channels to
// its system's units at once, through the unit boxes of the readings page;
// OK asks for the .cpd file and writes the sounding in the units it stands in.

#include <QObject>
#include <optional>

#include "ops/UnitSystems.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace qm::ui {

class MainForm;

class ExportPanel : public QObject {
    Q_OBJECT
   public:
    explicit ExportPanel(MainForm& form);

    // MenuExport_Click: shows the panel; the first time in a run English is
    // selected, which applies its units.
    void menuExportClick();
    // The click of one option button: the system becomes UnitSystemName and
    // its units are selected on the page.
    void optionClick(UnitSystem system);
    // Command1_Click: asks for the file and writes it; the panel hides only
    // once the file is written.
    void command1Click();
    // Command2_Click: hides the panel; the units stay as the options left them.
    void command2Click();

   private:
    void build();

    MainForm& form_;
    QGroupBox* frame_ = nullptr;
    QButtonGroup* options_ = nullptr;
    // UnitSystemName: empty until the first option click, never cleared.
    std::optional<UnitSystem> unitSystem_;
};

}  // namespace qm::ui
