#include "ui/ProfilePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "ops/AxisTicks.h"
#include "ops/TrackLabels.h"
#include "ops/TrackScales.h"
#include "ui/SoilZonePainter.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

const QColor kFrame(110, 110, 110);
const QColor kGrid(225, 225, 225);
const QColor kMajorGrid(200, 200, 200);
const QColor kText(30, 30, 30);
const QColor kBand(255, 200, 0, 70);
const QColor kCursor(220, 0, 0);
const QColor kHydrostatic(0, 150, 150);
const QColor kClipMark(200, 0, 0);
const QColor kGapFill(242, 242, 242);
const std::array<QColor, 3> kPoreColours = {QColor(0, 110, 210), QColor(210, 90, 0), QColor(140, 0, 160)};

constexpr double kGap = 4.0;
constexpr double kLegendSwatch = 14.0;  // the line sample before a legend's name
constexpr double kLegendSpace = 6.0;    // between legend entries on one row
constexpr double kClipMarkSize = 4.0;

QColor lineColour(const ProfileTrack& t, std::size_t series) {
    switch (t.kind) {
        case TrackKind::TipResistance: return series == 0 ? QColor(20, 60, 170) : QColor(200, 30, 120);
        case TrackKind::SleeveFriction: return QColor(20, 130, 60);
        case TrackKind::PorePressure: return kPoreColours[series % kPoreColours.size()];
        case TrackKind::FrictionRatio: return QColor(160, 80, 20);
        case TrackKind::PoreRatio: return QColor(0, 110, 210);
        case TrackKind::BehaviourIndex: return QColor(90, 60, 150);
        default: break;
    }
    return QColor(70, 70, 70);
}

QString text(const std::string& bytes) { return fromCp1252(bytes); }

QFont titleFont(const ProfileStyle& style) {
    QFont bold = style.font;
    bold.setBold(true);
    return bold;
}

// The ticks that fit `length` pixels with labels of about `labelSize`.
std::vector<double> ticksFor(double low, double high, double length, double labelSize) {
    const int count = std::clamp(static_cast<int>(length / std::max(1.0, labelSize)), 2, 10);
    return niceTicks(low, high, count);
}

// x of value v, held inside the track: readings beyond the scale lie on its edge.
double valueX(const QRectF& r, const ProfileTrack& t, double v) {
    const double x = r.left() + (v - t.low) / (t.high - t.low) * r.width();
    return std::clamp(x, r.left(), r.right());
}

struct LegendEntry {
    QString name;
    QColor colour;
    bool dashed = false;
};

std::vector<LegendEntry> legendOf(const ProfileTrack& t, double width) {
    std::vector<LegendEntry> entries;
    if (t.series.size() < 2 && t.hydrostatic.empty()) return entries;
    // A narrow track names each channel by its last word (U2, U1, ...).
    const bool narrow = width < 130;
    for (std::size_t i = 0; i < t.series.size(); ++i) {
        QString name = text(t.series[i].name).trimmed();
        if (narrow && name.contains(' ')) name = name.section(' ', -1);
        entries.push_back({name, lineColour(t, i)});
    }
    if (!t.hydrostatic.empty()) entries.push_back({"u0", kHydrostatic, true});
    return entries;
}

// Each legend entry's left edge and row, flowing across the track's width.
std::vector<std::pair<double, int>> legendPlaces(const std::vector<LegendEntry>& entries, double width,
                                                 const QFontMetricsF& fm) {
    std::vector<std::pair<double, int>> places;
    double x = 0;
    int row = 0;
    for (const LegendEntry& e : entries) {
        const double w = kLegendSwatch + 3 + fm.horizontalAdvance(e.name);
        if (x > 0 && x + w > width) {
            x = 0;
            ++row;
        }
        places.emplace_back(x, row);
        x += w + kLegendSpace;
    }
    return places;
}

int legendRows(const ProfileTrack& t, double width, const QFontMetricsF& fm) {
    const auto entries = legendOf(t, width);
    if (entries.empty()) return 0;
    return legendPlaces(entries, width, fm).back().second + 1;
}

std::vector<std::string> titleOf(const ProfileTrack& t, double width, const QFontMetricsF& bold) {
    return titleLines(t.title, width - 2, [&](const std::string& s) { return bold.horizontalAdvance(text(s)); });
}

// The points of one run, clipped to the plot's height where it leaves it
// (a page of the log shows part of a run): the line is cut where it crosses
// the edge, not squeezed onto it.
void clippedPoints(const ProfileGeometry& g, const ProfileData& data, const ProfileTrack& t, const QRectF& r,
                   const ProfileSeries& s, int32_t from, int32_t to, std::vector<QPointF>& out) {
    out.clear();
    const double lo = g.plot.top(), hi = g.plot.bottom();
    auto pointOf = [&](int32_t k) {
        return QPointF(valueX(r, t, s.values[static_cast<std::size_t>(k)]), g.yOf(data.axis[static_cast<std::size_t>(k)]));
    };
    auto inside = [&](const QPointF& q) { return q.y() >= lo && q.y() <= hi; };
    auto cross = [&](const QPointF& a, const QPointF& b) {
        const double edge = (a.y() < lo) != (b.y() < lo) ? lo : hi;
        const double f = (edge - a.y()) / (b.y() - a.y());
        return QPointF(a.x() + f * (b.x() - a.x()), edge);
    };
    QPointF prev;
    for (int32_t k = from; k <= to; ++k) {
        const QPointF q = pointOf(k);
        if (k > from) {
            const bool a = inside(prev), b = inside(q);
            if (a && !b) out.push_back(cross(prev, q));
            else if (!a && b) out.push_back(cross(prev, q));
            else if (!a && !b && ((prev.y() < lo && q.y() > hi) || (prev.y() > hi && q.y() < lo))) {
                out.push_back(cross(prev, q));
                out.push_back(cross(q, prev));
            }
        }
        if (inside(q)) out.push_back(q);
        prev = q;
    }
}

// One run of a series as polylines: where more readings than pixels meet
// in one pixel row, their first, lowest, highest and last value stand for
// them, so 10000 readings cost no more than the plot's height.
void drawRun(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const ProfileTrack& t,
             const QRectF& r, const ProfileSeries& s, int32_t from, int32_t to, std::vector<QPointF>& raw,
             std::vector<QPointF>& points) {
    clippedPoints(g, data, t, r, s, from, to, raw);
    points.clear();
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
    for (const QPointF& q : raw) {
        const int row = static_cast<int>(std::floor(q.y()));
        if (!open || row != bucket) {
            flush();
            bucket = row;
            bucketY = q.y();
            firstX = minX = maxX = lastX = q.x();
            open = true;
        } else {
            minX = std::min(minX, q.x());
            maxX = std::max(maxX, q.x());
            lastX = q.x();
        }
    }
    flush();
    if (points.size() == 1)
        p.drawEllipse(points[0], 1.2, 1.2);
    else if (points.size() > 1)
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
}

// A small wedge on the track's edge beside readings beyond the scale,
// pointing the way they go on.
void drawClipMarks(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const ProfileTrack& t,
                   const QRectF& r, const ProfileSeries& s) {
    const double m = kClipMarkSize;
    for (const ClipRun& c : clipRuns(s, t.low, t.high)) {
        double y1 = g.yOf(data.axis[static_cast<std::size_t>(c.from)]);
        double y2 = g.yOf(data.axis[static_cast<std::size_t>(c.to)]);
        if (y1 > y2) std::swap(y1, y2);
        if (y2 < g.plot.top() || y1 > g.plot.bottom()) continue;
        const double y = std::clamp((y1 + y2) / 2, g.plot.top() + m, g.plot.bottom() - m);
        const double edge = c.high ? r.right() : r.left();
        const double in = c.high ? -m * 1.5 : m * 1.5;
        const QPointF wedge[3] = {QPointF(edge, y), QPointF(edge + in, y - m), QPointF(edge + in, y + m)};
        p.setPen(Qt::NoPen);
        p.setBrush(kClipMark);
        p.drawPolygon(wedge, 3);
        p.setBrush(Qt::NoBrush);
    }
}

void drawTrackHeader(QPainter& p, const ProfileGeometry& g, const QRectF& r, const ProfileTrack& t,
                     const ProfileStyle& style) {
    const QFontMetricsF fm(style.font);
    const double lineH = fm.height();
    // One title face for every track; the title wraps or shortens instead.
    const QFont bold = titleFont(style);
    const QFontMetricsF bm(bold);
    const std::vector<std::string> lines = titleOf(t, r.width(), bm);
    p.setFont(bold);
    p.setPen(kText);
    const double titleH = bm.height() * g.titleLines;
    double y = g.area.top() + titleH - bm.height() * static_cast<double>(lines.size());
    for (const std::string& line : lines) {
        const QString s = text(line);
        const double w = bm.horizontalAdvance(s);
        p.drawText(QPointF(r.center().x() - w / 2, y + bm.ascent()), s);
        y += bm.height();
    }
    p.setFont(style.font);
    const QString unit = fm.elidedText("(" + QString::fromStdString(unitSpelling(t.unit)) + ")", Qt::ElideRight, r.width());
    const double uw = fm.horizontalAdvance(unit);
    p.drawText(QPointF(r.center().x() - uw / 2, g.area.top() + titleH + fm.ascent()), unit);

    // The legend in the header band, clear of the traces and the cursor.
    const std::vector<LegendEntry> entries = legendOf(t, r.width());
    const auto places = legendPlaces(entries, r.width(), fm);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = r.left() + places[i].first;
        const double ly = g.legendTop + lineH * places[i].second;
        QPen pen(entries[i].colour, 2.0);
        if (entries[i].dashed) pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawLine(QPointF(x + 1, ly + lineH / 2), QPointF(x + kLegendSwatch - 1, ly + lineH / 2));
        p.setPen(kText);
        const QString name = fm.elidedText(entries[i].name, Qt::ElideRight, r.right() - x - kLegendSwatch - 3);
        p.drawText(QPointF(x + kLegendSwatch + 3, ly + fm.ascent()), name);
    }
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
        if (w > r.width()) continue;
        // Inside the track, so the labels of neighbouring tracks never meet.
        const double left = std::clamp(x - w / 2, r.left(), r.right() - w);
        if (left < lastRight + 3) continue;  // never two labels over each other
        p.setPen(kText);
        p.drawText(QPointF(left, labelY + fm.ascent()), label);
        lastRight = left + w;
    }
}

// The depth gaps a drill-out left: a pale band across the tracks, named in
// the first track with its depth range.
void drawGaps(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const ProfileStyle& style) {
    if (g.tracks.empty()) return;
    const QFontMetricsF fm(style.font);
    const QString unit = data.feet ? " ft" : " m";
    double lastBottom = -1e9;
    for (const auto& [above, below] : data.gaps) {
        double y1 = g.yOf(above), y2 = g.yOf(below);
        if (y1 > y2) std::swap(y1, y2);
        y1 = std::max(y1, g.plot.top());
        y2 = std::min(y2, g.plot.bottom());
        if (y2 <= y1) continue;
        for (const QRectF& r : g.tracks) p.fillRect(QRectF(r.left(), y1, r.width(), y2 - y1), kGapFill);
        const QRectF& first = g.tracks.front();
        const QString range = text(tickText(above, 0.01, style.decimalSeparator)) + QString::fromUtf8("\u2013") +
                              text(tickText(below, 0.01, style.decimalSeparator)) + unit;
        QString label = "drill-out " + range;
        if (fm.horizontalAdvance(label) > first.width() - 4) label = "drill-out";
        if (fm.horizontalAdvance(label) > first.width() - 4) continue;
        const double y = std::clamp((y1 + y2) / 2 - fm.height() / 2, g.plot.top(), g.plot.bottom() - fm.height());
        if (y < lastBottom) continue;  // never over the label above
        const QRectF box(first.left() + 2, y, fm.horizontalAdvance(label) + 4, fm.height());
        p.fillRect(box, QColor(255, 255, 255, 230));
        p.setPen(kText);
        p.drawText(QPointF(box.left() + 2, box.top() + fm.ascent()), label);
        lastBottom = box.bottom() + 1;
    }
}

}  // namespace

ProfileGeometry layoutProfile(const QRectF& area, const std::vector<const ProfileTrack*>& tracks,
                              const ProfileStyle& style, double top, double bottom) {
    ProfileGeometry g;
    g.area = area;
    g.top = top;
    g.bottom = bottom == top ? top + 1.0 : bottom;
    const QFontMetricsF fm(style.font), bm(titleFont(style));
    // As wide as the longest depth label, or the axis title.
    const double extreme = std::max(std::fabs(top), std::fabs(bottom));
    const bool negative = std::min(top, bottom) < 0;
    const double axisW = std::max(fm.horizontalAdvance(QString(negative ? "-" : "") +
                                                       text(tickText(extreme, 0.1, style.decimalSeparator))) + 10,
                                  fm.horizontalAdvance("DEPTH") + 8);
    const double plotW = std::max(1.0, area.width() - axisW - 2);
    const int n = std::max<int>(1, static_cast<int>(tracks.size()));
    const double gap = style.trackGap;
    const double w = std::max(1.0, (plotW - gap * (n - 1)) / n);
    int legend = 0;
    for (const ProfileTrack* t : tracks) legend = std::max(legend, legendRows(*t, w, fm));
    // The header: title, unit, legends, then the value tick labels above the plot.
    g.titleLines = 2;
    g.legendTop = area.top() + bm.height() * g.titleLines + fm.height();
    g.headerHeight = bm.height() * g.titleLines + fm.height() * (2 + legend) + kGap;
    g.axisColumn = QRectF(area.left(), area.top() + g.headerHeight, axisW, area.height() - g.headerHeight - 2);
    g.plot = QRectF(area.left() + axisW, area.top() + g.headerHeight, plotW,
                    std::max(1.0, area.height() - g.headerHeight - 2));
    for (std::size_t i = 0; i < tracks.size(); ++i)
        g.tracks.emplace_back(g.plot.left() + static_cast<double>(i) * (w + gap), g.plot.top(), w, g.plot.height());
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
    drawGaps(p, g, data, style);
    const DepthTicks depth = depthTicks(g.top, g.bottom, g.plot.height(), fm.height() * 2.5, data.feet);
    for (double v : depth.minors) {
        const double y = g.yOf(v);
        p.setPen(kFrame);
        p.drawLine(QPointF(g.axisColumn.right() - 2, y), QPointF(g.axisColumn.right(), y));
        p.setPen(kGrid);
        for (const QRectF& r : g.tracks) p.drawLine(QPointF(r.left(), y), QPointF(r.left() + 3, y));
    }
    for (double v : depth.majors) {
        const double y = g.yOf(v);
        p.setPen(kMajorGrid);
        for (const QRectF& r : g.tracks) p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(kText);
        p.drawLine(QPointF(g.axisColumn.right() - 4, y), QPointF(g.axisColumn.right(), y));
        const QString label = text(tickText(v, depth.major, style.decimalSeparator));
        const double w = fm.horizontalAdvance(label);
        const double ty = std::clamp(y - fm.height() / 2, g.axisColumn.top() - fm.height() / 2,
                                     g.axisColumn.bottom() - fm.height() / 2);
        p.drawText(QPointF(g.axisColumn.right() - 6 - w, ty + fm.ascent()), label);
    }

    std::vector<QPointF> raw, points;
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
            ProfileData line;
            ProfileSeries u0;
            line.axis.push_back(0.0f);
            u0.values.push_back(0.0f);
            for (const auto& [axis, value] : t.hydrostatic) {
                line.axis.push_back(static_cast<float>(axis));
                u0.values.push_back(static_cast<float>(value));
            }
            drawRun(p, g, line, t, r, u0, 1, static_cast<int32_t>(t.hydrostatic.size()), raw, points);
        }
        drawTrackMarks(p, r, t);
        if (zoneColumn) drawSoilZoneColumn(p, g, data, r, t);
        for (std::size_t s = 0; s < t.series.size() && !zoneColumn; ++s) {
            p.setPen(QPen(lineColour(t, s), style.line));
            p.setBrush(lineColour(t, s));
            for (const auto& [from, to] : t.series[s].runs)
                drawRun(p, g, data, t, r, t.series[s], from, to, raw, points);
            p.setBrush(Qt::NoBrush);
            drawClipMarks(p, g, data, t, r, t.series[s]);
        }
        p.restore();
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
