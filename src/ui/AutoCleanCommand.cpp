#include "ui/AutoCleanCommand.h"

#include "ui/MainForm.h"

namespace qm::ui {

// The command is not wired up yet: its menu item stays without effect.
AutoCleanCommand::AutoCleanCommand(MainForm& form) : QObject(&form), form_(form) {}

}  // namespace qm::ui
