#pragma once
// File > Export Log (mnuExportLog): the log of the open sounding, as the
// profile view shows it (its optional tracks included), on one A4 page, as
// a PDF, PNG or SVG by the chosen name's extension. It asks before replacing
// a file, writes through the safe write, and changes nothing in the sounding.

#include <QObject>

namespace qm::ui {

class MainForm;

class LogExportCommand : public QObject {
    Q_OBJECT
   public:
    explicit LogExportCommand(MainForm& form);
    void run();

   private:
    MainForm& form_;
};

}  // namespace qm::ui
