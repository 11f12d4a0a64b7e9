#include "ui/PlainText.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace qm::ui {

void setPlainText(QLabel* label, const QString& text) {
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
}

QLabel* plainLabel(const QString& text, QWidget* parent, const char* objectName) {
    auto* l = new QLabel(parent);
    if (objectName) l->setObjectName(objectName);
    setPlainText(l, text);
    return l;
}

void makePlain(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}

void makePlain(QInputDialog& dialog) {
    // The prompt is a label of the dialog's own.
    for (QLabel* l : dialog.findChildren<QLabel*>()) l->setTextFormat(Qt::PlainText);
}

void setPlainToolTip(QWidget* widget, const QString& text) {
    // A tooltip has no format of its own: plain text turned into a paragraph
    // of escaped markup shows exactly as written, line breaks and all.
    widget->setToolTip(text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal));
}

void setPlainWindowTitle(QWidget* widget, const QString& text) {
    // Qt shows "[*][*]" as "[*]".
    QString t = text;
    widget->setWindowTitle(t.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

QString plainCaption(const QString& text) {
    QString t = text;
    return t.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString escapedForMarkup(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace qm::ui
