#pragma once
// File > Combine (menuCombine) and its panel frmSecondFileData, "COMBINE FILES": appends a second sounding of the same hole.
// Built once by MainForm after start-up; it connects its menu item (found
// with form.action(...)) and fills its frame (form.panelFrame(...)) itself.
//
// The command reads the second file and shows its preview; the panel's OK
// appends it from the chosen start value on. Every rule is in ops/Combine.h;
// this class only moves texts between the widgets and the operation.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace qm {
struct SecondSounding;
struct CombinePreview;
}  // namespace qm

namespace qm::ui {

class MainForm;

class CombinePanel : public QObject {
    Q_OBJECT
   public:
    explicit CombinePanel(MainForm& form);
    ~CombinePanel() override;

    // menuCombine_Click: the file dialog, the read with its messages, the
    // preview.
    void menuCombineClick();
    // cmdCombineOK_Click: the append, or the message that refuses it.
    void cmdCombineOKClick();

   private:
    void buildControls();
    void showPreview(const CombinePreview& preview);
    void showMessages(const std::vector<std::string>& messages);

    MainForm& form_;
    // Kept from the combine command to its OK; large, so on the heap.
    std::unique_ptr<SecondSounding> second_;
    std::string secondTitle_;  // for the history's words

    QGroupBox* frame_ = nullptr;
    QLabel* lblFinalDepthOfFirstSounding_ = nullptr;
    QLineEdit* txtStartDepth_ = nullptr;
    QCheckBox* chkNormalizeDepth_ = nullptr;
    QScrollArea* headingsArea_ = nullptr;
    QLabel* lblSecondFileChannels_ = nullptr;
    QPlainTextEdit* txtSecondFileData_ = nullptr;
    QPushButton* cmdCombineOK_ = nullptr;
};

}  // namespace qm::ui
