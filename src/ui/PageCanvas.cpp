#include "ui/PageCanvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/PageCellEdit.h"

namespace qm::ui {

namespace {

const QColor kLineColor(150, 150, 150);

}  // namespace

PageCanvas::PageCanvas(QWidget* grid) : QWidget(grid) {
    setObjectName("readingsCanvas");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Everything under it is drawn here, so Qt paints nothing beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PageCanvas::setCells(std::vector<PageCellEdit*> cells) {
    cells_ = std::move(cells);
    update();
}

QRect PageCanvas::cellRect(const PageCellEdit* cell) const {
    return QRect(cell->mapTo(parentWidget(), QPoint(0, 0)) - pos(), cell->size());
}

void PageCanvas::setHole(PageCellEdit* cell) {
    if (hole_ == cell) return;
    if (hole_) updateCell(hole_);
    hole_ = cell;
    applyMask();
}

void PageCanvas::clearHole(PageCellEdit* cell) {
    if (hole_ == cell) setHole(nullptr);
}

void PageCanvas::updateCell(const PageCellEdit* cell) { update(cellRect(cell)); }

void PageCanvas::applyMask() {
    if (hole_)
        setMask(QRegion(rect()).subtracted(QRegion(cellRect(hole_))));
    else
        clearMask();
}

void PageCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyMask();
}

void PageCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = event->rect();
    // The one-pixel lines between the cells: left and top edges, then the
    // right edge of each column (from row 1) and the bottom edge of each
    // row (from column 0).
    p.fillRect(QRect(0, 0, width(), 1), kLineColor);
    p.fillRect(QRect(0, 0, 1, height()), kLineColor);
    for (const PageCellEdit* cell : cells_) {
        // The columns of channels the sounding lacks are hidden.
        if (cell->isHidden()) continue;
        const QRect r = cellRect(cell);
        if (cell->row() == 1) p.fillRect(QRect(r.right() + 1, 0, 1, height()), kLineColor);
        if (cell->column() == 0) p.fillRect(QRect(0, r.bottom() + 1, width(), 1), kLineColor);
        if (cell == hole_ || !r.intersects(area)) continue;
        cell->drawFace(p, r);
    }
}

}  // namespace qm::ui
