#include "ui/HistoryListDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <QVBoxLayout>

#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/TextCodec.h"

namespace qm::ui {

HistoryListDialog::HistoryListDialog(MainForm& form) : QDialog(&form), form_(form) {
    setObjectName("frmHistoryList");
    setPlainWindowTitle(this, QStringLiteral("History"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(8);
    lblHistoryHint_ = plainLabel(
        QStringLiteral("Click an entry to go back or forward to the sounding as it was after it."), this,
        "lblHistoryHint");
    lblHistoryHint_->setWordWrap(true);
    column->addWidget(lblHistoryHint_);
    lstHistory_ = new QListWidget(this);
    lstHistory_->setObjectName("lstHistory");
    lstHistory_->setAlternatingRowColors(true);
    lstHistory_->setWordWrap(true);
    lstHistory_->setTextElideMode(Qt::ElideNone);
    // Room between the entries: a long one wraps onto a second line, and
    // without it the lines of two entries run together.
    lstHistory_->setSpacing(3);
    column->addWidget(lstHistory_, 1);
    connect(lstHistory_, &QListWidget::itemClicked, this, &HistoryListDialog::entryClicked);
    // Keys move the selection; Enter takes the sounding there.
    connect(lstHistory_, &QListWidget::itemActivated, this, &HistoryListDialog::entryClicked);

    auto* save = new QPushButton(QStringLiteral("Save History..."), this);
    save->setObjectName("cmdSaveHistory");
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, &form_, &MainForm::saveHistoryClick);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("cmdCloseHistory");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    column->addLayout(buttons);
    resize(560, 420);
}

QRect besidePage(const QRect& page, const QRect& window, const QRect& screen, const QSize& wanted) {
    constexpr int kGap = 8;
    // Narrower than this the entries wrap into a column of single words.
    constexpr int kNarrowest = 240;
    const int height = std::min(wanted.height(), screen.bottom() - page.top() + 1);
    const int top = std::max(screen.top(), page.top());
    // QRect's right() is its last pixel column.
    if (window.right() + kGap + wanted.width() <= screen.right())
        return {window.right() + 1 + kGap, top, wanted.width(), height};
    if (window.left() - kGap - wanted.width() >= screen.left())
        return {window.left() - kGap - wanted.width(), top, wanted.width(), height};
    const int left = std::max(screen.left(), window.left());
    const int room = page.left() - kGap - left;
    if (room >= kNarrowest) return {left, top, std::min(room, wanted.width()), height};
    return {};
}

void HistoryListDialog::placeBesideThePage() {
    const QWidget* page = form_.findChild<QWidget*>("readingsPage");
    const QScreen* screen = form_.screen();
    if (!page || !screen) return;
    const QRect pageRect(page->mapToGlobal(QPoint(0, 0)), page->size());
    const QRect frame = geometry();
    // The frame the system draws around the list counts as part of it.
    const QSize decoration = frameGeometry().size() - frame.size();
    const QRect at = besidePage(pageRect, form_.frameGeometry(), screen->availableGeometry(), frameGeometry().size());
    if (at.isEmpty()) return;
    resize(at.size() - decoration);
    move(at.topLeft());
}

void HistoryListDialog::refill() {
    const History& history = form_.history();
    lstHistory_->clear();
    // The first entry is the state before the oldest step kept.
    const std::size_t dropped = history.dropped();
    lstHistory_->addItem(dropped == 0 ? QStringLiteral("As opened: ") + fromFileName(form_.sounding().openedFileTitle)
                                      : QStringLiteral("Before step %1 (older steps are no longer kept)").arg(dropped + 1));
    std::size_t number = dropped;
    for (const Step& step : history.steps()) {
        ++number;
        auto* item = new QListWidgetItem(QStringLiteral("%1. ").arg(number) + fromCp1252(step.description));
        if (number > dropped + history.done()) {
            // Undone: still there to redo, until a new command drops it.
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            QFont f = item->font();
            f.setItalic(true);
            item->setFont(f);
        }
        lstHistory_->addItem(item);
    }
    // The entry the sounding stands at now.
    QListWidgetItem* current = lstHistory_->item(static_cast<int>(history.done()));
    QFont bold = current->font();
    bold.setBold(true);
    current->setFont(bold);
    lstHistory_->setCurrentItem(current);
    lstHistory_->scrollToItem(current);
}

void HistoryListDialog::entryClicked(QListWidgetItem* item) {
    const int row = lstHistory_->row(item);
    if (row < 0) return;
    form_.goToStep(static_cast<std::size_t>(row));
}

}  // namespace qm::ui
