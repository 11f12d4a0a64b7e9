#pragma once
// Paints the readings page's cells in one go. It lies over the 288 cell
// text boxes, lets every mouse event through to them, and draws each cell's
// ground and text from the cell itself; only the cell that has the focus
// shows through a hole, painted by its own text box with cursor and
// selection. A scroll of the page then costs one paint instead of 288.

#include <QWidget>
#include <vector>

namespace qm::ui {

class PageCellEdit;

class PageCanvas : public QWidget {
    Q_OBJECT
   public:
    explicit PageCanvas(QWidget* grid);

    void setCells(std::vector<PageCellEdit*> cells);
    // The cell that paints itself (the focus cell), or none.
    void setHole(PageCellEdit* cell);
    void clearHole(PageCellEdit* cell);
    PageCellEdit* hole() const { return hole_; }
    void updateCell(const PageCellEdit* cell);

   protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

   private:
    QRect cellRect(const PageCellEdit* cell) const;
    void applyMask();

    std::vector<PageCellEdit*> cells_;
    PageCellEdit* hole_ = nullptr;
};

}  // namespace qm::ui
