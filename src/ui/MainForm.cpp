#include "ui/MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "model/DataFolder.h"
#include "model/NumberText.h"
#include "model/ProgramVersion.h"
#include "ui/AutoCleanCommand.h"
#include "ui/ChangeStartDepthPanel.h"
#include "ui/CombinePanel.h"
#include "ui/DepthFormatCommands.h"
#include "ui/DepthIncrementPanel.h"
#include "ui/ExportPanel.h"
#include "ui/PlainText.h"
#include "ui/LogExportCommand.h"
#include "ui/OpenFormatCommands.h"
#include "ui/GpsCommands.h"
#include "ui/PageCellEdit.h"
#include "ui/ShiftBaselinesPanel.h"
#include "ui/SoundingFileDrop.h"
#include "ui/TextCodec.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

namespace {

std::unique_ptr<FileDialogBackend> takeDialog(MainFormPlatform& p, QWidget* parent) {
    if (p.fileDialog) return std::move(p.fileDialog);
    return std::make_unique<QtFileDialogBackend>(parent);
}

}  // namespace

MainForm::MainForm(MainFormPlatform platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(std::move(platform)),
      messageBoxes_(platform_.messageBoxes ? std::move(platform_.messageBoxes)
                                           : std::make_unique<QtMessageBoxes>(this)),
      dialog_(takeDialog(platform_, this)) {
    setObjectName("MainForm");
    setPlainWindowTitle(this, QString::fromLatin1(kProgramName));

    // The decimal mode is needed by the page model, so it is decided before
    // the widgets exist; Form_Load keeps its place in the order of steps.
    commaDecimalMode_ = platform_.commaDecimalMode ? *platform_.commaDecimalMode : detectCommaDecimalMode();
    page_ = std::make_unique<ReadingsPage>(sounding_, tables_, commaDecimalMode_);

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(10);
    row->addWidget(buildSideArea(), 0);
    row->addWidget(buildPage(), 1);
    setCentralWidget(central);
    buildMenus();

    formLoad();
    installCommands();
}

MainForm::~MainForm() {
    // The widgets go after this body; a panel hidden on its way out must not
    // ask the view commands, which may already be gone, for the side column.
    view_ = nullptr;
}

char MainForm::decimalSeparator() const { return qm::decimalSeparator(commaDecimalMode_); }

void MainForm::formLoad() {
    // 1. The depth unit list.
    cmbDepthUnits_->clear();
    cmbDepthUnits_->addItem("m");
    cmbDepthUnits_->addItem("ft");
    // 2. The decimal mode was decided in the constructor.
    // 3. The DataFolder: no Windows version to ask, so beside the executable.
    dataFolder_ = platform_.dataFolder.empty() ? defaultDataFolder() : platform_.dataFolder;
    // 4.
    page_->rowSelectArmed = true;
    // 5. The page headers stay hidden until a load.
    lblDepthLabel_->hide();
    cmbDepthUnits_->hide();
    lblSpeedLabel_->hide();
    lblSpeedUnitsLabel_->hide();
    for (int c = 1; c <= kMaxChannels; ++c) {
        lblChannelLabel_[c]->setText("");
        cmbChannelUnits_[c]->hide();
    }
    // 6. The channel type tables; a damaged file is named, the rest loads.
    TableLoadReport report = loadChannelTypeTables(dataFolder_);
    tables_ = std::move(report.table);
    if (!report.problems.empty()) {
        std::string text;
        for (const std::string& p : report.problems) {
            if (!text.empty()) text += "\n";
            text += p;
        }
        messageBoxes_->message(text);
    }
}

void MainForm::installCommands() {
    // Each command and panel wires itself to its menu item and frame.
    new CombinePanel(*this);
    new ChangeStartDepthPanel(*this);
    new DepthIncrementPanel(*this);
    new ShiftBaselinesPanel(*this);
    new ExportPanel(*this);
    new OpenFormatCommands(*this);
    new AutoCleanCommand(*this);
    new DepthFormatCommands(*this);
    gps_ = new GpsCommands(*this);
    view_ = new ViewCommands(*this);
    new LogExportCommand(*this);
    // Last: it finds every text box the commands built.
    new SoundingFileDrop(*this);
}

void MainForm::prepareFileDialog(const std::string& filter, const std::string& fileName) {
    dialog_.filter = filter;
    dialog_.fileName = fileName;
    if (!dialogFolderSet_) {
        dialog_.initDir = firstDialogFolder(dataFolder_);
        dialogFolderSet_ = true;
    } else {
        dialog_.initDir = toFileName(QDir::currentPath());
    }
}

void MainForm::decodeGps() { gps_->decodeGps(); }

void MainForm::endRun() {
    if (platform_.endRun) {
        platform_.endRun();
        return;
    }
    QCoreApplication::exit(0);
}

QAction* MainForm::action(const char* objectName) const { return findChild<QAction*>(objectName); }

QGroupBox* MainForm::panelFrame(const char* objectName) const { return findChild<QGroupBox*>(objectName); }

void MainForm::showPanel(QGroupBox* frame) {
    for (QGroupBox* other : panels_)
        if (other != frame) other->hide();
    headerArea_->hide();
    frame->show();
}

std::string MainForm::boxText(const char* objectName) const {
    const auto* box = findChild<QLineEdit*>(objectName);
    return box ? toCp1252(box->text()) : std::string();
}

void MainForm::setBoxText(const char* objectName, const std::string& bytes) {
    if (auto* box = findChild<QLineEdit*>(objectName)) {
        box->setText(fromCp1252(bytes));
        box->setCursorPosition(0);
    }
}

void MainForm::setGpsBoxes(const std::string& latitude, const std::string& longitude, const std::string& altitude) {
    setBoxText("txtGPSLat", latitude);
    setBoxText("txtGPSLon", longitude);
    setBoxText("txtGPSAlt", altitude);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    // ShowToParent and HideToParent come with every show() and hide() of
    // the frame, also while the window itself is not on screen.
    const bool shown = event->type() == QEvent::ShowToParent;
    if (shown || event->type() == QEvent::HideToParent) {
        for (QGroupBox* frame : panels_) {
            if (watched != frame) continue;
            if (shown) {
                // One panel at a time: the newest one takes the place.
                for (QGroupBox* other : panels_)
                    if (other != frame && other->isVisibleTo(this)) other->hide();
            }
            panelShownOrHidden();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::panelShownOrHidden() {
    bool anyShown = false;
    for (QGroupBox* frame : panels_) anyShown = anyShown || frame->isVisibleTo(this);
    // A panel goes before the profile, the profile before the header boxes.
    const bool profileInSide = view_ && view_->place(anyShown);
    headerArea_->setVisible(!anyShown && !profileInSide);
}

void MainForm::layoutSideColumn() { panelShownOrHidden(); }

void MainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (event->size().width() != event->oldSize().width()) panelShownOrHidden();
}

}  // namespace qm::ui
