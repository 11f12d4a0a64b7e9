#include "ui/OpenFormatCommands.h"

#include <QAction>
#include <memory>

#include "model/SafeFile.h"
#include "ops/AgsExport.h"
#include "ops/CsvExport.h"
#include "ops/ExportDate.h"
#include "ops/GefExport.h"
#include "ui/AgsTransferDialog.h"
#include "ops/WriteConfirmations.h"
#include "ui/HeaderBoxes.h"
#include "ui/InterpretationCommands.h"
#include "ui/MainForm.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

OpenFormatCommands::OpenFormatCommands(MainForm& form) : QObject(&form), form_(form) {
    const auto wire = [this](const char* item, std::string filter, std::string_view kind, FileMaker make) {
        if (QAction* a = form_.action(item))
            connect(a, &QAction::triggered, this, [this, filter, kind, make] {
                form_.runCommand("export the sounding", [&] { run(filter, kind, make); });
            });
    };
    // With the interpretation's tracks on, every open format carries it too.
    wire("mnuExportCsv", "CSV file (*.csv)|*.csv", kCsvExport, [this](const Sounding& s) {
        const std::optional<Interpretation> in = form_.viewCommands().interpretation().current();
        return csvFile(s, form_.tables(), form_.page().depthInFeet(), in ? &*in : nullptr);
    });
    wire("mnuExportGef", "GEF-CPT report (*.gef)|*.gef", kGefExport, [this](const Sounding& s) {
        const std::optional<Interpretation> in = form_.viewCommands().interpretation().current();
        return gefFile(s, form_.tables(), exportDate(), in ? &*in : nullptr);
    });
    wire("mnuExportAgs", "AGS4 data (*.ags)|*.ags", kAgsExport, [this](const Sounding& s) {
        const std::optional<Interpretation> in = form_.viewCommands().interpretation().current();
        return agsFile(s, form_.tables(), exportDate(), rememberedAgsTransfer(), in ? &*in : nullptr);
    });
    if (QAction* a = form_.action("mnuAgsTransfer"))
        connect(a, &QAction::triggered, this, [this] { (new AgsTransferDialog(&form_))->show(); });
}

void OpenFormatCommands::run(const std::string& filter, std::string_view kind, const FileMaker& make) {
    if (!form_.soundingLoaded()) return;
    const std::string path = form_.chooseFileToWrite(filter);
    if (path.empty()) return;
    MessageBoxes& boxes = form_.messageBoxes();

    // The header boxes are the working copies of the header texts; they go
    // into a copy, so the export leaves the Sounding as it was.
    auto toWrite = std::make_unique<Sounding>(form_.sounding());
    for (const HeaderBox& h : headerBoxes()) (*toWrite).*(h.field) = form_.boxText(h.objectName);
    const OpenFormatFile file = make(*toWrite);
    if (!file.ok) {
        for (const std::string& m : file.messages) boxes.message(m);
        return;
    }
    const FileResult written = writeFileSafely(path, file.bytes);
    if (!written.ok) {
        boxes.message(written.error);
        return;
    }
    boxes.message(exportedTo(kind, path));
    for (const std::string& m : file.messages) boxes.message(m);
}

}  // namespace qm::ui
