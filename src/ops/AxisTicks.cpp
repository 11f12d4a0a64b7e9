#include "ops/AxisTicks.h"

#include <algorithm>
#include <cmath>

#include "model/NumberText.h"

namespace qm {

double tickStep(double low, double high, int maxTicks) {
    if (low > high) std::swap(low, high);
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    // The finest step of 1, 2 or 5 times a power of ten whose ticks number
    // no more than maxTicks.
    const double rough = span / std::max(1, maxTicks);
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (int i = 0; i < 40; ++i, power *= 10.0)
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            const double count = std::floor(high / step + 1e-9) - std::ceil(low / step - 1e-9) + 1.0;
            if (count <= std::max(1, maxTicks)) return step;
        }
    return span;
}

namespace {

std::vector<double> multiples(double low, double high, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(low) || !std::isfinite(high)) return ticks;
    for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9 && ticks.size() < 1000; k += 1.0)
        ticks.push_back(std::fabs(k) < 1e-12 ? 0.0 : k * step);
    return ticks;
}

}  // namespace

std::vector<double> niceTicks(double low, double high, int maxTicks) {
    if (low > high) std::swap(low, high);
    return multiples(low, high, tickStep(low, high, maxTicks));
}

std::string tickText(double value, double step, char sep) {
    int decimals = 0;
    if (step > 0.0 && step < 1.0) decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
    const std::string pattern = decimals ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    return formatPattern(std::fabs(value) < step * 1e-6 ? 0.0 : value, pattern, sep);
}

DepthTicks depthTicks(double top, double bottom, double length, double labelSpacing, bool feet) {
    DepthTicks t;
    const double low = std::min(top, bottom), high = std::max(top, bottom);
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span) || !(length > 0.0)) return t;
    const double pixelsPerUnit = length / span;
    // A log page reads best with a label every metre (every 5 ft); finer
    // steps serve a window zoomed in to less than three of them, and then
    // the coarsest that still gives three intervals.
    const double least = feet ? 5.0 : 1.0;
    const bool zoomedIn = span / least < 3.0 * (1 - 1e-9);
    std::vector<double> steps;
    for (double power = 1e-3; power < 1e7; power *= 10.0)
        for (double m : {1.0, 2.0, 5.0}) steps.push_back(m * power);
    auto fits = [&](double step) { return step * pixelsPerUnit >= labelSpacing; };
    double chosen = 0.0;
    if (zoomedIn)
        for (double step : steps)
            if (step < least * (1 - 1e-9) && span / step >= 3.0 * (1 - 1e-9) && fits(step)) chosen = step;
    if (chosen == 0.0)
        for (double step : steps)
            if ((zoomedIn || step >= least * (1 - 1e-9)) && fits(step)) {
                chosen = step;
                break;
            }
    if (chosen == 0.0) chosen = span;
    t.major = chosen;
    const double mantissa = chosen / std::pow(10.0, std::floor(std::log10(chosen) + 1e-9));
    const double minor = chosen / (std::fabs(mantissa - 2.0) < 1e-6 ? 4.0 : 5.0);
    if (minor * pixelsPerUnit >= 3.0) t.minor = minor;
    t.majors = multiples(low, high, t.major);
    if (t.minor > 0.0)
        for (double v : multiples(low, high, t.minor)) {
            const double k = v / t.major;
            if (std::fabs(k - std::round(k)) > 1e-6) t.minors.push_back(v);
        }
    return t;
}

}  // namespace qm
