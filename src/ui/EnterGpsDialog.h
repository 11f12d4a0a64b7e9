#pragma once
// The GPS dialog frmEnterGPS, "Enter GPS Data": one box or list per field of
// the GGA sentence, the sentence as it is being built (lblGPSString), and
// OK, CANCEL and CLEAR GPS.
//
// The dialog is a window of its own without a parent widget: the main
// window is disabled while the dialog is open, and Qt disables every child
// window of a disabled widget, the dialog included. It stays on top of the
// main window through its transient parent instead. It is shown without
// blocking (no exec()), so the program, and the tests, go on at once.

#include <QDialog>

#include "ops/GpsSentence.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::ui {

class GpsCommands;
class MainForm;

class EnterGpsDialog : public QDialog {
    Q_OBJECT
   public:
    // Form_Load: the boxes and lists show the GPS commands' ten fields.
    EnterGpsDialog(MainForm& form, GpsCommands& gps);

    void cmdOKClick();
    void cmdCancelClick();
    void cmdClearGPSClick();

   protected:
    // Escape and the window's close button cancel, so the main window is
    // never left disabled behind a closed dialog.
    void reject() override;

   private:
    void buildControls();
    void formLoad();
    // BuildGpsSentence: lblGPSString shows the sentence of the boxes as they are.
    void buildGpsSentence();
    GpsEntry entry() const;
    // Hides the dialog and gives the main window back to the user.
    void closeDialog(int result);

    MainForm& form_;
    GpsCommands& gps_;

    QLineEdit* txtTime_ = nullptr;
    QLineEdit* txtLatitude_ = nullptr;
    QComboBox* cmbNS_ = nullptr;
    QLineEdit* txtLongitude_ = nullptr;
    QComboBox* cmbEW_ = nullptr;
    QLineEdit* txtPositionFix_ = nullptr;
    QComboBox* cmbNumberOfSatellites_ = nullptr;
    QLineEdit* txtHDOP_ = nullptr;
    QLineEdit* txtAltitude_ = nullptr;
    QLineEdit* txtGeoid_ = nullptr;
    QLabel* lblGPSString_ = nullptr;
};

}  // namespace qm::ui
