#pragma once
// History > History List...: every step in words, the state as opened at
// the top. A click on an entry takes the sounding back (or forward) to the
// state after it; the steps undone are shown greyed until a new command
// drops them. The list stays open beside the main window (not modal) and
// follows every change; it is disabled with the main window while the GPS
// dialog is open.

#include <QDialog>

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

   private:
    void entryClicked(QListWidgetItem* item);

    MainForm& form_;
    QLabel* lblHistoryHint_ = nullptr;
    QListWidget* lstHistory_ = nullptr;
};

}  // namespace qm::ui
