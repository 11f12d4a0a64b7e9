#include "ui/AgsTransferDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

constexpr const char* kRecipientKey = "ags4/recipient";
constexpr const char* kStatusKey = "ags4/status";

QLineEdit* box(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QLineEdit(text, parent);
    b->setObjectName(name);
    b->setMaxLength(200);
    b->setMinimumWidth(260);
    return b;
}

}  // namespace

AgsTransfer rememberedAgsTransfer() {
    const QSettings settings;
    return {toCp1252(settings.value(kRecipientKey).toString()), toCp1252(settings.value(kStatusKey).toString())};
}

AgsTransferDialog::AgsTransferDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAgsTransfer");
    setWindowTitle("AGS4 Transfer Details");
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    const QSettings settings;
    recipient_ = box(this, "txtAgsRecipient", settings.value(kRecipientKey).toString());
    status_ = box(this, "txtAgsStatus", settings.value(kStatusKey).toString());
    recipient_->setPlaceholderText(kAgsNotStated);
    status_->setPlaceholderText(kAgsStatusPlaceholder);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdAgsTransferOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdAgsTransferCancel");
    auto* form = new QFormLayout(this);
    form->addRow("&Recipient (TRAN_RECV):", recipient_);
    form->addRow("S&tatus (TRAN_STAT):", status_);
    form->addRow(ok, cancel);
    connect(ok, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AgsTransferDialog::cmdOKClick() {
    QSettings settings;
    settings.setValue(kRecipientKey, recipient_->text().trimmed());
    settings.setValue(kStatusKey, status_->text().trimmed());
    accept();
}

}  // namespace qm::ui
