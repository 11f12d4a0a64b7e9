#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/TextCodec.h"

namespace qm::ui {

void QtMessageBoxes::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), fromCp1252(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

bool QtMessageBoxes::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), fromCp1252(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace qm::ui
