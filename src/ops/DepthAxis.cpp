#include "ops/DepthAxis.h"

#include <cmath>
#include <optional>

#include "model/NumberText.h"
#include "ops/SingleRounding.h"

namespace qm {

namespace {

constexpr double kIncrementStep = 0.005;

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool isElevation(const Sounding& s) { return s.depthFormat != kDepthFormatDepth; }

}  // namespace

StartDepthCaptions startDepthCaptions(int16_t depthFormat) {
    if (depthFormat != kDepthFormatDepth)
        return {"CHANGE START ELEVATION", "Current Start Elevation", "New Start Elevation"};
    return {"CHANGE START DEPTH", "Current Start Depth", "New Start Depth"};
}

std::string currentStartDepthText(const Sounding& s, char sep) { return formatPattern(s.depth[1], "##0.00", sep); }

OpResult changeStartDepth(Sounding& s, std::string_view newText, std::string_view currentText, char sep) {
    OpResult result;
    const std::string what = isElevation(s) ? "start elevation" : "start depth";
    const std::string unchanged = isElevation(s) ? " The elevations were not changed." : " The depths were not changed.";
    const std::optional<double> wanted = localeTextToNumber(newText, sep);
    if (!wanted) {
        result.messages.push_back("The new " + what + " " + quoted(newText) + " is not a number." + unchanged);
        return result;
    }
    const std::optional<double> current = localeTextToNumber(currentText, sep);
    if (!current) {
        result.messages.push_back("The current " + what + " " + quoted(currentText) + " is not a number." + unchanged);
        return result;
    }
    const float offset = roundToSingle(*wanted - *current);
    if (!std::isfinite(offset)) {
        result.messages.push_back("The new " + what + " " + quoted(newText) + " is out of range." + unchanged);
        return result;
    }
    for (int32_t r = 1; r <= s.readingCount; ++r) s.depth[r] = offset + s.depth[r];
    result.ok = true;
    return result;
}

OpResult changeStartDepth(Sounding& s, std::string_view newText, char sep) {
    return changeStartDepth(s, newText, currentStartDepthText(s, sep), sep);
}

std::string incrementText(float increment, char sep) { return formatPattern(increment, "##0.000", sep); }

void IncrementStepper::increase() { pending_ = roundToSingle(static_cast<double>(pending_) + kIncrementStep); }

bool IncrementStepper::decrease(const Sounding& s) {
    if (!(kIncrementStep < static_cast<double>(s.depthIncrement))) return false;
    pending_ = roundToSingle(static_cast<double>(pending_) - kIncrementStep);
    return true;
}

OpResult changeIncrement(Sounding& s, std::string_view newText, char sep) {
    OpResult result;
    const char* const unchanged = " The depths were not changed.";
    const std::optional<double> typed = localeTextToNumber(newText, sep);
    if (!typed) {
        result.messages.push_back("The new increment " + quoted(newText) + " is not a number." + unchanged);
        return result;
    }
    const float pending = roundToSingle(*typed);
    // Zero would leave the depths on one point and every later ratio undefined.
    if (!(pending > 0.0f)) {
        result.messages.push_back(std::string("The new increment must be greater than 0.") + unchanged);
        return result;
    }
    if (!(s.depthIncrement > 0.0f) || !std::isfinite(s.depthIncrement)) {
        result.messages.push_back(
            "The current depth increment is 0, so the depths cannot be rescaled from it. Nothing was changed.");
        return result;
    }
    const float ratio = pending / s.depthIncrement;
    if (!std::isfinite(pending) || !std::isfinite(ratio)) {
        result.messages.push_back("The new increment " + quoted(newText) + " is out of range." + unchanged);
        return result;
    }
    // The depth axis is proportional to the increment, and a speed worked
    // out from a wrong increment is wrong by the same factor.
    for (int32_t r = 1; r <= s.readingCount; ++r) {
        s.value(0, r) = s.value(0, r) * ratio;
        s.speed[r] = s.speed[r] * ratio;
        s.depth[r] = s.depth[r] * ratio;
    }
    s.depthIncrement = pending;
    result.ok = true;
    return result;
}

std::string_view depthLabelCaption(int16_t depthFormat) {
    return depthFormat != kDepthFormatDepth ? "ELEVATION" : "DEPTH";
}

void applyDepthFormat(Sounding& s) {
    if (s.depthFormat == s.depthFormatApplied) return;
    for (int32_t r = 1; r <= s.readingCount; ++r) s.depth[r] = -s.depth[r];
    s.depthFormatApplied = s.depthFormat;
}

void setDepthFormat(Sounding& s, int16_t format) {
    s.depthFormat = format != kDepthFormatDepth ? kDepthFormatElevation : kDepthFormatDepth;
    applyDepthFormat(s);
}

}  // namespace qm
