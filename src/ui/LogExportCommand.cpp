#include "ui/LogExportCommand.h"

#include <QAction>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "ops/ExportDate.h"
#include "ops/LogPage.h"
#include "ops/TrackScales.h"
#include "ops/WriteConfirmations.h"
#include "ui/HeaderBoxes.h"
#include "ui/InterpretationCommands.h"
#include "ui/LogPainter.h"
#include "ui/MainForm.h"
#include "ui/MessageBoxes.h"
#include "ui/ProfileView.h"
#include "ui/TextCodec.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

namespace {
const char* const kLogFilter = "PDF log (*.pdf)|*.pdf|PNG log, 300 dpi (*.png)|*.png|SVG log (*.svg)|*.svg";
}

LogExportCommand::LogExportCommand(MainForm& form) : QObject(&form), form_(form) {
    if (QAction* a = form_.action("mnuExportLog"))
        connect(a, &QAction::triggered, this, [this] { form_.runCommand("draw the log", [this] { run(); }); });
}

void LogExportCommand::run() {
    if (!form_.soundingLoaded()) return;
    std::string path = form_.chooseFileToWrite(kLogFilter);
    if (path.empty()) return;
    MessageBoxes& boxes = form_.messageBoxes();
    const std::optional<LogFormat> format = logFormatOf(path);
    if (!format) {
        boxes.message("A log is written as .pdf, .png or .svg: end the file name with one of them.");
        return;
    }

    // The header boxes hold the texts as the user sees them.
    Sounding shown = form_.sounding();
    for (const HeaderBox& h : headerBoxes()) shown.*(h.field) = form_.boxText(h.objectName);
    LogRequest request;
    request.format = *format;
    request.decimalSeparator = form_.decimalSeparator();
    request.profile = buildProfile(shown, form_.tables(), form_.page().depthInFeet(),
                                   localeTextToNumber(form_.boxText("txtWaterTableDepth"), form_.decimalSeparator()));
    applyScales(request.profile, form_.viewCommands().scaleChooser());
    const ProfileView* view = form_.viewCommands().profileView();
    request.tracks = logTracks(request.profile, [view](int c) { return view->trackShown(c); });
    request.header = logHeaderFields(shown, fromFileName(shown.openedFileTitle).toStdString(), exportDate());
    form_.viewCommands().interpretation().addTracks(request.profile);
    if (const std::optional<Interpretation> in = form_.viewCommands().interpretation().current()) {
        request.tracks = logTracks(request.profile, [view](int c) { return view->trackShown(c); });
        request.header.push_back(interpretationHeaderField(*in));
    }

    const LogFiles drawn = renderLog(request);
    if (!drawn.error.empty() || drawn.bytes.size() != 1) {
        boxes.message(drawn.error.empty() ? "The log could not be drawn." : drawn.error);
        return;
    }
    const FileResult written = writeFileSafely(path, drawn.bytes.front());
    boxes.message(written.ok ? exportedTo(kLogExport, path) : written.error);
}

}  // namespace qm::ui
