// The History menu: Undo and Redo of every change to the sounding, the
// History list and the saved record. Every command that changes the
// sounding brackets itself with beginStep and endStep; an undo or redo puts
// the recorded state back and fills every control again from it.

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "model/SafeFile.h"
#include "ui/GpsCommands.h"
#include "ui/HistoryListDialog.h"
#include "ui/MainForm.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

namespace {

constexpr const char* kHistoryFilter = "Text (*.txt)|*.txt";

// An "&" in a step's name is no access key.
QString captionOf(const char* verb, const Step* step) {
    QString caption = QString::fromLatin1(verb);
    if (step) caption += QLatin1Char(' ') + QString::fromStdString(step->name).replace("&", "&&");
    return caption;
}

}  // namespace

void MainForm::buildHistoryMenu() {
    auto* menu = new QMenu(QStringLiteral("&History"), this);
    menu->setObjectName("mnuHistory");
    menu->menuAction()->setObjectName("mnuHistory");

    auto* undo = new QAction(QStringLiteral("&Undo"), this);
    undo->setObjectName("mnuUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, this, [this] { undoClick(); });
    menu->addAction(undo);

    auto* redo = new QAction(QStringLiteral("&Redo"), this);
    redo->setObjectName("mnuRedo");
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setEnabled(false);
    connect(redo, &QAction::triggered, this, [this] { redoClick(); });
    menu->addAction(redo);

    menu->addSeparator()->setObjectName("sepHistory");
    auto* list = new QAction(QStringLiteral("History &List..."), this);
    list->setObjectName("mnuHistoryList");
    list->setEnabled(false);
    connect(list, &QAction::triggered, this, [this] { historyListClick(); });
    menu->addAction(list);

    auto* save = new QAction(QStringLiteral("&Save History..."), this);
    save->setObjectName("mnuSaveHistory");
    save->setEnabled(false);
    connect(save, &QAction::triggered, this, [this] { saveHistoryClick(); });
    menu->addAction(save);

    // Beside the commands it takes back, before About.
    menuBar()->insertMenu(action("mnuAbout"), menu);
}

void MainForm::updateHistoryCommands() {
    const Step* undo = history_.nextUndo();
    const Step* redo = history_.nextRedo();
    QAction* u = action("mnuUndo");
    u->setText(captionOf("&Undo", undo));
    u->setEnabled(undo != nullptr);
    QAction* r = action("mnuRedo");
    r->setText(captionOf("&Redo", redo));
    r->setEnabled(redo != nullptr);
    if (historyList_ && historyList_->isVisible()) historyList_->refill();
}

void MainForm::beginStep() {
    if (stepDepth_++ > 0 || !soundingLoaded()) return;
    capture_ = std::make_unique<StepCapture>(sounding_, page_->view(), windowTexts());
}

void MainForm::endStep(const std::function<steps::Words(const Sounding& before)>& words) {
    if (stepDepth_ > 0) --stepDepth_;
    if (stepDepth_ > 0 || !capture_) return;
    const std::unique_ptr<StepCapture> capture = std::move(capture_);
    const steps::Words w = words(capture->before());
    if (auto step = capture->finish(sounding_, w.name, w.description, page_->view(), windowTexts())) {
        history_.record(std::move(*step));
        updateHistoryCommands();
    }
}

bool MainForm::runPanelStep(QWidget* panel, const std::function<OpResult()>& command,
                            const std::function<steps::Words(const Sounding& before)>& words) {
    beginStep();
    const OpResult result = command();
    for (const std::string& m : result.messages) messageBoxes_->message(m);
    if (result.ok) {
        panel->hide();
        refreshDisplay();
    }
    endStep(words);
    return result.ok;
}

void MainForm::closePanels() {
    for (QGroupBox* frame : panels_) frame->hide();
}

void MainForm::undoClick() {
    if (!soundingLoaded() || !history_.nextUndo()) return;
    closePanels();
    if (const Step* step = history_.undo(sounding_)) showStepState(step->viewBefore, step->windowBefore);
}

void MainForm::redoClick() {
    if (!soundingLoaded() || !history_.nextRedo()) return;
    closePanels();
    if (const Step* step = history_.redo(sounding_)) showStepState(step->viewAfter, step->windowAfter);
}

void MainForm::goToStep(std::size_t done) {
    if (!soundingLoaded() || done == history_.done()) return;
    closePanels();
    const History::Moved moved = history_.goTo(sounding_, done);
    if (!moved.step) return;
    showStepState(moved.undone ? moved.step->viewBefore : moved.step->viewAfter,
                  moved.window ? *moved.window : std::vector<std::string>{});
}

void MainForm::showStepState(const PageView& view, const std::vector<std::string>& window) {
    restoreWindowTexts(window);
    page_->restoreView(view);
    showWholeSounding();
}

void MainForm::showWholeSounding() {
    showDepthFormat(sounding_.depthFormat);
    action("mnu2Digits")->setChecked(sounding_.depthDecimals != 3);
    action("mnu3Digits")->setChecked(sounding_.depthDecimals == 3);
    for (int c = 1; c <= kMaxChannels; ++c) {
        if (c <= sounding_.channelCount)
            showChannelColumn(c);
        else
            hideChannelColumn(c);
    }
    page_->refreshDisplay();
    page_->updateLabels();
    renderPage();
    updateHistoryCommands();
    // The profile draws the sounding as the step left it.
    if (view_) view_->soundingChanged();
    emit soundingChanged();
}

std::vector<std::string> MainForm::windowTexts() const {
    const GpsFields& f = gps_ ? gps_->fields : GpsFields{};
    return {boxText("txtGPSLat"), boxText("txtGPSLon"), boxText("txtGPSAlt"), f.time, f.latitude, f.northSouth,
            f.longitude, f.eastWest, f.positionFix, f.satellites, f.hdop, f.altitude, f.geoidSeparation};
}

void MainForm::restoreWindowTexts(const std::vector<std::string>& t) {
    // A step that did not keep them (a page value) leaves them alone.
    if (t.size() != 13 || !gps_) return;
    setGpsBoxes(t[0], t[1], t[2]);
    gps_->fields = GpsFields{t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11], t[12]};
}

void MainForm::historyListClick() {
    if (!soundingLoaded()) return;
    if (!historyList_) historyList_ = new HistoryListDialog(*this);
    historyList_->refill();
    historyList_->show();
    historyList_->raise();
    historyList_->activateWindow();
}

std::string MainForm::chooseFileToWrite(const std::string& filter) {
    prepareFileDialog(filter, "");
    dialog_.showSave();
    const std::string path = dialog_.fileName;
    if (path.empty() || !fileExists(path)) return path;
    return messageBoxes_->question("Do you want to overwrite the existing file?") ? path : std::string();
}

void MainForm::saveHistoryClick() {
    if (!soundingLoaded()) return;
    const std::string path = chooseFileToWrite(kHistoryFilter);
    if (path.empty()) return;
    const FileResult written = writeFileSafely(path, history_.recordText());
    if (!written.ok) {
        messageBoxes_->message(written.error);
        return;
    }
    messageBoxes_->message("History saved.");
}

}  // namespace qm::ui
