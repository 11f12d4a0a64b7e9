// The readings page: 24 rows of depth, channel and speed cells with their
// column headers and unit boxes. The cells show the page model; their keys
// and clicks go to its handlers.

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "model/Units.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/PageCanvas.h"
#include "ui/PageCellEdit.h"
#include "ui/TextCodec.h"
#include "ui/ViewCommands.h"

namespace qm::ui {

namespace {

constexpr int kDepthWidth = 70;
constexpr int kChannelWidth = 88;
constexpr int kSpeedWidth = 62;
constexpr int kCellHeight = 22;
constexpr int kHeaderLabelHeight = 30;

int columnWidth(int column) {
    if (column == kDepthColumn) return kDepthWidth;
    if (column == kSpeedColumn) return kSpeedWidth;
    return kChannelWidth;
}

QString cellName(int column, int row) {
    if (column == kDepthColumn) return QStringLiteral("txtDepth_%1").arg(row);
    if (column == kSpeedColumn) return QStringLiteral("txtSpeed_%1").arg(row);
    return QStringLiteral("txtChannel%1_%2").arg(column).arg(row);
}

QLabel* headerLabel(const QString& text, const QString& objectName, int width, QWidget* parent) {
    QLabel* l = plainLabel(text, parent);
    l->setObjectName(objectName);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    l->setWordWrap(true);
    l->setFixedSize(width, kHeaderLabelHeight);
    // Channel names such as CONDUCTIVITY must fit a column: a small,
    // semi-bold face, wrapped at blanks onto two lines.
    QFont f = l->font();
    f.setWeight(QFont::DemiBold);
    f.setPointSizeF(f.pointSizeF() - 1.5);
    l->setFont(f);
    return l;
}

QComboBox* unitBox(const QString& objectName, int width, QWidget* parent) {
    auto* b = new QComboBox(parent);
    b->setObjectName(objectName);
    b->setFixedWidth(width);
    b->setFocusPolicy(Qt::ClickFocus);
    return b;
}

}  // namespace

QWidget* MainForm::buildPage() {
    auto* page = new QWidget(this);
    page->setObjectName("readingsPage");
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* headers = new QGridLayout();
    headers->setObjectName("readingsHeaders");
    headers->setHorizontalSpacing(1);
    headers->setVerticalSpacing(2);
    headers->setContentsMargins(1, 0, 1, 0);
    headers->setRowMinimumHeight(0, kHeaderLabelHeight);
    headers->setRowMinimumHeight(1, 24);

    lblDepthLabel_ = headerLabel("DEPTH", "lblDepthLabel", kDepthWidth, page);
    headers->addWidget(lblDepthLabel_, 0, kDepthColumn);
    cmbDepthUnits_ = unitBox("cmbDepthUnits_1", kDepthWidth, page);
    connect(cmbDepthUnits_, &QComboBox::activated, this, [this](int) { cmbDepthUnitsClick(); });
    headers->addWidget(cmbDepthUnits_, 1, kDepthColumn);
    for (int c = 1; c <= kMaxChannels; ++c) {
        lblChannelLabel_[c] = headerLabel("", QStringLiteral("lblChannelLabel_%1").arg(c), kChannelWidth, page);
        headers->addWidget(lblChannelLabel_[c], 0, c);
        cmbChannelUnits_[c] = unitBox(QStringLiteral("cmbChannelUnits_%1").arg(c), kChannelWidth, page);
        connect(cmbChannelUnits_[c], &QComboBox::activated, this, [this, c](int) { cmbChannelUnitsClick(c); });
        headers->addWidget(cmbChannelUnits_[c], 1, c);
    }
    lblSpeedLabel_ = headerLabel("SPEED", "lblSpeedLabel", kSpeedWidth, page);
    headers->addWidget(lblSpeedLabel_, 0, kSpeedColumn);
    lblSpeedUnitsLabel_ = new QLabel("(cm/sec)", page);
    lblSpeedUnitsLabel_->setObjectName("lblSpeedUnitsLabel");
    lblSpeedUnitsLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblSpeedUnitsLabel_->setFixedWidth(kSpeedWidth);
    headers->addWidget(lblSpeedUnitsLabel_, 1, kSpeedColumn);
    for (int col = 0; col < kPageColumns; ++col) headers->setColumnMinimumWidth(col, columnWidth(col));
    headers->setColumnStretch(kPageColumns, 1);
    column->addLayout(headers);

    // The cells sit one pixel apart; the canvas over them draws the lines
    // between them and every cell without the focus.
    auto* grid = new QWidget(page);
    grid->setObjectName("readingsGrid");
    auto* rows = new QVBoxLayout(grid);
    rows->setContentsMargins(1, 1, 1, 1);
    rows->setSpacing(1);
    for (int r = 1; r <= kPageRows; ++r) {
        // One strip per row: Qt works out the painting of each cell against
        // its siblings, so twelve siblings cost far less than 288.
        auto* strip = new QWidget(grid);
        strip->setObjectName(QStringLiteral("readingsRow_%1").arg(r));
        auto* line = new QHBoxLayout(strip);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(1);
        for (int col = 0; col < kPageColumns; ++col) {
            auto* cell = new PageCellEdit(col, r, strip);
            cell->setObjectName(cellName(col, r));
            cell->setFixedSize(columnWidth(col), kCellHeight);
            const bool channel = col != kDepthColumn && col != kSpeedColumn;
            cell->setReadOnly(!channel);
            // Channel cells stay disabled until a load enables its channels.
            cell->setEnabled(!channel);
            cell->setKeyHandler([this](PageCellEdit& e, int key) { return cellKey(e, key); });
            cell->setClickHandler([this](PageCellEdit& e) { cellClick(e); });
            // Typed text reaches the page model as it is typed, so a repaint
            // for another reason keeps it.
            if (channel)
                connect(cell, &QLineEdit::textEdited, this,
                        [this, cell] { page_->setCellText(cell->column(), cell->row(), cell->textBytes()); });
            line->addWidget(cell);
            cells_[static_cast<std::size_t>(r) * kPageColumns + static_cast<std::size_t>(col)] = cell;
        }
        rows->addWidget(strip);
    }
    grid->setFixedSize(grid->sizeHint());
    canvas_ = new PageCanvas(grid);
    std::vector<PageCellEdit*> all;
    for (int r = 1; r <= kPageRows; ++r)
        for (int col = 0; col < kPageColumns; ++col) {
            cellAt(col, r)->setCanvas(canvas_);
            all.push_back(cellAt(col, r));
        }
    canvas_->setCells(std::move(all));
    canvas_->setGeometry(grid->rect());
    canvas_->raise();
    auto* gridRow = new QHBoxLayout();
    gridRow->setContentsMargins(0, 0, 0, 0);
    gridRow->setSpacing(2);
    gridRow->addWidget(grid);
    // Where the page stands in the sounding; dragged, it moves the page.
    auto* bar = new QScrollBar(Qt::Vertical, page);
    bar->setObjectName("pageScrollBar");
    bar->setFixedHeight(grid->height());
    bar->setEnabled(false);
    gridRow->addWidget(bar, 0, Qt::AlignTop);
    gridRow->addStretch(1);
    column->addLayout(gridRow);

    auto* labels = new QHBoxLayout();
    labels->setContentsMargins(2, 2, 0, 0);
    labels->setSpacing(30);
    lblDataIndex_ = new QLabel(page);
    lblDataIndex_->setObjectName("lblDataIndex");
    lblNumberOfReadings_ = new QLabel(page);
    lblNumberOfReadings_->setObjectName("lblNumberOfReadings");
    labels->addWidget(lblDataIndex_);
    labels->addWidget(lblNumberOfReadings_);
    labels->addStretch(1);
    column->addLayout(labels);
    column->addStretch(1);
    return page;
}

PageCellEdit* MainForm::cellAt(int column, int row) const {
    return cells_[static_cast<std::size_t>(row) * kPageColumns + static_cast<std::size_t>(column)];
}

void MainForm::renderPage() {
    bool changed = false;
    for (int r = 1; r <= kPageRows; ++r)
        for (int col = 0; col < kPageColumns; ++col) changed = cellAt(col, r)->render(page_->cell(col, r)) || changed;
    // One repaint of the page, however many cells changed.
    if (changed) canvas_->update();
    renderLabels();
    if (view_) view_->pageShown();
}

void MainForm::renderLabels() {
    lblDataIndex_->setText(QString::fromStdString(page_->dataIndexLabel()));
    lblNumberOfReadings_->setText(QString::fromStdString(page_->numberOfReadingsLabel()));
}

void MainForm::refreshDisplay() {
    page_->refreshDisplay();
    // Every command that changed the sounding ends here: the profile follows.
    if (view_) view_->soundingChanged();
    renderPage();
}

void MainForm::updateNumberOfReadingsLabel() {
    page_->updateNumberOfReadingsLabel();
    renderLabels();
    // A combine changes the reading count without refreshing the page.
    if (view_) view_->soundingChanged();
}

void MainForm::handleReaction(const PageReaction& reaction) {
    // The cells show the state the handler left before any box appears.
    renderPage();
    for (const std::string& m : reaction.messages) messageBoxes_->message(m);
    // A refused entry put a text back into a cell.
    if (!reaction.messages.empty()) renderPage();
    switch (reaction.focus) {
        case PageReaction::Focus::DepthCell: cellAt(kDepthColumn, reaction.focusRow)->setFocus(); break;
        case PageReaction::Focus::ChannelCell: cellAt(reaction.focusColumn, reaction.focusRow)->setFocus(); break;
        case PageReaction::Focus::Unchanged: break;
    }
}

void MainForm::recordCommit(const WatchedCommit& w) {
    if (!w.watched) return;
    const float after = sounding_.value(w.column, w.reading);
    Step step = valueStep(w.column, w.reading, w.before, after, w.cursor, {sounding_.dataIndex, sounding_.pageRow});
    if (step.data.empty()) return;
    steps::Words words = steps::valueEdit(sounding_, tables_, w.column, w.reading, w.before, after, decimalSeparator());
    step.name = std::move(words.name);
    step.description = std::move(words.description);
    step.viewBefore = w.view;
    step.viewAfter = page_->view();
    history_.record(std::move(step));
    updateHistoryCommands();
}

MainForm::WatchedCommit MainForm::watchCommit(int column, int row) const {
    // The reading a commit of this cell may store into, and its value before.
    const int32_t k = page_->readingIndexOfRow(row);
    if (!soundingLoaded() || column < 1 || column > sounding_.channelCount || column > kMaxChannels || k < 1 ||
        k > kMaxReadings)
        return {};
    return {true, column, k, sounding_.value(column, k), {sounding_.dataIndex, sounding_.pageRow}, page_->view()};
}

PageReaction MainForm::movePage(const std::function<PageReaction()>& move) {
    const WatchedCommit w = watchCommit(page_->editColumn, page_->editRow);
    const PageReaction reaction = move();
    recordCommit(w);
    return reaction;
}

bool MainForm::cellKey(PageCellEdit& cell, int keyCode) {
    PageReaction reaction;
    if (keyCode == keys::kPageDown || keyCode == keys::kPageUp || keyCode == keys::kCtrlHome ||
        keyCode == keys::kCtrlEnd) {
        // A jump commits a typed value first: that is a step of its own.
        const WatchedCommit w = watchCommit(cell.column(), cell.row());
        reaction = page_->jumpKey(cell.column(), cell.row(), keyCode);
        recordCommit(w);
    } else if (cell.column() == kDepthColumn) {
        const bool edits = soundingLoaded() && (keyCode == keys::kInsert || keyCode == keys::kDelete);
        if (edits) beginStep();
        reaction = page_->depthKeyDown(cell.row(), keyCode);
        if (edits)
            endStep([this, keyCode](const Sounding& before) {
                return keyCode == keys::kInsert ? steps::insertReading(sounding_, before.dataIndex - 1, decimalSeparator())
                                                : steps::deleteReading(before, before.dataIndex, decimalSeparator());
            });
    } else if (cell.column() == kSpeedColumn) {
        reaction = page_->speedKeyDown(cell.row(), keyCode);
    } else {
        const bool commits = keyCode == keys::kEnter || keyCode == keys::kUp || keyCode == keys::kDown;
        const WatchedCommit w = commits ? watchCommit(cell.column(), cell.row()) : WatchedCommit{};
        reaction = page_->channelKeyDown(cell.column(), cell.row(), keyCode);
        recordCommit(w);
    }
    handleReaction(reaction);
    return reaction.keyTaken;
}

void MainForm::cellClick(PageCellEdit& cell) {
    if (cell.column() == kSpeedColumn) return;
    if (cell.column() == kDepthColumn) {
        page_->selectRow(cell.row());
        renderPage();
        return;
    }
    // A click on another cell commits the selected one first.
    const WatchedCommit w = page_->editColumn > 0 ? watchCommit(page_->editColumn, page_->editRow) : WatchedCommit{};
    const PageReaction reaction = page_->channelClick(cell.column(), cell.row());
    recordCommit(w);
    handleReaction(reaction);
}

void MainForm::showChannelColumn(int c) {
    if (c < 1 || c > kMaxChannels) return;
    setPlainText(lblChannelLabel_[c], fromCp1252(sounding_.channelName[c]));
    lblChannelLabel_[c]->show();
    QComboBox* units = cmbChannelUnits_[c];
    {
        const QSignalBlocker quiet(units);
        units->clear();
        const int t = sounding_.channelType[c];
        if (tables_.hasType(t))
            for (int u = 1; u <= tables_.unitCount[t]; ++u) units->addItem(fromCp1252(tables_.unitName[t][u]));
        units->setCurrentIndex(sounding_.channelUnitIndex[c] - 1);
    }
    units->show();
    for (int r = 1; r <= kPageRows; ++r) cellAt(c, r)->setEnabled(true);
    showPageColumns();
}

void MainForm::showPageColumns() {
    QWidget* grid = findChild<QWidget*>("readingsGrid");
    auto* headers = findChild<QGridLayout*>("readingsHeaders");
    for (int c = 1; c <= kMaxChannels; ++c) {
        const bool shown = !soundingLoaded() || c <= sounding_.channelCount;
        for (int r = 1; r <= kPageRows; ++r) cellAt(c, r)->setVisible(shown);
        lblChannelLabel_[c]->setVisible(shown);
        if (!shown) cmbChannelUnits_[c]->hide();
        if (headers) headers->setColumnMinimumWidth(c, shown ? kChannelWidth : 0);
    }
    for (int r = 1; r <= kPageRows; ++r) findChild<QWidget*>(QStringLiteral("readingsRow_%1").arg(r))->adjustSize();
    grid->setFixedSize(grid->sizeHint());
    canvas_->setGeometry(grid->rect());
    canvas_->update();
}

void MainForm::hideChannelColumn(int c) {
    if (c < 1 || c > kMaxChannels) return;
    // As before any load: no caption, no unit box, cells closed.
    lblChannelLabel_[c]->setText("");
    {
        const QSignalBlocker quiet(cmbChannelUnits_[c]);
        cmbChannelUnits_[c]->clear();
    }
    cmbChannelUnits_[c]->hide();
    for (int r = 1; r <= kPageRows; ++r) cellAt(c, r)->setEnabled(false);
}

void MainForm::selectChannelUnit(int c, int position) {
    if (c < 1 || c > kMaxChannels) return;
    {
        const QSignalBlocker quiet(cmbChannelUnits_[c]);
        cmbChannelUnits_[c]->setCurrentIndex(position);
    }
    cmbChannelUnitsClick(c);
}

void MainForm::cmbChannelUnitsClick(int index) {
    if (!soundingLoaded() || index < 1 || index > sounding_.channelCount) return;
    QComboBox* units = cmbChannelUnits_[index];
    beginStep();
    const std::string refusal = changeChannelUnit(sounding_, tables_, index, units->currentIndex() + 1);
    if (refusal.empty()) refreshDisplay();
    endStep([this, index](const Sounding& before) { return steps::channelUnit(before, sounding_, tables_, index); });
    if (!refusal.empty()) {
        // The box goes back to the unit the values are still in.
        const QSignalBlocker quiet(units);
        units->setCurrentIndex(sounding_.channelUnitIndex[index] - 1);
        messageBoxes_->message(refusal);
    }
}

void MainForm::cmbDepthUnitsClick() {
    if (!soundingLoaded()) return;
    page_->setDepthInFeet(cmbDepthUnits_->currentIndex() == 1);
    renderPage();
}

void MainForm::mnu2DigitsClick() {
    beginStep();
    action("mnu2Digits")->setChecked(true);
    action("mnu3Digits")->setChecked(false);
    sounding_.depthDecimals = 2;
    refreshDisplay();
    endStep([this](const Sounding& before) { return steps::depthDigits(before, sounding_); });
}

void MainForm::mnu3DigitsClick() {
    beginStep();
    action("mnu2Digits")->setChecked(false);
    action("mnu3Digits")->setChecked(true);
    sounding_.depthDecimals = 3;
    refreshDisplay();
    endStep([this](const Sounding& before) { return steps::depthDigits(before, sounding_); });
}

void MainForm::showDepthFormat(int depthFormat) {
    action("mnuDepth")->setChecked(depthFormat == 0);
    action("mnuElevation")->setChecked(depthFormat != 0);
    lblDepthLabel_->setText(depthFormat == 0 ? "DEPTH" : "ELEVATION");
}

}  // namespace qm::ui
