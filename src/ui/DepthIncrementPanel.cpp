#include "ui/DepthIncrementPanel.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CorrectionPanelWidgets.h"
#include "ui/MainForm.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

constexpr int kValueWidth = 80;

}  // namespace

DepthIncrementPanel::DepthIncrementPanel(MainForm& form) : QObject(&form), form_(form) {
    frame_ = form_.panelFrame("frmDepthIncrement");
    if (frame_) build();
    if (QAction* item = form_.action("mnuDepthIncrement"))
        connect(item, &QAction::triggered, this, [this] { mnuDepthIncrementClick(); });
}

void DepthIncrementPanel::build() {
    auto* column = new QVBoxLayout(frame_);
    column->setContentsMargins(8, 10, 8, 8);
    column->setSpacing(10);

    QLabel* warning =
        panelText("WARNING: THE DEPTH / ELEVATION INCREMENT SHOULD BE CHANGED ONLY IF IT WAS SET INCORRECTLY IN VORTAQ",
                  frame_, "lblIncrementWarning");
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    column->addWidget(warning);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    current_ = rowLabel(frame_, "lblCurrentIncrement", kValueWidth);
    current_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    current_->setFrameShape(QFrame::StyledPanel);
    newIncrement_ = new QLineEdit(frame_);
    newIncrement_->setObjectName("txtNewIncrement");
    newIncrement_->setFixedWidth(kValueWidth);
    newIncrement_->setAlignment(Qt::AlignRight);
    grid->addWidget(panelText("CURRENT INCREMENT", frame_, "lblCurrentIncrementCaption"), 0, 0);
    grid->addWidget(current_, 0, 1);
    grid->addWidget(panelText("m", frame_, "lblCurrentIncrementUnits"), 0, 2);
    grid->addWidget(panelText("NEW INCREMENT", frame_, "lblNewIncrementCaption"), 1, 0);
    grid->addWidget(newIncrement_, 1, 1);
    grid->addWidget(panelText("m", frame_, "lblNewIncrementUnits"), 1, 2);
    grid->setColumnStretch(0, 1);
    column->addLayout(grid);

    QPushButton* increase = panelButton("INCREASE +.005", frame_, "Command9");
    QPushButton* decrease = panelButton("DECREASE -.005", frame_, "Command10");
    connect(increase, &QPushButton::clicked, this, [this] { command9Click(); });
    connect(decrease, &QPushButton::clicked, this, [this] { command10Click(); });
    auto* steps = new QHBoxLayout();
    steps->setSpacing(6);
    steps->addWidget(increase);
    steps->addWidget(decrease);
    column->addLayout(steps);

    column->addWidget(
        panelText("USE ONLY POSITIVE VALUES FOR THE DEPTH / ELEVATION INCREMENT", frame_, "lblPositiveIncrement"));

    QPushButton* ok = panelButton("OK", frame_, "cmdOK");
    QPushButton* cancel = panelButton("CANCEL", frame_, "Command11");
    connect(ok, &QPushButton::clicked, this, [this] { cmdOkClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { command11Click(); });
    column->addLayout(centredButtons({ok, cancel}));
    column->addStretch(1);
}

void DepthIncrementPanel::mnuDepthIncrementClick() {
    if (!frame_ || !form_.soundingLoaded()) return;
    pending_ = IncrementStepper(form_.sounding());
    const QString shown = fromCp1252(incrementText(form_.sounding().depthIncrement, form_.decimalSeparator()));
    current_->setText(shown);
    newIncrement_->setText(shown);
    form_.showPanel(frame_);
    newIncrement_->setFocus();
}

void DepthIncrementPanel::command9Click() {
    pending_.increase();
    newIncrement_->setText(fromCp1252(pending_.text(form_.decimalSeparator())));
}

void DepthIncrementPanel::command10Click() {
    // The stepper looks at the accepted increment, not at the pending one.
    if (pending_.decrease(form_.sounding()))
        newIncrement_->setText(fromCp1252(pending_.text(form_.decimalSeparator())));
}

void DepthIncrementPanel::cmdOkClick() {
    // What the box holds wins over the stepped value.
    const bool ok = form_.runPanelStep(
        frame_,
        [this] { return changeIncrement(form_.sounding(), toCp1252(newIncrement_->text()), form_.decimalSeparator()); },
        [this](const Sounding& before) { return steps::increment(before, form_.sounding(), form_.decimalSeparator()); });
    if (!ok) newIncrement_->setFocus();
}

void DepthIncrementPanel::command11Click() { frame_->hide(); }

}  // namespace qm::ui
