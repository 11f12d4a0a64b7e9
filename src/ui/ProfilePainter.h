#pragma once
// Draws a profile onto any QPainter: the window's view, and files of any
// resolution. The geometry says where the depth axis, each track and the
// shown depth window lie; the tracks are drawn once, the cursor line and
// the band of the page's readings over them as often as the page moves.

#include <QFont>
#include <QRectF>
#include <vector>

#include "model/ProfileData.h"

class QPainter;

namespace qm::ui {

struct ProfileGeometry {
    QRectF area;                 // all of it
    QRectF axisColumn;           // the depth tick labels
    QRectF plot;                 // the tracks' plotting height, all tracks across
    std::vector<QRectF> tracks;  // each track's plotting rectangle
    double headerHeight = 0.0;
    double legendTop = 0.0;          // the legends' band in the header
    int titleLines = 2;              // lines the titles take
    double top = 0.0, bottom = 1.0;  // axis values at plot.top() and plot.bottom()

    double yOf(double axisValue) const {
        return plot.top() + (axisValue - top) / (bottom - top) * plot.height();
    }
    double axisAt(double y) const { return top + (y - plot.top()) / plot.height() * (bottom - top); }
};

struct ProfileStyle {
    QFont font;         // tick labels; titles use it in bold
    double line = 1.0;  // width of the data lines in device pixels
    char decimalSeparator = '.';
    double trackGap = 8.0;  // between neighbouring tracks, so their tick labels stay apart
};

// Where everything goes in `area` for `tracks` showing the axis values from
// `top` to `bottom` (top > bottom in elevation format): the header holds
// each track's title (two lines), unit, legend (as many rows as the widest
// legend needs) and value tick labels above the tracks.
ProfileGeometry layoutProfile(const QRectF& area, const std::vector<const ProfileTrack*>& tracks,
                              const ProfileStyle& style, double top, double bottom);

// The axis, grid, titles, tick labels, legends and lines of `tracks`.
void drawProfile(QPainter& p, const ProfileGeometry& g, const ProfileData& data,
                 const std::vector<const ProfileTrack*>& tracks, const ProfileStyle& style);

// The band over the axis range [bandFrom, bandTo] and the line at `cursor`.
void drawProfileCursor(QPainter& p, const ProfileGeometry& g, double bandFrom, double bandTo, double cursor);
// The band's and the line's rectangles, so a view repaints only them.
QRectF profileBandRect(const ProfileGeometry& g, double bandFrom, double bandTo);
QRectF profileCursorRect(const ProfileGeometry& g, double cursor);

}  // namespace qm::ui
