#include "ui/DepthFormatCommands.h"

#include <QAction>
#include <QGroupBox>

#include "ops/DepthAxis.h"
#include "ui/MainForm.h"

namespace qm::ui {

DepthFormatCommands::DepthFormatCommands(MainForm& form) : QObject(&form), form_(form) {
    if (QAction* item = form_.action("mnuDepth"))
        connect(item, &QAction::triggered, this,
                [this] { form_.runCommand("change the depth format", [this] { mnuDepthClick(); }); });
    if (QAction* item = form_.action("mnuElevation"))
        connect(item, &QAction::triggered, this,
                [this] { form_.runCommand("change the depth format", [this] { mnuElevationClick(); }); });
}

void DepthFormatCommands::mnuDepthClick() { choose(kDepthFormatDepth); }

void DepthFormatCommands::mnuElevationClick() { choose(kDepthFormatElevation); }

void DepthFormatCommands::choose(int format) {
    // A checkable item toggles itself when chosen; the marks always follow
    // the format, also when the format in force is chosen again.
    if (!form_.soundingLoaded()) {
        // No sounding, no format: neither item carries a mark.
        for (const char* name : {"mnuDepth", "mnuElevation"})
            if (QAction* item = form_.action(name)) item->setChecked(false);
        return;
    }
    Sounding& s = form_.sounding();
    const bool switching = format != s.depthFormatApplied;
    form_.beginStep();
    form_.showDepthFormat(format);
    setDepthFormat(s, static_cast<int16_t>(format));
    // An open start panel shows the first value and captions of the other
    // format; its OK would move the axis by the wrong offset.
    if (switching)
        if (QGroupBox* start = form_.panelFrame("frmChangeStartDepth")) start->hide();
    form_.refreshDisplay();
    form_.endStep([&s](const Sounding& before) { return steps::depthFormat(before, s); });
}

}  // namespace qm::ui
