#pragma once
// File > Export CSV, Export GEF-CPT and Export AGS4 (mnuExportCsv,
// mnuExportGef, mnuExportAgs): each asks for a file, asks before replacing
// an existing one, and writes the sounding as it stands, with the header
// boxes' texts, through the safe write. Nothing in the sounding changes; a
// failed write says why in one message. Export AGS4 writes the recipient
// and status kept by AGS4 Transfer Details (AgsTransferDialog.h).

#include <QObject>
#include <functional>
#include <string>

#include "ops/OpenFormatFile.h"

namespace qm {
struct Sounding;
}

namespace qm::ui {

class MainForm;

class OpenFormatCommands : public QObject {
    Q_OBJECT
   public:
    explicit OpenFormatCommands(MainForm& form);

    using FileMaker = std::function<OpenFormatFile(const Sounding&)>;
    // One export: `filter` for the save dialog, `make` builds the file.
    void run(const std::string& filter, const FileMaker& make);

   private:
    MainForm& form_;
};

}  // namespace qm::ui
