// File > Open, Save and Copy.

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>

#include "model/NumberText.h"
#include "model/FileLimits.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "ops/AgsReader.h"
#include "ops/SoundingOpen.h"
#include "ui/HeaderBoxes.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/TextCodec.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

namespace {

constexpr const char* kAnyFileFilter = "Digital CPT data (*.*)|*.*";
constexpr const char* kSoundingFilter = "Digital CPT data (*.cpt)|*.cpt";

}  // namespace

void MainForm::menuFileOpenClick() {
    // Open is disabled after a load; the cursor of the loaded sounding stays.
    if (soundingLoaded()) return;
    sounding_.pageRow = 1;
    prepareFileDialog(kAnyFileFilter, "");
    dialog_.showOpen();
    if (dialog_.fileName.empty()) return;
    openSoundingFile(dialog_.fileName);
}

bool MainForm::openSoundingFile(const std::string& path) {
    // A run handles one sounding.
    if (soundingLoaded()) return false;
    // Open puts the cursor row back before its dialog; a file that comes by
    // another way (at start, dropped) sees the same state.
    sounding_.pageRow = 1;
    // An AGS4 file of several tests: the user picks one.
    std::string which = path;
    if (const AgsPath ags = agsPathOf(path); !ags.file.empty() && ags.test.empty()) {
        std::string bytes;
        const AgsTestList list = readWholeFile(path, bytes, kAgsFileLimit).ok ? agsTests(bytes) : AgsTestList{};
        if (list.tests.size() > 1) {
            std::vector<std::string> items;
            for (const AgsTest& t : list.tests)
                items.push_back(t.name() + ":  " + formatPattern(t.top, "0.00", decimalSeparator()) + " to " + formatPattern(t.bottom, "0.00", decimalSeparator()) + " m, " +
                                std::to_string(t.readings) + " readings");
            const auto chosen = messageBoxes_->chooseItem(
                "The file holds " + std::to_string(list.tests.size()) + " cone penetration tests. Open which?", items);
            if (!chosen) return false;
            which = path + "#" + list.tests[static_cast<std::size_t>(*chosen)].name();
        }
    }
    // Read into a fresh record, so a refused file leaves everything as it was.
    std::unique_ptr<Sounding> fresh;
    OpenedSounding opened;
    try {
        fresh = std::make_unique<Sounding>();
        opened = openSounding(which, tables_, commaDecimalMode_, *fresh);
    } catch (const std::bad_alloc&) {
        // A file named at start or dropped comes here without a command
        // around it; the window stays as Open found it.
        opened.load = LoadResult{false, "There is not enough memory to open " + path + ".", {}, {}};
    }
    const LoadResult& result = opened.load;
    if (!result.ok) {
        messageBoxes_->message(result.error);
        return false;
    }
    sounding_ = std::move(*fresh);
    openedFormat_ = opened.format;
    fileAreaRatio_ = opened.netAreaRatio;
    // The header shows before the data rows are read, so the drill-out
    // markers met in them come after it, in order.
    showLoadedHeader();
    for (const std::string& m : result.messages) messageBoxes_->message(m);
    showLoadedPage();
    for (const std::string& w : result.warnings) messageBoxes_->message(w);
    return true;
}

void MainForm::showLoadedHeader() {
    setPlainText(lblFileName_, QStringLiteral("FILE:") + fromFileName(sounding_.openedFileTitle));
    action("mnu2Digits")->setChecked(sounding_.depthDecimals != 3);
    action("mnu3Digits")->setChecked(sounding_.depthDecimals == 3);
    showHeaderTexts();
    lblDepthLabel_->show();
    lblSpeedLabel_->show();
    lblSpeedUnitsLabel_->show();
}

void MainForm::showLoadedPage() {
    showDepthFormat(sounding_.depthFormat);
    for (int c = 1; c <= sounding_.channelCount && c <= kMaxChannels; ++c) showChannelColumn(c);
    // The cursor row, the depth unit "m" and the first refresh.
    {
        const QSignalBlocker quiet(cmbDepthUnits_);
        cmbDepthUnits_->setCurrentIndex(0);
    }
    page_->startAfterLoad();
    cmbDepthUnits_->show();
    frmMessage_->hide();
    showPageColumns();
    renderPage();
    enableLoadedCommands();
    view_->loaded();
}

void MainForm::menuFileSaveClick() {
    if (!soundingLoaded()) return;
    // A sounding that came in another format is saved as STEM.cpt beside
    // it: the file received is never written over.
    const std::string ownTitle = fileTitleOf(cptPathFor(sounding_.openedFileTitle, openedFormat_));
    prepareFileDialog(kSoundingFilter, openedFormat_ == SourceFormat::Cpt ? "" : ownTitle);
    dialog_.showSave();
    const std::string path = dialog_.fileName;
    if (path.empty()) return;
    if (openedFormat_ != SourceFormat::Cpt && dialog_.fileTitle == sounding_.openedFileTitle) {
        messageBoxes_->message("The sounding came from " + sounding_.openedFileTitle +
                               ", which Save does not write over: choose a .cpt name such as " + ownTitle + ".");
        return;
    }
    if (fileExists(path)) {
        // Only a file of the opened file's own name may be replaced; the
        // folders are not compared.
        if (dialog_.fileTitle != ownTitle) {
            messageBoxes_->message("Cannot overwrite existing file.");
            return;
        }
        if (!messageBoxes_->question("Do you want to overwrite the existing file?")) return;
    }
    // The header boxes are the working copies of the header texts. They go
    // into a copy, so a failed save leaves the Sounding exactly as it was.
    auto toSave = std::make_unique<Sounding>(sounding_);
    for (const HeaderBox& h : headerBoxes()) (*toSave).*(h.field) = boxText(h.objectName);
    const SaveResult result = saveSoundingFile(path, *toSave, tables_, decimalSeparator());
    if (!result.ok) {
        messageBoxes_->message(result.error);
        return;
    }
    messageBoxes_->message("File saved.  To cleanup another file, restart the program.");
    endRun();
}

void MainForm::mnuCopyClick() {
    prepareFileDialog(kAnyFileFilter, "");
    dialog_.showOpen();
    if (dialog_.fileName.empty()) return;
    const std::string source = dialog_.fileName;
    prepareFileDialog(kAnyFileFilter, source);
    dialog_.showSave();
    if (dialog_.fileName.empty()) return;
    const FileResult result = copyFileSafely(source, dialog_.fileName);
    if (!result.ok) {
        messageBoxes_->message(result.error);
        return;
    }
    messageBoxes_->message("File copied");
}

}  // namespace qm::ui
