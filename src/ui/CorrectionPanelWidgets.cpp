#include "ui/CorrectionPanelWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include "ui/PlainText.h"

namespace qm::ui {

QLabel* panelText(const QString& text, QWidget* parent, const QString& objectName) {
    QLabel* l = plainLabel(text, parent);
    l->setObjectName(objectName);
    l->setWordWrap(true);
    return l;
}

QLabel* columnHeading(const QString& text, QWidget* parent, const QString& objectName) {
    QLabel* l = panelText(text, parent, objectName);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QFont f = l->font();
    f.setWeight(QFont::DemiBold);
    f.setPointSizeF(f.pointSizeF() - 1.5);
    l->setFont(f);
    return l;
}

QLabel* rowLabel(QWidget* parent, const QString& objectName, int width) {
    QLabel* l = plainLabel(QString(), parent);
    l->setObjectName(objectName);
    if (width > 0) l->setFixedWidth(width);
    return l;
}

QPushButton* panelButton(const QString& caption, QWidget* parent, const QString& objectName) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout* centredButtons(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    row->addStretch(1);
    return row;
}

}  // namespace qm::ui
