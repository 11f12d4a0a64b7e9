#pragma once
// The few kinds of control the correction panels (channel shift, start depth,
// depth increment) are made of, so the three look alike. Every text is shown
// as plain text: "<OR>" and a channel name are never read as markup.

#include <QString>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace qm::ui {

// A fixed text of a panel, wrapped at blanks to the panel's width.
QLabel* panelText(const QString& text, QWidget* parent, const QString& objectName);
// A column heading: small, semi-bold, centred, wrapped.
QLabel* columnHeading(const QString& text, QWidget* parent, const QString& objectName);
// A label that shows a value; `width` 0 leaves the width to the layout.
QLabel* rowLabel(QWidget* parent, const QString& objectName, int width = 0);
QPushButton* panelButton(const QString& caption, QWidget* parent, const QString& objectName);
// A row of buttons centred under the panel's controls.
QHBoxLayout* centredButtons(std::initializer_list<QPushButton*> buttons);

}  // namespace qm::ui
