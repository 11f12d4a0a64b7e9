#pragma once
// One cell of the readings page: a text box that knows its column and row,
// hands its keys and clicks to the page handlers, and repaints only what
// changed since it was last shown.
//
// A scroll of the page changes all 288 texts, and a text box's own setText
// lays its text out anew each time, which alone would take most of the
// time a key may take. So the cell keeps the text it shows itself
// (shownText, also the property "shownText"); the PageCanvas over the cells
// draws it (drawFace) while the cell has no focus. The text box's own copy
// (QLineEdit::text) is the editing buffer and is brought up to date when
// the cell gets the focus, a key or a click. Read a cell's text with
// shownText(), not QLineEdit::text().

#include <QLineEdit>
#include <functional>
#include <string>

#include "model/ReadingsPage.h"

namespace qm::ui {

class PageCanvas;

class PageCellEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString shownText READ shownText)
   public:
    // Gets the key code (13, 38, 40, 45, 46, or another) and returns true
    // when the page took the key, so the text box does not edit with it.
    using KeyHandler = std::function<bool(PageCellEdit& cell, int keyCode)>;
    using ClickHandler = std::function<void(PageCellEdit& cell)>;

    PageCellEdit(int column, int row, QWidget* parent);

    int column() const { return column_; }
    int row() const { return row_; }

    void setKeyHandler(KeyHandler h) { onKey_ = std::move(h); }
    void setClickHandler(ClickHandler h) { onClick_ = std::move(h); }

    // Shows the model's cell: text, text colour and background. Returns
    // true when the cell looks different now (the canvas then repaints).
    bool render(const PageCell& cell);
    // The canvas that paints this cell while it has no focus.
    void setCanvas(PageCanvas* canvas) { canvas_ = canvas; }
    // The cell's ground and text, into `r` of the painter's device.
    void drawFace(QPainter& p, const QRect& r) const;
    // The text the cell shows, typed text included.
    const QString& shownText() const { return shown_; }
    // The same in the code page's bytes.
    const std::string& textBytes() const { return bytes_; }
    // Brings QLineEdit::text up to the shown text.
    void syncLineText();

    // The key codes of the page's handlers for a Qt key; Home and End
    // count only with Ctrl.
    static int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

   protected:
    // The undo and redo keys belong to the History menu, not to the text
    // box: in the page they take back whole steps (a value still being
    // typed is dropped with the page's refill).
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

   private:
    void applyColors(Rgb background, Rgb text);

    int column_;
    int row_;
    KeyHandler onKey_;
    ClickHandler onClick_;
    std::string bytes_;
    QString shown_;
    bool lineStale_ = false;
    PageCanvas* canvas_ = nullptr;
    Rgb background_ = kWhite;
    Rgb textColor_ = kBlack;
};

}  // namespace qm::ui
