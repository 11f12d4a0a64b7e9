#include "ui/ChangeStartDepthPanel.h"

#include "ui/MainForm.h"

namespace qm::ui {

// The command is not wired up yet: its menu item stays without effect.
ChangeStartDepthPanel::ChangeStartDepthPanel(MainForm& form) : QObject(&form), form_(form) {}

}  // namespace qm::ui
