#pragma once
// Edit Depth / Elevation > Depth / Elevation Increment (mnuDepthIncrement)
// and its panel frmDepthIncrement, "DEPTH / ELEVATION INCREMENT": replaces a
// wrongly recorded increment and rescales depths and speeds to it.

#include <QObject>

#include "ops/DepthAxis.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace qm::ui {

class MainForm;

class DepthIncrementPanel : public QObject {
    Q_OBJECT
   public:
    explicit DepthIncrementPanel(MainForm& form);

    void mnuDepthIncrementClick();
    void command9Click();   // INCREASE +.005
    void command10Click();  // DECREASE -.005
    void cmdOkClick();      // OK
    void command11Click();  // CANCEL

   private:
    void build();

    MainForm& form_;
    QGroupBox* frame_ = nullptr;
    QLabel* current_ = nullptr;
    QLineEdit* newIncrement_ = nullptr;
    // PendingIncrement, reset by every opening.
    IncrementStepper pending_;
};

}  // namespace qm::ui
