#include "ui/DepthIncrementPanel.h"

#include "ui/MainForm.h"

namespace qm::ui {

// The command is not wired up yet: its menu item stays without effect.
DepthIncrementPanel::DepthIncrementPanel(MainForm& form) : QObject(&form), form_(form) {}

}  // namespace qm::ui
