#pragma once
// The water table depth box holds a text. The exports write it as a number
// when it is one, with either decimal separator, since the text may come
// from a file written in the other mode.

#include <optional>
#include <string_view>

namespace qm {

std::optional<float> waterTableDepth(std::string_view text);

}  // namespace qm
