#pragma once
// Where the profile and the log put their ticks: the value ticks across a
// track, and the depth ticks down the axis with labelled major ticks at
// round steps and unlabelled minor ticks between them. One rule for the
// window at every zoom and for every page of the log.

#include <string>
#include <vector>

namespace qm {

// Tick values from `low` to `high` (inclusive within rounding), at a step of
// 1, 2 or 5 times a power of ten, at most `maxTicks` of them.
double tickStep(double low, double high, int maxTicks);
std::vector<double> niceTicks(double low, double high, int maxTicks);
// A tick's label: as many decimals as the step needs, `sep` as separator.
std::string tickText(double value, double step, char sep);

struct DepthTicks {
    double major = 1.0, minor = 0.0;  // steps; minor 0: none drawn
    std::vector<double> majors, minors;
};

// The depth ticks for the axis values `top` to `bottom` (either order) drawn
// over `length` pixels, whose labels must stand at least `labelSpacing`
// pixels apart. Majors come at 1, 2 or 5 times a power of ten metres (feet:
// 5, 10, 20, 50, ...), never finer than a metre (5 ft) while the span holds
// three of them; a shorter span takes the coarsest finer step that gives
// three intervals. Minors split a major step in five (in four for a step
// of 2) and are left out when they would stand closer than 3 pixels.
DepthTicks depthTicks(double top, double bottom, double length, double labelSpacing, bool feet);

}  // namespace qm
