#pragma once
// Edits of the depth axis as a whole: a new start depth (or elevation), a
// corrected depth increment, and the switch between depth and elevation.
// Texts typed into the panels are read with the locale's decimal separator
// `sep`; a refused text changes nothing. The caller refreshes the page, which
// recomputes the page depth column from the depths.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

constexpr int16_t kDepthFormatDepth = 0;
constexpr int16_t kDepthFormatElevation = 1;

// ---- Start depth panel -------------------------------------------------

struct StartDepthCaptions {
    std::string_view frame;         // frmChangeStartDepth
    std::string_view currentLabel;  // Label22
    std::string_view newLabel;      // Label23
};
StartDepthCaptions startDepthCaptions(int16_t depthFormat);

// Depth(1) as the panel shows it, two decimals: lblCurrentStartDepth and the
// first text of txtNewStartDepth.
std::string currentStartDepthText(const Sounding& s, char sep);

// OK: moves every depth by (new - current), both read from their texts, so
// the offset is taken from the shown two-decimal value, not from Depth(1).
OpResult changeStartDepth(Sounding& s, std::string_view newText, std::string_view currentText, char sep);
// The same with the current value as the panel would show it now.
OpResult changeStartDepth(Sounding& s, std::string_view newText, char sep);

// ---- Increment panel ---------------------------------------------------

// An increment as the panel shows it, three decimals.
std::string incrementText(float increment, char sep);

// PendingIncrement: the increment the INCREASE and DECREASE buttons step.
class IncrementStepper {
   public:
    IncrementStepper() = default;
    // Opening the panel: starts from the accepted increment.
    explicit IncrementStepper(const Sounding& s) : pending_(s.depthIncrement) {}
    void increase();
    // Steps down only while the accepted increment (not the pending one) is
    // above 0.005; returns whether it stepped.
    bool decrease(const Sounding& s);
    float pending() const { return pending_; }
    std::string text(char sep) const { return incrementText(pending_, sep); }

   private:
    float pending_ = 0.0f;
};

// OK: the typed increment replaces DepthIncrement and every depth and speed
// is scaled by new / old. A text that is not a number, an increment not
// above 0, or a current increment of 0 is refused with a message.
OpResult changeIncrement(Sounding& s, std::string_view newText, char sep);

// ---- Depth format ------------------------------------------------------

// lblDepthLabel's caption: "DEPTH" or "ELEVATION".
std::string_view depthLabelCaption(int16_t depthFormat);

// Brings the stored depths into DepthFormat: negates them when
// DepthFormatApplied differs, otherwise changes nothing.
void applyDepthFormat(Sounding& s);

// The "Depth" / "Elevation" commands: DepthFormat = format, then ApplyDepthFormat.
void setDepthFormat(Sounding& s, int16_t format);

}  // namespace qm
