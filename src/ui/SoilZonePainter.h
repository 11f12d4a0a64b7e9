#pragma once
// What the interpretation's tracks draw beyond lines: the marks down a
// track (Ic's zone boundaries), the soil behaviour type column in the
// colours of its zones, and that column's legend. The profile's drawing
// code calls these for the tracks that ask for them.

#include <QRectF>

#include "model/ProfileData.h"
#include "ui/ProfilePainter.h"

class QPainter;

namespace qm::ui {

void drawTrackMarks(QPainter& p, const QRectF& r, const ProfileTrack& t);
void drawSoilZoneColumn(QPainter& p, const ProfileGeometry& g, const ProfileData& data, const QRectF& r,
                        const ProfileTrack& t);
void drawSoilZoneLegend(QPainter& p, const ProfileGeometry& g, const QRectF& r, const ProfileStyle& style);

}  // namespace qm::ui
