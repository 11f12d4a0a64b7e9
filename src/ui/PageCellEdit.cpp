#include "ui/PageCellEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include "ui/TextCodec.h"

namespace qm::ui {

PageCellEdit::PageCellEdit(int column, int row, QWidget* parent) : QLineEdit(parent), column_(column), row_(row) {
    // The Tab key skips the page's cells.
    setFocusPolicy(Qt::ClickFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(false);
    setTextMargins(0, 0, 2, 0);
    applyColors(kWhite, kBlack);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) { bytes_ = toCp1252(t); });
}

void PageCellEdit::render(const PageCell& cell) {
    if (cell.text != bytes_) {
        bytes_ = cell.text;
        setText(fromCp1252(bytes_));
        setCursorPosition(0);
    }
    if (!(cell.background == background_) || !(cell.textColor == textColor_))
        applyColors(cell.background, cell.textColor);
}

void PageCellEdit::applyColors(Rgb background, Rgb text) {
    background_ = background;
    textColor_ = text;
    QPalette p = palette();
    const QColor bg(background.r, background.g, background.b);
    const QColor fg(text.r, text.g, text.b);
    p.setColor(QPalette::Base, bg);
    p.setColor(QPalette::Text, fg);
    // A disabled cell keeps its colours but greys its text.
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    setPalette(p);
}

int PageCellEdit::keyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return keys::kEnter;
        case Qt::Key_Up: return keys::kUp;
        case Qt::Key_Down: return keys::kDown;
        case Qt::Key_Insert: return keys::kInsert;
        case Qt::Key_Delete: return keys::kDelete;
        default: return 0;
    }
}

void PageCellEdit::keyPressEvent(QKeyEvent* event) {
    if (onKey_ && onKey_(*this, keyCodeOf(event->key()))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PageCellEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) onClick_(*this);
}

}  // namespace qm::ui
