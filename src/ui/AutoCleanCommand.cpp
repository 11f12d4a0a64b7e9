#include "ui/AutoCleanCommand.h"

#include <QAction>
#include <QGroupBox>

#include "ops/AutoClean.h"
#include "ui/MainForm.h"

namespace qm::ui {

AutoCleanCommand::AutoCleanCommand(MainForm& form) : QObject(&form), form_(form) {
    if (QAction* item = form_.action("mnuAutoClean"))
        connect(item, &QAction::triggered, this,
                [this] { form_.runCommand("clean up the sounding", [this] { run(); }); });
}

void AutoCleanCommand::run() {
    if (!form_.soundingLoaded()) return;
    Sounding& s = form_.sounding();
    form_.beginStep();
    const AutoCleanResult result = autoClean(s);
    if (result.ok) {
        // The channel panel and the start depth panel show values the clean-up
        // has just moved (a channel in a new position, a snapped first depth);
        // left open, their buttons would act on what they no longer show.
        if (result.insertedChannel > 0)
            if (QGroupBox* shift = form_.panelFrame("frmShiftBaselines")) shift->hide();
        if (QGroupBox* start = form_.panelFrame("frmChangeStartDepth")) start->hide();

        // From the new channel on, every column holds another channel now.
        if (result.insertedChannel > 0)
            for (int c = result.insertedChannel; c <= s.channelCount; ++c) form_.showChannelColumn(c);
        form_.updateNumberOfReadingsLabel();
        form_.refreshDisplay();
    }
    form_.endStep([&](const Sounding&) { return steps::autoClean(s, result, form_.decimalSeparator()); });
    // The page behind the boxes already shows what was done.
    for (const std::string& m : result.messages) form_.messageBoxes().message(m);
}

}  // namespace qm::ui
