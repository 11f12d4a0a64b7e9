#include "ui/CombinePanel.h"

#include "ui/MainForm.h"

namespace qm::ui {

// The command is not wired up yet: its menu item stays without effect.
CombinePanel::CombinePanel(MainForm& form) : QObject(&form), form_(form) {}

}  // namespace qm::ui
