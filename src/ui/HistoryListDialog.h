#pragma once
// History > History List...: every step in words, the state as opened at
// the top. A click on an entry takes the sounding back (or forward) to the
// state after it; the steps undone are shown greyed until a new command
// drops them. The list stays open beside the main window (not modal) and
// follows every change; it is disabled with the main window while the GPS
// dialog is open.

#include <QDialog>
#include <QRect>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace qm::ui {

class MainForm;

class HistoryListDialog : public QDialog {
    Q_OBJECT
   public:
    explicit HistoryListDialog(MainForm& form);
    // Fills the list again from the form's history.
    void refill();
    // Moves the list beside the readings page, where the screen has room.
    void placeBesideThePage();

   private:
    void entryClicked(QListWidgetItem* item);

    MainForm& form_;
    QLabel* lblHistoryHint_ = nullptr;
    QListWidget* lstHistory_ = nullptr;
};

// Where a list of `wanted` size goes so that it does not cover `page`:
// right of `window`, else left of it, else in the part of the window left
// of the page (narrower if need be), all on `screen`; top level with the
// page. An empty rectangle when none of them has room.
QRect besidePage(const QRect& page, const QRect& window, const QRect& screen, const QSize& wanted);

}  // namespace qm::ui
