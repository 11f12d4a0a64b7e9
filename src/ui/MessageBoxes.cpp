#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "ui/TextCodec.h"
#include "ui/PlainText.h"

namespace qm::ui {

void QtMessageBoxes::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), fromCp1252(text), QMessageBox::Ok,
                    parent_);
    makePlain(box);
    box.exec();
}

bool QtMessageBoxes::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), fromCp1252(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    makePlain(box);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtMessageBoxes::askText(const std::string& prompt, const std::string& text) {
    QInputDialog dialog(parent_);
    setPlainWindowTitle(&dialog, QApplication::applicationName());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(fromCp1252(prompt));
    dialog.setTextValue(fromCp1252(text));
    makePlain(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return toCp1252(dialog.textValue());
}

}  // namespace qm::ui
