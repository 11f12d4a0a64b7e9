#pragma once
// What one command changed in a Sounding, and how to put it back and apply
// it again, byte for byte, without running the command again: the changed
// parts of the reading columns (see ArrayPatch) and, when the command
// touched them, the header, channel and sounding-wide fields before and
// after (a few hundred bytes, kept whole).

#include <cstdint>
#include <memory>
#include <vector>

#include "model/ArrayPatch.h"
#include "model/Sounding.h"

namespace qm {

class SoundingDelta {
   public:
    // Everything that differs between the two; the page cursor is left to
    // the caller (moving is no change).
    static SoundingDelta between(Sounding& before, Sounding& after);
    // One engineering value of channel c, reading r: a few bytes.
    static SoundingDelta ofValue(int c, int32_t r, float before, float after);

    bool empty() const { return parts_.empty() && !headBefore_; }
    void undo(Sounding& s) const { apply(s, false); }
    void redo(Sounding& s) const { apply(s, true); }
    std::size_t bytes() const;

   private:
    struct Part {
        int16_t column;  // Sounding::column(i)
        ArrayPatch patch;
    };
    void apply(Sounding& s, bool forward) const;

    std::vector<Part> parts_;
    // The Sounding without its reading columns.
    std::shared_ptr<const Sounding> headBefore_, headAfter_;
};

// The fields outside the reading columns and the cursor agree.
bool sameHead(const Sounding& a, const Sounding& b);

}  // namespace qm
