#pragma once
// File > AGS4 Transfer Details... (mnuAgsTransfer): the recipient and the
// status that Export AGS4 writes as TRAN_RECV and TRAN_STAT, kept between
// runs in the program's settings. An empty box leaves the export's stated
// placeholder. The dialog frmAgsTransfer is shown without blocking, so the
// program and the tests go on at once; OK keeps the boxes, Cancel drops them.

#include <QDialog>

#include "ops/AgsExport.h"

class QLineEdit;

namespace qm::ui {

// What Export AGS4 writes: the settings' texts as code page bytes.
AgsTransfer rememberedAgsTransfer();

class AgsTransferDialog : public QDialog {
    Q_OBJECT
   public:
    explicit AgsTransferDialog(QWidget* parent);
    void cmdOKClick();

   private:
    QLineEdit* recipient_;
    QLineEdit* status_;
};

}  // namespace qm::ui
