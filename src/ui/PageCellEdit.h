#pragma once
// One cell of the readings page: a text box that knows its column and row,
// hands its keys and clicks to the page handlers, and repaints only what
// changed since it was last shown.

#include <QLineEdit>
#include <functional>
#include <string>

#include "model/ReadingsPage.h"

namespace qm::ui {

class PageCellEdit : public QLineEdit {
    Q_OBJECT
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

    // Shows the model's cell: text, text colour and background.
    void render(const PageCell& cell);
    // The text as typed, in the code page's bytes.
    const std::string& textBytes() const { return bytes_; }

    // The key codes of the page's handlers for a Qt key.
    static int keyCodeOf(int qtKey);

   protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

   private:
    void applyColors(Rgb background, Rgb text);

    int column_;
    int row_;
    KeyHandler onKey_;
    ClickHandler onClick_;
    std::string bytes_;
    Rgb background_ = kWhite;
    Rgb textColor_ = kBlack;
};

}  // namespace qm::ui
