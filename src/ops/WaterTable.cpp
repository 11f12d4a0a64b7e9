#include "ops/WaterTable.h"

#include <cmath>

#include "model/NumberText.h"

namespace qm {

std::optional<float> waterTableDepth(std::string_view text) {
    std::optional<double> v = localeTextToNumber(text, '.');
    if (!v) v = localeTextToNumber(text, ',');
    if (!v || !std::isfinite(static_cast<float>(*v))) return std::nullopt;
    return static_cast<float>(*v);
}

}  // namespace qm
