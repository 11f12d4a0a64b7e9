#pragma once
// Positions given in a national grid, turned into WGS84 degrees for the GPS
// boxes. The coordinate library behind it is the one place that knows the
// grids; nothing else of the program sees it.

#include <optional>

namespace qm {

struct Wgs84Position {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
};

// Easting `x` and northing `y` in metres of the grid with this EPSG code
// (28992 Dutch RD New, 31370 Belgian Lambert 72, ...); nothing for an
// unknown grid or a point the transform cannot take.
std::optional<Wgs84Position> gridToWgs84(int epsg, double x, double y);

}  // namespace qm
