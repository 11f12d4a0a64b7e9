#include "ui/LogPainter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "ui/ProfilePainter.h"

namespace qm::ui {

namespace {

constexpr double kScale = kLogDotsPerInch / kLogLayoutDotsPerInch;
constexpr double kMargin = 40.0;     // layout pixels, about 10 mm
constexpr double kCellPad = 4.0;
constexpr double kBlockGap = 14.0;  // between the header block and the tracks

const QColor kInk(30, 30, 30);
const QColor kRule(150, 150, 150);

// Pixel sizes, not point sizes: the devices differ in their idea of a point,
// and the layout unit is the same on all of them. Without hinting the
// measured widths hold at every scale.
QFont logFont(int pixels, bool bold = false) {
    QFont f(QStringLiteral("sans-serif"));  // the generic name an SVG viewer knows too
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

ProfileStyle logStyle(char sep) {
    ProfileStyle style;
    style.font = logFont(9);
    style.line = 1.0;
    style.trackGap = 16.0;
    style.decimalSeparator = sep;
    return style;
}

// Lays `text` out in `width`, breaking at spaces and, for a word wider than
// the cell, inside it; draws it at `at` when `p` is given. Returns its height.
double wrappedText(QPainter* p, const QFont& font, const QString& text, const QPointF& at, double width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    if (p) layout.draw(p, at);
    return height;
}

// Height the header block needs at `width`; draws it when `p` is given. Long
// texts wrap inside their cell rather than being cut.
double headerBlock(QPainter* p, const QRectF& box, const LogRequest& r, std::size_t index, std::size_t count) {
    const QFont title = logFont(16, true), label = logFont(10, true), value = logFont(10);
    const QFontMetricsF tm(title), lm(label), vm(value);
    double y = box.top() + kCellPad;
    if (p) {
        p->setPen(kInk);
        p->setFont(title);
        p->drawText(QPointF(box.left() + kCellPad, y + tm.ascent()), QStringLiteral("CPT LOG"));
        const QString caption = QString::fromStdString(pageCaption(index, count));
        p->setFont(value);
        p->drawText(QRectF(box.left(), y, box.width() - kCellPad, tm.height()), Qt::AlignRight | Qt::AlignVCenter,
                    caption);
    }
    y += tm.height() + kCellPad;
    const double ruleY = y;

    // Two columns of "label  value", each label column as wide as its longest label.
    const int columns = 2;
    const double columnW = box.width() / columns;
    const std::size_t rows = (r.header.size() + columns - 1) / columns;
    std::vector<double> labelW(columns, 0.0);
    for (std::size_t i = 0; i < r.header.size(); ++i)
        labelW[i / rows] = std::max(labelW[i / rows], lm.horizontalAdvance(QString::fromStdString(r.header[i].label)));
    y += kCellPad;
    for (std::size_t row = 0; row < rows; ++row) {
        double rowH = vm.height();
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(c) * rows + row;
            if (i >= r.header.size()) continue;
            const double left = box.left() + c * columnW + kCellPad;
            const double valueLeft = left + labelW[c] + 2 * kCellPad;
            const double valueW = box.left() + (c + 1) * columnW - valueLeft - kCellPad;
            const QString text = QString::fromStdString(r.header[i].value);
            rowH = std::max(rowH, wrappedText(p, value, text, QPointF(valueLeft, y), valueW));
            if (!p) continue;
            p->setFont(label);
            p->drawText(QPointF(left, y + lm.ascent()), QString::fromStdString(r.header[i].label));
        }
        y += rowH + 2;
    }
    y += kCellPad;
    if (p) {
        p->setPen(kRule);
        p->drawLine(QPointF(box.left(), ruleY), QPointF(box.right(), ruleY));
        p->drawRect(QRectF(box.left(), box.top(), box.width(), y - box.top()));
    }
    return y - box.top();
}

std::vector<const ProfileTrack*> tracksOf(const LogRequest& r) {
    std::vector<const ProfileTrack*> out;
    for (std::size_t i : r.tracks)
        if (i < r.profile.tracks.size()) out.push_back(&r.profile.tracks[i]);
    return out;
}

std::string bytesOf(const QByteArray& a) { return std::string(a.constData(), static_cast<std::size_t>(a.size())); }

}  // namespace

QSize logPageSize(PaperSize paper) {
    // Rounded to the nearest pixel: A4 is 2480 x 3508 at 300 dpi.
    const QSizeF mm = QPageSize(paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter).size(QPageSize::Millimeter);
    return QSize(static_cast<int>(std::lround(mm.width() / 25.4 * kLogDotsPerInch)),
                 static_cast<int>(std::lround(mm.height() / 25.4 * kLogDotsPerInch)));
}

void drawLogPage(QPainter& p, const QSize& devicePage, const LogRequest& request,
                 const std::vector<LogPageSpan>& spans, std::size_t index) {
    p.save();
    p.scale(kScale, kScale);
    const QRectF page(0, 0, devicePage.width() / kScale, devicePage.height() / kScale);
    const QRectF content = page.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    p.fillRect(page, Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double headerH = headerBlock(nullptr, content, request, index, spans.size());
    headerBlock(&p, content, request, index, spans.size());

    const std::vector<const ProfileTrack*> tracks = tracksOf(request);
    const ProfileStyle style = logStyle(request.decimalSeparator);
    const QRectF area = content.adjusted(0, headerH + kBlockGap, 0, 0);
    // Laid out for the widest depth labels of all pages, so every page has
    // the same track widths; only the depth window differs.
    double low = spans.front().top, high = spans.front().top;
    for (const LogPageSpan& s : spans) {
        low = std::min({low, s.top, s.bottom});
        high = std::max({high, s.top, s.bottom});
    }
    ProfileGeometry g = layoutProfile(area, static_cast<int>(tracks.size()), style, low, high);
    g.top = spans[index].top;
    g.bottom = spans[index].bottom;
    drawProfile(p, g, request.profile, tracks, style);
    p.restore();
}

LogFiles renderLog(const LogRequest& request) {
    LogFiles out;
    const std::vector<LogPageSpan> spans = logPageSpans(request.profile, request.metresPerPage);
    if (spans.empty()) {
        out.error = tooManyLogPages();
        return out;
    }
    out.error = logSpanProblem(spans);
    if (!out.error.empty()) return out;
    const QSize size = logPageSize(request.paper);
    switch (request.format) {
        case LogFormat::Pdf: {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            {
                QPdfWriter writer(&buffer);
                writer.setResolution(kLogDotsPerInch);
                writer.setPageSize(QPageSize(request.paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter));
                writer.setPageMargins(QMarginsF(0, 0, 0, 0));
                writer.setCreator(QStringLiteral("Quillmere"));
                writer.setTitle(QStringLiteral("CPT log"));
                QPainter p(&writer);
                for (std::size_t i = 0; i < spans.size(); ++i) {
                    if (i > 0) writer.newPage();
                    drawLogPage(p, QSize(writer.width(), writer.height()), request, spans, i);
                }
            }
            out.bytes.push_back(bytesOf(bytes));
            break;
        }
        case LogFormat::Png:
            for (std::size_t i = 0; i < spans.size(); ++i) {
                QImage image(size, QImage::Format_RGB32);
                image.fill(Qt::white);
                const int dotsPerMetre = static_cast<int>(std::lround(kLogDotsPerInch / 0.0254));
                image.setDotsPerMeterX(dotsPerMetre);
                image.setDotsPerMeterY(dotsPerMetre);
                {
                    QPainter p(&image);
                    drawLogPage(p, size, request, spans, i);
                }
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                if (!image.save(&buffer, "PNG")) {
                    out.bytes.clear();
                    out.error = "The log page could not be encoded as PNG.";
                    return out;
                }
                out.bytes.push_back(bytesOf(bytes));
            }
            break;
        case LogFormat::Svg:
            for (std::size_t i = 0; i < spans.size(); ++i) {
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                {
                    QSvgGenerator svg;
                    svg.setOutputDevice(&buffer);
                    svg.setResolution(kLogDotsPerInch);
                    svg.setSize(size);
                    svg.setViewBox(QRect(QPoint(0, 0), size));
                    svg.setTitle(QStringLiteral("CPT log"));
                    QPainter p(&svg);
                    drawLogPage(p, size, request, spans, i);
                }
                out.bytes.push_back(bytesOf(bytes));
            }
            break;
    }
    return out;
}

}  // namespace qm::ui
