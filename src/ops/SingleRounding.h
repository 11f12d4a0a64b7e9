#pragma once
// Storing a higher-precision intermediate as Single. A double beyond the float
// range becomes an infinity of its sign instead of an undefined conversion.

#include <cmath>
#include <limits>

namespace qm {

inline float roundToSingle(double x) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (x > kMax) return std::numeric_limits<float>::infinity();
    if (x < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);
}

}  // namespace qm
