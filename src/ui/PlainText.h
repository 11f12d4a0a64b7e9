#pragma once
// Text that came from a file, a file name or the user reaches a widget here,
// and always as plain text. Qt takes a text that looks like markup as rich
// text in message boxes, labels and tooltips (and rich text may load local
// images), reads "&" in menu captions as an access key and "[*]" in a window
// title as the modified mark; a header line or channel name must change
// none of that.

#include <QString>

class QLabel;
class QMessageBox;
class QInputDialog;
class QWidget;

namespace qm::ui {

// The label shows `text` as it is, markup and all.
void setPlainText(QLabel* label, const QString& text);
// A new label that shows `text` as it is.
QLabel* plainLabel(const QString& text, QWidget* parent, const char* objectName = nullptr);
// Message boxes and text prompts show their texts as they are.
void makePlain(QMessageBox& box);
void makePlain(QInputDialog& dialog);
// A tooltip always shows as written.
void setPlainToolTip(QWidget* widget, const QString& text);
// A window title shows "[*]" as written.
void setPlainWindowTitle(QWidget* widget, const QString& text);
// A menu caption or button text shows "&" as written.
QString plainCaption(const QString& text);
// The text inside markup of our own: its "<", ">", "&" and quotes escaped.
QString escapedForMarkup(const QString& text);

}  // namespace qm::ui
