#pragma once
// Shift Channel(s) (mnuShiftBaseline) and its panel frmShiftBaselines,
// "SHIFT CHANNEL(S)": one row per channel with its name, lowest reading,
// final baseline drift, an offset box and its unit; SHIFT READINGS adds the
// offsets, REMOVE NEGATIVES replaces negative and zero readings, CANCEL closes.

#include <QObject>
#include <array>

#include "model/Sounding.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace qm::ui {

class MainForm;

class ShiftBaselinesPanel : public QObject {
    Q_OBJECT
   public:
    explicit ShiftBaselinesPanel(MainForm& form);

    void mnuShiftBaselineClick();
    void command5Click();  // SHIFT READINGS
    void command6Click();  // CANCEL
    void command7Click();  // REMOVE NEGATIVES

   private:
    struct Row {
        QLabel* name = nullptr;
        QLabel* lowest = nullptr;
        QLabel* finalBaseline = nullptr;
        QLineEdit* offset = nullptr;
        QLabel* unit = nullptr;
    };
    void build();
    void showRow(const Row& row, bool shown);

    MainForm& form_;
    QGroupBox* frame_ = nullptr;
    std::array<Row, kMaxChannels + 1> rows_{};  // element 0 unused
};

}  // namespace qm::ui
