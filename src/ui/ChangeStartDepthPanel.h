#pragma once
// Edit Depth / Elevation > Start Depth / Elevation (menuStartDepth) and its
// panel frmChangeStartDepth: moves every depth (or elevation) by one offset
// so that the first reading takes the new value typed in txtNewStartDepth.

#include <QObject>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace qm::ui {

class MainForm;

class ChangeStartDepthPanel : public QObject {
    Q_OBJECT
   public:
    explicit ChangeStartDepthPanel(MainForm& form);

    void menuStartDepthClick();
    void command3Click();  // OK
    void command4Click();  // Cancel

   private:
    void build();

    MainForm& form_;
    QGroupBox* frame_ = nullptr;
    QLabel* label22_ = nullptr;
    QLabel* label23_ = nullptr;
    QLabel* current_ = nullptr;
    QLineEdit* newStart_ = nullptr;
};

}  // namespace qm::ui
