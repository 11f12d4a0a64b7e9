#include "ui/SoilZonePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "ops/Interpretation.h"

namespace qm::ui {

namespace {

QColor zoneColour(int zone) {
    const SoilZone* z = soilZone(zone);
    return z ? QColor::fromRgb(z->rgb) : QColor(Qt::white);
}

}  // namespace

void drawTrackMarks(QPainter& p, const QRectF& r, const ProfileTrack& t) {
    if (t.marks.empty() || t.high <= t.low) return;
    p.save();
    p.setPen(QPen(QColor(120, 120, 120), 0.8, Qt::DotLine));
    for (double v : t.marks) {
        const double x = r.left() + (v - t.low) / (t.high - t.low) * r.width();
        if (x > r.left() && x < r.right()) p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    p.restore();
}

// Each reading's zone fills the depth from halfway to the reading above to
// halfway to the one below; readings of one zone in a row make one block.
void drawSoilZoneColumn(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const QRectF& r,
                        const ProfileTrack& t) {
    if (t.series.empty()) return;
    const ProfileSeries& s = t.series.front();
    const auto axis = [&](int32_t k) { return static_cast<double>(data.axis[static_cast<std::size_t>(k)]); };
    p.save();
    p.setPen(Qt::NoPen);
    for (const auto& [from, to] : s.runs) {
        const auto edge = [&](int32_t k, int32_t next) {  // between reading k and next, or half a step out
            if (next >= from && next <= to) return (axis(k) + axis(next)) / 2;
            const int32_t other = k == from ? std::min(k + 1, to) : std::max(k - 1, from);
            return axis(k) + (axis(k) - axis(other)) / 2;
        };
        int32_t blockStart = from;
        for (int32_t k = from; k <= to; ++k) {
            const float zone = s.values[static_cast<std::size_t>(k)];
            if (k < to && s.values[static_cast<std::size_t>(k) + 1] == zone) continue;
            const double y1 = g.yOf(edge(blockStart, blockStart - 1)), y2 = g.yOf(edge(k, k + 1));
            p.setBrush(zoneColour(static_cast<int>(zone)));
            p.drawRect(QRectF(r.left(), std::min(y1, y2), r.width(), std::max(std::fabs(y2 - y1), 0.6)));
            blockStart = k + 1;
        }
    }
    p.restore();
}

// At the foot of the column, reaching left over the tracks beside it as far
// as the names need.
void drawSoilZoneLegend(QPainter& p, const ProfileGeometry& g, const QRectF& r, const ProfileStyle& style) {
    const QFontMetricsF fm(style.font);
    std::vector<QString> lines;
    for (const SoilZone& z : soilZones()) lines.push_back(QString::number(z.zone) + " " + QString::fromUtf8(z.name.data(), static_cast<qsizetype>(z.name.size())));
    const QString title = QStringLiteral("Zones from Ic");
    const QString note = QStringLiteral("(1, 8, 9 not separated)");
    double width = std::max(fm.horizontalAdvance(title), fm.horizontalAdvance(note));
    for (const QString& l : lines) width = std::max(width, fm.horizontalAdvance(l) + 16);
    width = std::min(width + 8, g.plot.width());
    const double lineH = fm.height();
    const double height = lineH * static_cast<double>(lines.size() + 2) + 4;
    const QRectF box(std::max(g.plot.left(), r.right() - width), r.bottom() - height - 2, width, height);
    p.save();
    p.setPen(QColor(190, 190, 190));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRect(box);
    p.setPen(QColor(30, 30, 30));
    p.setFont(style.font);
    double y = box.top() + 2;
    p.drawText(QRectF(box.left() + 4, y, box.width() - 6, lineH), Qt::AlignLeft | Qt::AlignVCenter, title);
    y += lineH;
    for (std::size_t i = 0; i < lines.size(); ++i, y += lineH) {
        p.fillRect(QRectF(box.left() + 4, y + 2, 10, lineH - 4), zoneColour(soilZones()[i].zone));
        p.drawText(QRectF(box.left() + 18, y, box.width() - 20, lineH), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(lines[i], Qt::ElideRight, box.width() - 20));
    }
    p.drawText(QRectF(box.left() + 4, y, box.width() - 6, lineH), Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(note, Qt::ElideRight, box.width() - 6));
    p.restore();
}

}  // namespace qm::ui
