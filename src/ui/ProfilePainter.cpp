#include "ui/ProfilePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/SoilZonePainter.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

const QColor kFrame(110, 110, 110);
const QColor kGrid(225, 225, 225);
const QColor kText(30, 30, 30);
const QColor kBand(255, 200, 0, 70);
const QColor kCursor(220, 0, 0);
const QColor kHydrostatic(0, 150, 150);
const std::array<QColor, 3> kPoreColours = {QColor(0, 110, 210), QColor(210, 90, 0), QColor(140, 0, 160)};

constexpr int kHeaderLines = 3;  // title (two lines) and unit
constexpr double kGap = 4.0;

QColor lineColour(const ProfileTrack& t, std::size_t series) {
    switch (t.kind) {
        case TrackKind::TipResistance: return series == 0 ? QColor(20, 60, 170) : QColor(200, 30, 120);
        case TrackKind::SleeveFriction: return QColor(20, 130, 60);
        case TrackKind::PorePressure: return kPoreColours[series % kPoreColours.size()];
        case TrackKind::FrictionRatio: return QColor(160, 80, 20);
        case TrackKind::PoreRatio: return QColor(0, 110, 210);
        case TrackKind::BehaviourIndex: return QColor(90, 60, 150);
        case TrackKind::OtherChannel:
        case TrackKind::SoilBehaviour: break;
    }
    return QColor(70, 70, 70);
}

QString text(const std::string& bytes) { return fromCp1252(bytes); }

// The ticks that fit `length` pixels with labels of about `labelSize`.
std::vector<double> ticksFor(double low, double high, double length, double labelSize) {
    const int count = std::clamp(static_cast<int>(length / std::max(1.0, labelSize)), 2, 10);
    return niceTicks(low, high, count);
}

double valueX(const QRectF& r, const ProfileTrack& t, double v) {
    return r.left() + (v - t.low) / (t.high - t.low) * r.width();
}

// One run of a series as a polyline: where more readings than pixels meet
// in one pixel row, their first, lowest, highest and last value stand for
// them, so 10000 readings cost no more than the plot's height.
void drawRun(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const ProfileTrack& t,
             const QRectF& r, const ProfileSeries& s, int32_t from, int32_t to, std::vector<QPointF>& points) {
    points.clear();
    const double limitTop = g.plot.top() - 2.0, limitBottom = g.plot.bottom() + 2.0;
    int bucket = 0;
    bool open = false;
    double firstX = 0, minX = 0, maxX = 0, lastX = 0, bucketY = 0;
    auto flush = [&] {
        if (!open) return;
        points.emplace_back(firstX, bucketY);
        if (minX != firstX && minX != lastX) points.emplace_back(minX, bucketY);
        if (maxX != firstX && maxX != lastX) points.emplace_back(maxX, bucketY);
        if (lastX != firstX) points.emplace_back(lastX, bucketY);
        open = false;
    };
    for (int32_t k = from; k <= to; ++k) {
        double y = g.yOf(data.axis[static_cast<std::size_t>(k)]);
        const double x = valueX(r, t, s.values[static_cast<std::size_t>(k)]);
        y = std::clamp(y, limitTop, limitBottom);
        const int row = static_cast<int>(std::floor(y));
        if (!open || row != bucket) {
            flush();
            bucket = row;
            bucketY = y;
            firstX = minX = maxX = lastX = x;
            open = true;
        } else {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            lastX = x;
        }
    }
    flush();
    if (points.size() == 1)
        p.drawEllipse(points[0], 1.2, 1.2);
    else
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void drawTrackHeader(QPainter& p, const ProfileGeometry& g, const QRectF& r, const ProfileTrack& t,
                     const ProfileStyle& style) {
    const QFontMetricsF fm(style.font);
    const double lineH = fm.height();
    // The title on two lines at most; a word wider than a narrow track gets
    // a smaller face rather than being cut.
    QFont bold = style.font;
    bold.setBold(true);
    const QString title = text(t.title);
    for (int i = 0; i < 8; ++i) {
        double widest = 0;
        for (const QString& word : title.split(' ', Qt::SkipEmptyParts))
            widest = std::max(widest, QFontMetricsF(bold).horizontalAdvance(word));
        if (widest <= r.width() - 2) break;
        // The log's fonts are sized in pixels, the window's in points.
        if (bold.pixelSize() > 0) {
            if (bold.pixelSize() <= 7) break;
            bold.setPixelSize(bold.pixelSize() - 1);
        } else {
            if (bold.pointSizeF() <= 5.5) break;
            bold.setPointSizeF(bold.pointSizeF() - 0.5);
        }
    }
    p.setFont(bold);
    p.setPen(kText);
    const QRectF titleBox(r.left() - 1, g.area.top(), r.width() + 2, lineH * 2);
    p.drawText(titleBox, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, title);
    p.setFont(style.font);
    const QRectF unitBox(r.left(), titleBox.bottom(), r.width(), lineH);
    p.drawText(unitBox, Qt::AlignHCenter | Qt::AlignVCenter,
               fm.elidedText("(" + text(t.unit) + ")", Qt::ElideRight, r.width()));
}

void drawValueTicks(QPainter& p, const ProfileGeometry& g, const QRectF& r, const ProfileTrack& t,
                    const ProfileStyle& style) {
    const QFontMetricsF fm(style.font);
    const double labelW = std::max(fm.horizontalAdvance(text(tickText(t.high, tickStep(t.low, t.high, 4), style.decimalSeparator))),
                                   fm.horizontalAdvance(text(tickText(t.low, tickStep(t.low, t.high, 4), style.decimalSeparator)))) + 8;
    const std::vector<double> ticks = ticksFor(t.low, t.high, r.width() + labelW * 0.5, labelW);
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : t.high - t.low;
    const double labelY = g.plot.top() - fm.height() - 1;
    double lastRight = -1e9;
    for (double v : ticks) {
        const double x = valueX(r, t, v);
        p.setPen(kGrid);
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        const QString label = text(tickText(v, step, style.decimalSeparator));
        const double w = fm.horizontalAdvance(label);
        // Inside the track, so the labels of neighbouring tracks never meet.
        double left = std::clamp(x - w / 2, r.left(), std::max(r.left(), r.right() - w));
        if (left < lastRight + 3) continue;  // never two labels over each other
        p.setPen(kText);
        p.drawText(QPointF(left, labelY + fm.ascent()), label);
        lastRight = left + w;
    }
}

void drawLegend(QPainter& p, const QRectF& r, const ProfileTrack& t, const ProfileStyle& style) {
    if (t.series.size() < 2 && t.hydrostatic.empty()) return;
    const QFontMetricsF fm(style.font);
    std::vector<std::pair<QString, QColor>> entries;
    // A narrow track names each channel by its last word (U2, U1, ...).
    const bool narrow = r.width() < 130;
    for (std::size_t i = 0; i < t.series.size(); ++i) {
        QString name = text(t.series[i].name).trimmed();
        if (narrow && name.contains(' ')) name = name.section(' ', -1);
        entries.emplace_back(name, lineColour(t, i));
    }
    if (!t.hydrostatic.empty()) entries.emplace_back("u0", kHydrostatic);
    double width = 0;
    for (const auto& e : entries) width = std::max(width, fm.horizontalAdvance(e.first));
    width = std::min(width + 20, r.width() - 4);
    const QRectF box(r.right() - width - 2, r.top() + 2, width, fm.height() * entries.size() + 4);
    p.setPen(QColor(190, 190, 190));
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRect(box);
    p.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double y = box.top() + 2 + fm.height() * static_cast<double>(i);
        QPen pen(entries[i].second, 2.0);
        if (entries[i].first == "u0" && i + 1 == entries.size()) pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawLine(QPointF(box.left() + 3, y + fm.height() / 2), QPointF(box.left() + 14, y + fm.height() / 2));
        p.setPen(kText);
        p.drawText(QRectF(box.left() + 17, y, box.width() - 19, fm.height()), Qt::AlignVCenter | Qt::AlignLeft,
                   fm.elidedText(entries[i].first, Qt::ElideRight, box.width() - 19));
    }
}

}  // namespace

ProfileGeometry layoutProfile(const QRectF& area, int trackCount, const ProfileStyle& style, double top,
                              double bottom) {
    ProfileGeometry g;
    g.area = area;
    g.top = top;
    g.bottom = bottom == top ? top + 1.0 : bottom;
    const QFontMetricsF fm(style.font);
    // The header: title, unit, then the value tick labels above the plot.
    g.headerHeight = fm.height() * (kHeaderLines + 1) + kGap;
    // As wide as the longest depth label, or the axis title.
    const double extreme = std::max(std::fabs(top), std::fabs(bottom));
    const bool negative = std::min(top, bottom) < 0;
    const double axisW = std::max(fm.horizontalAdvance(QString(negative ? "-" : "") +
                                                       text(tickText(extreme, 0.1, style.decimalSeparator))) + 10,
                                  fm.horizontalAdvance("DEPTH") + 8);
    g.axisColumn = QRectF(area.left(), area.top() + g.headerHeight, axisW, area.height() - g.headerHeight - 2);
    g.plot = QRectF(area.left() + axisW, area.top() + g.headerHeight, std::max(1.0, area.width() - axisW - 2),
                    std::max(1.0, area.height() - g.headerHeight - 2));
    const int n = std::max(1, trackCount);
    const double gap = style.trackGap;
    const double w = std::max(1.0, (g.plot.width() - gap * (n - 1)) / n);
    for (int i = 0; i < trackCount; ++i)
        g.tracks.emplace_back(g.plot.left() + i * (w + gap), g.plot.top(), w, g.plot.height());
    return g;
}

void drawProfile(QPainter& p, const ProfileGeometry& g, const ProfileData& data,
                 const std::vector<const ProfileTrack*>& tracks, const ProfileStyle& style) {
    p.save();
    p.setFont(style.font);
    const QFontMetricsF fm(style.font);

    // The depth axis: its title over the tick labels, the grid across.
    p.setPen(kText);
    const QString axisTitle = QString(data.elevation ? "ELEV." : "DEPTH") + (data.feet ? "\n(ft)" : "\n(m)");
    p.drawText(QRectF(g.area.left(), g.area.top() + fm.height(), g.axisColumn.width() - 4, fm.height() * 2),
               Qt::AlignRight | Qt::AlignVCenter, axisTitle);
    const std::vector<double> depthTicks = ticksFor(std::min(g.top, g.bottom), std::max(g.top, g.bottom),
                                                    g.plot.height(), fm.height() * 2.2);
    const double depthStep = depthTicks.size() > 1 ? depthTicks[1] - depthTicks[0] : 1.0;
    for (double v : depthTicks) {
        const double y = g.yOf(v);
        p.setPen(kGrid);
        for (const QRectF& r : g.tracks) p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(kText);
        p.drawLine(QPointF(g.axisColumn.right() - 3, y), QPointF(g.axisColumn.right(), y));
        p.drawText(QRectF(g.axisColumn.left(), y - fm.height() / 2, g.axisColumn.width() - 5, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, text(tickText(v, depthStep, style.decimalSeparator)));
    }

    std::vector<QPointF> points;
    for (std::size_t i = 0; i < tracks.size() && i < g.tracks.size(); ++i) {
        const ProfileTrack& t = *tracks[i];
        const QRectF& r = g.tracks[i];
        drawTrackHeader(p, g, r, t, style);
        const bool zoneColumn = t.kind == TrackKind::SoilBehaviour;
        if (!zoneColumn) drawValueTicks(p, g, r, t, style);
        p.save();
        p.setClipRect(r.adjusted(-1, 0, 1, 0));
        p.setRenderHint(QPainter::Antialiasing, true);
        if (t.hydrostatic.size() > 1) {
            QPen pen(kHydrostatic, style.line * 1.5, Qt::DashLine);
            p.setPen(pen);
            std::vector<QPointF> line;
            for (const auto& [axis, u0] : t.hydrostatic) line.emplace_back(valueX(r, t, u0), g.yOf(axis));
            p.drawPolyline(line.data(), static_cast<int>(line.size()));
        }
        drawTrackMarks(p, r, t);
        if (zoneColumn) drawSoilZoneColumn(p, g, data, r, t);
        for (std::size_t s = 0; s < t.series.size() && !zoneColumn; ++s) {
            p.setPen(QPen(lineColour(t, s), style.line));
            p.setBrush(lineColour(t, s));
            for (const auto& [from, to] : t.series[s].runs) drawRun(p, g, data, t, r, t.series[s], from, to, points);
            p.setBrush(Qt::NoBrush);
        }
        p.restore();
        drawLegend(p, r, t, style);
        p.setPen(kFrame);
        p.drawRect(r);
        if (zoneColumn) drawSoilZoneLegend(p, g, r, style);
    }
    p.restore();
}

QRectF profileBandRect(const ProfileGeometry& g, double bandFrom, double bandTo) {
    double y1 = g.yOf(bandFrom), y2 = g.yOf(bandTo);
    if (y1 > y2) std::swap(y1, y2);
    // At least two pixels, so the band shows on the whole of a long sounding.
    if (y2 - y1 < 2.0) {
        const double mid = (y1 + y2) / 2;
        y1 = mid - 1.0;
        y2 = mid + 1.0;
    }
    return QRectF(g.plot.left(), y1, g.plot.width(), y2 - y1).intersected(g.plot.adjusted(0, -1, 0, 1));
}

QRectF profileCursorRect(const ProfileGeometry& g, double cursor) {
    const double y = g.yOf(cursor);
    return QRectF(g.axisColumn.left(), y - 1.0, g.area.right() - g.axisColumn.left(), 2.0);
}

void drawProfileCursor(QPainter& p, const ProfileGeometry& g, double bandFrom, double bandTo, double cursor) {
    p.save();
    p.fillRect(profileBandRect(g, bandFrom, bandTo), kBand);
    const double y = g.yOf(cursor);
    if (y >= g.plot.top() - 1 && y <= g.plot.bottom() + 1) {
        p.setPen(QPen(kCursor, 1.5));
        p.drawLine(QPointF(g.axisColumn.right() - 6, y), QPointF(g.plot.right(), y));
    }
    p.restore();
}

}  // namespace qm::ui
