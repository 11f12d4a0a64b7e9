#pragma once
// File > AutoClean For Interp (mnuAutoClean): adds a missing pore-pressure
// channel, snaps the depths onto the increment grid and fills the gaps, then
// shows the new columns, the new reading count and the page.

#include <QObject>

namespace qm::ui {

class MainForm;

class AutoCleanCommand : public QObject {
    Q_OBJECT
   public:
    explicit AutoCleanCommand(MainForm& form);

    // mnuAutoClean_Click.
    void run();

   private:
    MainForm& form_;
};

}  // namespace qm::ui
