#pragma once
// The main window: header texts, GPS boxes, the readings page, the menus,
// and the panels of the corrections, combine and export commands.
//
// The window is built from several files so that each command can grow in
// its own place:
//   MainForm.cpp        construction, start-up (Form_Load), the services below
//   MainFormHeader.cpp  file name, no-file message, header boxes, GPS boxes
//   MainFormPage.cpp    the readings page: cells, headers, units, digits
//   MainFormMenus.cpp   the menu tree, About and Exit
//   MainFormFile.cpp    File > Open, Save and Copy
//   MainFormHistory.cpp the History menu: undo, redo, the list, the record
//
// Adding a panel or command: each has its own class in its own file, built
// once by the constructor after start-up (see installCommands in
// MainForm.cpp): CombinePanel, ChangeStartDepthPanel, DepthIncrementPanel,
// ShiftBaselinesPanel, ExportPanel, AutoCleanCommand, DepthFormatCommands,
// GpsCommands and SoundingFileDrop. Such a class finds its menu item with action("menuCombine"),
// its empty frame with panelFrame("frmSecondFileData") (a hidden QGroupBox
// with its caption; fill it with a layout and controls), and works on the
// Sounding through sounding(), tables() and the page services. Showing a
// frame puts it in place of the header boxes (one frame at a time: showing
// one hides another); hiding every frame brings the header boxes back. A
// frame fills the side column's height unless its vertical size policy
// keeps it to its contents. The page's cells are PageCellEdit text boxes:
// read their text with shownText() (see PageCellEdit.h).

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/ReadingsPage.h"
#include "model/Sounding.h"
#include "ops/SoundingOpen.h"
#include "ops/History.h"
#include "ops/OpResult.h"
#include "ops/StepTexts.h"
#include "ui/CommonDialog.h"
#include "ui/MessageBoxes.h"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace qm::ui {

class GpsCommands;
class HistoryListDialog;
class PageCanvas;
class ViewCommands;
class PageCellEdit;

// What the window talks to outside itself. Every part left empty gets the
// program's own: Qt message boxes and file dialog, the DataFolder beside the
// executable, the C library's decimal mode, and a run that ends by quitting
// the event loop.
struct MainFormPlatform {
    std::unique_ptr<MessageBoxes> messageBoxes;
    std::unique_ptr<FileDialogBackend> fileDialog;
    std::function<void()> endRun;
    std::string dataFolder;
    std::optional<int> commaDecimalMode;
};

class MainForm : public QMainWindow {
    Q_OBJECT

   public:
    explicit MainForm(MainFormPlatform platform = {}, QWidget* parent = nullptr);
    ~MainForm() override;

    // ---- Services for the commands and panels ----

    Sounding& sounding() { return sounding_; }
    const ChannelTypeTable& tables() const { return tables_; }
    int commaDecimalMode() const { return commaDecimalMode_; }
    char decimalSeparator() const;
    const std::string& dataFolder() const { return dataFolder_; }
    bool soundingLoaded() const { return page_->loaded(); }
    // The net area ratio the opened file gives (GEF-CPT, AGS4), if any.
    std::optional<double> fileAreaRatio() const { return fileAreaRatio_; }

    MessageBoxes& messageBoxes() { return *messageBoxes_; }
    CommonDialog& commonDialog() { return dialog_; }
    // Prepares CommonDialog1 as every command that picks a file does: the
    // filter, the file name, and the start folder (for the first dialog of
    // the run the DataFolder's rule, afterwards the current folder).
    void prepareFileDialog(const std::string& filter, const std::string& fileName);
    // The save dialog for a file of `filter`, and the question before an
    // existing file is replaced: the path to write, or "" when the user
    // cancelled either.
    std::string chooseFileToWrite(const std::string& filter);

    ReadingsPage& page() { return *page_; }
    ViewCommands& viewCommands() { return *view_; }
    // RefreshDisplay, then the cells show the page model.
    void refreshDisplay();
    // The cells, colours and page labels show the page model as it is (after
    // a command changed backgrounds or labels in it).
    void renderPage();
    // lblNumberOfReadings := "# of Readings: " and the reading count.
    void updateNumberOfReadingsLabel();
    // The page shows the state a page handler left: cells, messages, focus.
    void handleReaction(const PageReaction& reaction);
    // A move of more than one reading that is no key in a cell (the wheel,
    // the scroll bar, Go to Depth, the profile): it commits the selected
    // cell's typed value first, which is a step of the history like any
    // commit. Returns the page's reaction, not yet shown.
    PageReaction movePage(const std::function<PageReaction()>& move);
    // The header boxes, a panel or the profile in the side column, after a
    // panel came or went or the window's width changed.
    void layoutSideColumn();

    // Channel c's column header: label ChannelName(c), the unit box refilled
    // with the units of its type and set to ChannelUnitIndex(c) without
    // converting anything, and the column's cells enabled.
    void showChannelColumn(int c);
    // The unit box of channel c selects list position `position`, and the
    // unit change runs as when the user picks it (cmbChannelUnits_Click).
    void selectChannelUnit(int c, int position);
    // Check marks of Depth/Elevation and the caption of lblDepthLabel for
    // DepthFormat 0 or 1.
    void showDepthFormat(int depthFormat);

    QAction* action(const char* objectName) const;
    QGroupBox* panelFrame(const char* objectName) const;
    // Shows `frame` in place of the header boxes (or of another panel). The
    // boxes and panels it replaces go first: a frame's show() activates the
    // layouts at once, and while the header boxes still stand the window
    // would grow to hold both, and stay grown.
    void showPanel(QGroupBox* frame);
    // A text box of the window by objectName, its text in code-page bytes.
    std::string boxText(const char* objectName) const;
    void setBoxText(const char* objectName, const std::string& bytes);
    // txtGPSLat, txtGPSLon, txtGPSAlt.
    void setGpsBoxes(const std::string& latitude, const std::string& longitude, const std::string& altitude);
    // DecodeGPS: the GPS commands split GpsSentence and fill the GPS boxes.
    void decodeGps();

    // Ends the run (after a save, or Exit).
    void endRun();

    // ---- The undo history ----

    // A command that may change the sounding starts with beginStep and ends
    // with endStep, which records a step when it did change it; `words`
    // names it from the sounding as the command found it. Calls inside an
    // open step belong to it.
    void beginStep();
    void endStep(const std::function<steps::Words(const Sounding& before)>& words);
    // Runs one command of the window. Memory that runs out on its way is the
    // command's failure, not the program's: a step it opened is put back,
    // so the sounding and the page are as the command found them, and the
    // message says what could not be done ("save the sounding").
    void runCommand(const std::string& what, const std::function<void()>& command);
    // A panel's command as one step: its messages, and on success the page
    // shown anew and the panel closed. A refusal leaves the panel open.
    bool runPanelStep(QWidget* panel, const std::function<OpResult()>& command,
                      const std::function<steps::Words(const Sounding& before)>& words);
    History& history() { return history_; }
    // Undo, Redo and a click in the History list: every panel closes first,
    // then the window shows the state before (after) the step.
    void undoClick();
    void redoClick();
    void goToStep(std::size_t done);
    void historyListClick();
    void saveHistoryClick();

    // The whole sounding may have changed (an undo or redo): every control
    // that shows it is filled again from it: the check marks, the channel
    // columns and unit boxes, the page and its labels. Emits soundingChanged
    // last, for views that draw the sounding.
    void showWholeSounding();

   signals:
    void soundingChanged();

   public:

    // ---- The window's own commands ----

    void menuFileOpenClick();
    // File > Open with `path` chosen (also a file named at start or dropped
    // on the window): reads it and shows the sounding. A refused file gives
    // its message and leaves the window as Open leaves it.
    bool openSoundingFile(const std::string& path);
    void menuFileSaveClick();
    void mnuCopyClick();
    void mnuAboutClick();
    void menuFileExitClick();
    void mnu2DigitsClick();
    void mnu3DigitsClick();
    void cmbDepthUnitsClick();
    void cmbChannelUnitsClick(int index);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

   private:
    // Construction, one file each.
    QWidget* buildSideArea();
    QWidget* buildHeaderArea();
    QWidget* buildPage();
    void buildMenus();
    void buildHistoryMenu();
    void updateHistoryCommands();
    void showStepState(const PageView& view, const std::vector<std::string>& window);
    void hideChannelColumn(int c);
    void closePanels();
    // The GPS boxes and fields, which follow the sounding but are not
    // always decoded from it.
    std::vector<std::string> windowTexts() const;
    void restoreWindowTexts(const std::vector<std::string>& texts);
    void buildPanelFrames(QWidget* area);
    void installCommands();
    void formLoad();

    void showLoadedHeader();
    void showLoadedPage();
    void showHeaderTexts();
    void enableLoadedCommands();
    // A commit of a page value: watched before the page's handler, recorded
    // as a step after it when the value changed.
    struct WatchedCommit {
        bool watched = false;
        int column = 0;
        int32_t reading = 0;
        float before = 0.0f;
        Cursor cursor;
        PageView view;
    };
    WatchedCommit watchCommit(int column, int row) const;
    void recordCommit(const WatchedCommit& w);
    bool cellKey(PageCellEdit& cell, int keyCode);
    void cellClick(PageCellEdit& cell);
    void renderLabels();
    void panelShownOrHidden();
    // Only the columns of the sounding's channels take room once loaded.
    void showPageColumns();
    PageCellEdit* cellAt(int column, int row) const;

    MainFormPlatform platform_;
    std::unique_ptr<MessageBoxes> messageBoxes_;
    CommonDialog dialog_;
    bool dialogFolderSet_ = false;

    int commaDecimalMode_ = 0;
    std::string dataFolder_;
    ChannelTypeTable tables_;
    Sounding sounding_;
    // The format the sounding came in: Save never writes over a GEF file.
    SourceFormat openedFormat_ = SourceFormat::Cpt;
    // The cone's net area ratio the opened GEF-CPT or AGS4 file gives.
    std::optional<double> fileAreaRatio_;
    std::unique_ptr<ReadingsPage> page_;

    // Widgets the window's own code uses often; everything else is found by
    // objectName.
    QLabel* lblFileName_ = nullptr;
    QFrame* frmMessage_ = nullptr;
    QWidget* headerArea_ = nullptr;
    std::array<QGroupBox*, 5> panels_{};
    QLabel* lblDepthLabel_ = nullptr;
    QComboBox* cmbDepthUnits_ = nullptr;
    QLabel* lblSpeedLabel_ = nullptr;
    QLabel* lblSpeedUnitsLabel_ = nullptr;
    std::array<QLabel*, kMaxChannels + 1> lblChannelLabel_{};
    std::array<QComboBox*, kMaxChannels + 1> cmbChannelUnits_{};
    std::array<PageCellEdit*, (kPageRows + 1) * kPageColumns> cells_{};
    PageCanvas* canvas_ = nullptr;
    QLabel* lblDataIndex_ = nullptr;
    QLabel* lblNumberOfReadings_ = nullptr;
    GpsCommands* gps_ = nullptr;

    History history_;
    std::unique_ptr<StepCapture> capture_;
    int stepDepth_ = 0;
    HistoryListDialog* historyList_ = nullptr;
    ViewCommands* view_ = nullptr;
};

}  // namespace qm::ui
