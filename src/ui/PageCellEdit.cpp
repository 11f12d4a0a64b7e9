#include "ui/PageCellEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QGlyphRun>
#include <QRawFont>
#include <array>
#include <memory>

#include "ui/PageCanvas.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

// Right padding of the text: the text margin set below plus the text box's
// own margin, so a cell reads the same with and without the focus.
constexpr int kRightMargin = 2;
constexpr int kRightPadding = kRightMargin + 2;

// The glyphs of the printable ASCII characters in one font, found once, so
// that the numbers of the page are drawn without laying out text.
struct AsciiGlyphs {
    QFont font;
    QRawFont raw;
    std::array<quint32, 128> index{};
    std::array<qreal, 128> advance{};
    int height = 0;
    int ascent = 0;
};

const AsciiGlyphs& asciiGlyphs(const QFont& font) {
    static std::unique_ptr<AsciiGlyphs> cache;
    if (cache && cache->font == font) return *cache;
    auto g = std::make_unique<AsciiGlyphs>();
    g->font = font;
    g->raw = QRawFont::fromFont(font);
    const QFontMetrics fm(font);
    g->height = fm.height();
    g->ascent = fm.ascent();
    if (g->raw.isValid()) {
        QString printable;
        for (char16_t c = 0x20; c < 0x7F; ++c) printable.append(QChar(c));
        const QList<quint32> indexes = g->raw.glyphIndexesForString(printable);
        const QList<QPointF> advances = g->raw.advancesForGlyphIndexes(indexes);
        for (qsizetype i = 0; i < indexes.size() && i < advances.size(); ++i) {
            g->index[static_cast<std::size_t>(0x20 + i)] = indexes[i];
            g->advance[static_cast<std::size_t>(0x20 + i)] = advances[i].x();
        }
    }
    cache = std::move(g);
    return *cache;
}

// Draws `text` right-aligned and centred in `box` through the glyph table;
// false when a character has no glyph there (the caller lays it out then).
bool drawAscii(QPainter& p, const QRect& box, const QString& text, const QFont& font) {
    const AsciiGlyphs& g = asciiGlyphs(font);
    constexpr qsizetype kMaxGlyphs = 64;
    if (!g.raw.isValid() || text.size() > kMaxGlyphs) return false;
    std::array<quint32, kMaxGlyphs> indexes;
    std::array<QPointF, kMaxGlyphs> positions;
    qreal x = 0;
    int n = 0;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u >= 0x7F || g.index[u] == 0) return false;
        indexes[static_cast<std::size_t>(n)] = g.index[u];
        positions[static_cast<std::size_t>(n)] = QPointF(x, 0);
        x += g.advance[u];
        ++n;
    }
    // One run, pointed at the arrays above for the call only: the page draws
    // hundreds of cells per scroll, so nothing is allocated per cell.
    static QGlyphRun run;
    if (run.rawFont() != g.raw) run.setRawFont(g.raw);
    run.setRawData(indexes.data(), positions.data(), n);
    const qreal baseline = box.top() + (box.height() - g.height + 1) / 2 + g.ascent;
    p.drawGlyphRun(QPointF(box.right() + 1 - x, baseline), run);
    run.setRawData(nullptr, nullptr, 0);
    return true;
}

}  // namespace

PageCellEdit::PageCellEdit(int column, int row, QWidget* parent) : QLineEdit(parent), column_(column), row_(row) {
    // The Tab key skips the page's cells.
    setFocusPolicy(Qt::ClickFocus);
    // Both ways of painting cover the whole cell.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(false);
    setTextMargins(0, 0, kRightMargin, 0);
    applyColors(kWhite, kBlack);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        shown_ = t;
        bytes_ = toCp1252(t);
        if (canvas_) canvas_->updateCell(this);
    });
}

bool PageCellEdit::render(const PageCell& cell) {
    bool changed = false;
    if (cell.text != bytes_) {
        changed = true;
        bytes_ = cell.text;
        shown_ = fromCp1252(bytes_);
        lineStale_ = true;
        // The focus cell of the window edits at once, also while the
        // window itself is not the active one.
        if (hasFocus() || window()->focusWidget() == this)
            syncLineText();
        else if (!canvas_)
            update();
    }
    if (!(cell.background == background_) || !(cell.textColor == textColor_)) {
        changed = true;
        applyColors(cell.background, cell.textColor);
    }
    return changed;
}

void PageCellEdit::syncLineText() {
    if (!lineStale_) return;
    lineStale_ = false;
    setText(shown_);
    setCursorPosition(0);
}

void PageCellEdit::applyColors(Rgb background, Rgb text) {
    background_ = background;
    textColor_ = text;
    QPalette p = palette();
    const QColor bg(background.r, background.g, background.b);
    const QColor fg(text.r, text.g, text.b);
    p.setColor(QPalette::Base, bg);
    p.setColor(QPalette::Text, fg);
    // A disabled cell (a column without a channel, or every channel cell
    // before a load) reads as empty ground.
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(246, 246, 246));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    setPalette(p);
}

int PageCellEdit::keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (qtKey) {
        case Qt::Key_PageUp: return keys::kPageUp;
        case Qt::Key_PageDown: return keys::kPageDown;
        case Qt::Key_Home: return ctrl ? keys::kCtrlHome : 0;
        case Qt::Key_End: return ctrl ? keys::kCtrlEnd : 0;
        case Qt::Key_Return:
        case Qt::Key_Enter: return keys::kEnter;
        case Qt::Key_Up: return keys::kUp;
        case Qt::Key_Down: return keys::kDown;
        case Qt::Key_Insert: return keys::kInsert;
        case Qt::Key_Delete: return keys::kDelete;
        default: return 0;
    }
}

bool PageCellEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void PageCellEdit::keyPressEvent(QKeyEvent* event) {
    syncLineText();
    if (onKey_ && onKey_(*this, keyCodeOf(event->key(), event->modifiers()))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PageCellEdit::mousePressEvent(QMouseEvent* event) {
    syncLineText();
    QLineEdit::mousePressEvent(event);
}

void PageCellEdit::mouseReleaseEvent(QMouseEvent* event) {
    syncLineText();
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) onClick_(*this);
}

void PageCellEdit::focusInEvent(QFocusEvent* event) {
    syncLineText();
    if (canvas_) canvas_->setHole(this);
    QLineEdit::focusInEvent(event);
}

void PageCellEdit::focusOutEvent(QFocusEvent* event) {
    if (canvas_) canvas_->clearHole(this);
    QLineEdit::focusOutEvent(event);
}

void PageCellEdit::changeEvent(QEvent* event) {
    if (canvas_ && (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange))
        canvas_->updateCell(this);
    QLineEdit::changeEvent(event);
}

void PageCellEdit::drawFace(QPainter& p, const QRect& r) const {
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    p.fillRect(r, palette().color(group, QPalette::Base));
    if (shown_.isEmpty()) return;
    p.setPen(palette().color(group, QPalette::Text));
    const QRect box = r.adjusted(2, 0, -kRightPadding, 0);
    if (!drawAscii(p, box, shown_, font())) p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, shown_);
}

void PageCellEdit::paintEvent(QPaintEvent* event) {
    // With the focus the text box paints itself, cursor and selection
    // included; otherwise (no canvas over the cell) the cell draws its face.
    if (hasFocus()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter p(this);
    drawFace(p, rect());
}

}  // namespace qm::ui
