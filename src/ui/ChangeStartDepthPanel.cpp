#include "ui/ChangeStartDepthPanel.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ops/DepthAxis.h"
#include "ui/CorrectionPanelWidgets.h"
#include "ui/MainForm.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

constexpr int kValueWidth = 80;

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ChangeStartDepthPanel::ChangeStartDepthPanel(MainForm& form) : QObject(&form), form_(form) {
    frame_ = form_.panelFrame("frmChangeStartDepth");
    if (frame_) build();
    if (QAction* item = form_.action("menuStartDepth"))
        connect(item, &QAction::triggered, this, [this] { menuStartDepthClick(); });
}

void ChangeStartDepthPanel::build() {
    auto* column = new QVBoxLayout(frame_);
    column->setContentsMargins(8, 10, 8, 8);
    column->setSpacing(10);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    label22_ = panelText("Current Start Depth", frame_, "Label22");
    label23_ = panelText("New Start Depth", frame_, "Label23");
    current_ = rowLabel(frame_, "lblCurrentStartDepth", kValueWidth);
    current_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    current_->setFrameShape(QFrame::StyledPanel);
    newStart_ = new QLineEdit(frame_);
    newStart_->setObjectName("txtNewStartDepth");
    newStart_->setFixedWidth(kValueWidth);
    newStart_->setAlignment(Qt::AlignRight);
    grid->addWidget(label22_, 0, 0);
    grid->addWidget(current_, 0, 1);
    grid->addWidget(panelText("m", frame_, "lblCurrentStartDepthUnits"), 0, 2);
    grid->addWidget(label23_, 1, 0);
    grid->addWidget(newStart_, 1, 1);
    grid->addWidget(panelText("m", frame_, "lblNewStartDepthUnits"), 1, 2);
    grid->setColumnStretch(0, 1);
    column->addLayout(grid);

    QPushButton* ok = panelButton("OK", frame_, "Command3");
    QPushButton* cancel = panelButton("Cancel", frame_, "Command4");
    connect(ok, &QPushButton::clicked, this, [this] { command3Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { command4Click(); });
    column->addLayout(centredButtons({ok, cancel}));
    column->addStretch(1);
}

void ChangeStartDepthPanel::menuStartDepthClick() {
    if (!frame_ || !form_.soundingLoaded()) return;
    const Sounding& s = form_.sounding();
    const StartDepthCaptions captions = startDepthCaptions(s.depthFormat);
    frame_->setTitle(fromView(captions.frame));
    label22_->setText(fromView(captions.currentLabel));
    label23_->setText(fromView(captions.newLabel));
    const QString shown = fromCp1252(currentStartDepthText(s, form_.decimalSeparator()));
    current_->setText(shown);
    newStart_->setText(shown);
    form_.showPanel(frame_);
    newStart_->setFocus();
    newStart_->selectAll();
}

void ChangeStartDepthPanel::command3Click() {
    // The offset is taken from the two-decimal value the panel shows.
    const bool ok = form_.runPanelStep(
        frame_,
        [this] {
            return changeStartDepth(form_.sounding(), toCp1252(newStart_->text()), toCp1252(current_->text()),
                                    form_.decimalSeparator());
        },
        [this](const Sounding& before) { return steps::startDepth(before, form_.sounding(), form_.decimalSeparator()); });
    // A refusal: the panel stays open with the text, ready to be corrected.
    if (!ok) newStart_->setFocus();
}

void ChangeStartDepthPanel::command4Click() { frame_->hide(); }

}  // namespace qm::ui
