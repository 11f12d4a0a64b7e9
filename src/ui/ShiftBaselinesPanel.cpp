#include "ui/ShiftBaselinesPanel.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "ops/ChannelShift.h"
#include "ui/CorrectionPanelWidgets.h"
#include "ui/MainForm.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

// The name column takes what the others leave: about 85 pixels of the side
// area, so names such as CONDUCTIVITY stay on one line.
constexpr int kValueWidth = 54;
constexpr int kOffsetWidth = 44;
constexpr int kUnitWidth = 34;
constexpr int kRowHeight = 22;

QString indexed(const char* name, int c) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(c); }

}  // namespace

ShiftBaselinesPanel::ShiftBaselinesPanel(MainForm& form) : QObject(&form), form_(form) {
    frame_ = form_.panelFrame("frmShiftBaselines");
    if (frame_) build();
    if (QAction* item = form_.action("mnuShiftBaseline"))
        connect(item, &QAction::triggered, this, [this] { mnuShiftBaselineClick(); });
}

void ShiftBaselinesPanel::build() {
    auto* column = new QVBoxLayout(frame_);
    column->setContentsMargins(6, 8, 6, 6);
    column->setSpacing(6);

    column->addWidget(
        panelText("TO SHIFT CHANNELS, ENTER OFFSET INTO  'SHIFT CHANNEL BY:' BOX AND CLICK 'SHIFT READINGS'", frame_,
                  "lblShiftInstruction"));
    QLabel* orLabel = panelText("<OR>", frame_, "lblShiftOr");
    orLabel->setAlignment(Qt::AlignHCenter);
    column->addWidget(orLabel);
    column->addWidget(panelText(
        "CLICK ON 'REMOVE NEGATIVES' TO REMOVE JUST THE NEGATIVES AND ZEROS WITHOUT SHIFTING THE OTHER READINGS",
        frame_, "lblRemoveNegativesInstruction"));

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(4);
    const char* headings[] = {"LOWEST READING", "FINAL BASELINE", "SHIFT CHANNEL BY"};
    const char* headingNames[] = {"lblLowestReadingHeading", "lblFinalBaselineHeading", "lblShiftChannelByHeading"};
    for (int i = 0; i < 3; ++i) {
        QLabel* h = columnHeading(headings[i], frame_, headingNames[i]);
        grid->addWidget(h, 0, i + 1, 1, i == 2 ? 2 : 1);
    }
    for (int c = 1; c <= kMaxChannels; ++c) {
        Row& row = rows_[c];
        row.name = rowLabel(frame_, indexed("lblShiftChanLabel", c));
        // A small face, as in the page's column headers; a long name wraps.
        row.name->setWordWrap(true);
        QFont small = row.name->font();
        small.setPointSizeF(small.pointSizeF() - 1.0);
        row.name->setFont(small);
        row.lowest = rowLabel(frame_, indexed("lblLowestReadingChan", c), kValueWidth);
        row.lowest->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.finalBaseline = rowLabel(frame_, indexed("lblFinalBaselineChan", c), kValueWidth);
        row.finalBaseline->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.offset = new QLineEdit(frame_);
        row.offset->setObjectName(indexed("txtShiftChannelByChan", c));
        row.offset->setFixedSize(kOffsetWidth, kRowHeight);
        row.offset->setAlignment(Qt::AlignRight);
        row.unit = rowLabel(frame_, indexed("lblShiftUnitsChan", c), kUnitWidth);
        grid->addWidget(row.name, c, 0);
        grid->addWidget(row.lowest, c, 1);
        grid->addWidget(row.finalBaseline, c, 2);
        grid->addWidget(row.offset, c, 3);
        grid->addWidget(row.unit, c, 4);
        // Rows appear for the channels of the sounding when the panel opens.
        showRow(row, false);
    }
    grid->setColumnStretch(0, 1);
    column->addLayout(grid);

    QLabel* warning =
        panelText("WARNING: THIS FUNCTION WILL NOT PERFORM ANY ERROR CHECKING", frame_, "lblShiftWarning");
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    column->addWidget(warning);

    QPushButton* shift = panelButton("SHIFT READINGS", frame_, "Command5");
    QPushButton* negatives = panelButton("REMOVE NEGATIVES", frame_, "Command7");
    QPushButton* cancel = panelButton("CANCEL", frame_, "Command6");
    connect(shift, &QPushButton::clicked, this, [this] { command5Click(); });
    connect(negatives, &QPushButton::clicked, this, [this] { command7Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { command6Click(); });
    auto* actions = new QHBoxLayout();
    actions->setSpacing(4);
    actions->addWidget(shift);
    actions->addWidget(negatives);
    column->addLayout(actions);
    column->addLayout(centredButtons({cancel}));
    column->addStretch(1);
}

void ShiftBaselinesPanel::showRow(const Row& row, bool shown) {
    row.name->setVisible(shown);
    row.lowest->setVisible(shown);
    row.finalBaseline->setVisible(shown);
    row.offset->setVisible(shown);
    row.unit->setVisible(shown);
}

void ShiftBaselinesPanel::mnuShiftBaselineClick() {
    if (!frame_ || !form_.soundingLoaded()) return;
    const std::vector<ShiftPanelRow> shown = shiftPanelRows(form_.sounding(), form_.tables(), form_.decimalSeparator());
    // Rows past the channel count stay as they are.
    for (std::size_t i = 0; i < shown.size() && i < static_cast<std::size_t>(kMaxChannels); ++i) {
        const ShiftPanelRow& r = shown[i];
        const Row& row = rows_[i + 1];
        row.name->setText(fromCp1252(r.channelName));
        row.unit->setText(fromCp1252(r.unitName));
        row.offset->setText(fromCp1252(r.offset));
        row.lowest->setText(fromCp1252(r.lowestReading));
        row.finalBaseline->setText(fromCp1252(r.finalBaseline));
        showRow(row, true);
    }
    form_.showPanel(frame_);
    if (!shown.empty()) rows_[1].offset->setFocus();
}

void ShiftBaselinesPanel::command5Click() {
    Sounding& s = form_.sounding();
    std::vector<std::string> offsets;
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels; ++c) offsets.push_back(toCp1252(rows_[c].offset->text()));
    // A refused offset: the panel stays open with what was typed.
    form_.runPanelStep(
        frame_, [&] { return shiftReadings(s, offsets, form_.decimalSeparator()); },
        [&](const Sounding&) { return steps::shift(s, form_.tables(), offsets, form_.decimalSeparator()); });
}

void ShiftBaselinesPanel::command6Click() { frame_->hide(); }

void ShiftBaselinesPanel::command7Click() {
    form_.runPanelStep(
        frame_, [this] { return removeNegatives(form_.sounding()); },
        [this](const Sounding& before) { return steps::removeNegatives(before, form_.sounding()); });
}

}  // namespace qm::ui
