#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
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

std::optional<std::string> QtMessageBoxes::askText(const std::string& prompt, const std::string& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, QApplication::applicationName(), fromCp1252(prompt),
                                                 QLineEdit::Normal, fromCp1252(text), &ok);
    if (!ok) return std::nullopt;
    return toCp1252(answer);
}

std::optional<int> QtMessageBoxes::chooseItem(const std::string& prompt, const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << fromCp1252(item);
    bool ok = false;
    const QString answer =
        QInputDialog::getItem(parent_, QApplication::applicationName(), fromCp1252(prompt), list, 0, false, &ok);
    if (!ok) return std::nullopt;
    const auto at = list.indexOf(answer);
    return at < 0 ? std::nullopt : std::optional<int>(static_cast<int>(at));
}

}  // namespace qm::ui
