#pragma once
// What a command changed in one array of floats, kept small enough that a
// long undo history fits in memory: the parts both sides share are not kept.
//
// Before and after are split as  P + Mb + S + Tb + E  and  P + Ma + S + Ta + E:
// P a common beginning, E a common end at the same places, and S a common
// block that may sit at another place on each side (readings inserted or
// deleted above it move it). Only the four middle parts are kept, so an
// edited value costs two floats and a gap filled near the top costs the
// inserted readings, not the thousands of readings that moved down.
// Floats are compared bit for bit, so -0, NaN and NoDataValue come back as
// they were.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

class ArrayPatch {
   public:
    ArrayPatch() = default;
    // `shiftHint`: by how many places the block is expected to have moved
    // (after minus before), 0 when nothing moved.
    static ArrayPatch between(const float* before, const float* after, std::size_t size, std::ptrdiff_t shiftHint);
    // A patch of element `index` of an array of `size` elements.
    static ArrayPatch ofOne(std::size_t index, std::size_t size, float before, float after);

    bool empty() const { return beforeMiddle_.empty() && afterMiddle_.empty() && beforeTail_.empty() && afterTail_.empty(); }
    // Turns an array holding the after side into the before side, or back.
    void undo(float* data, std::size_t size) const {
        rebuild(data, size, beforeMiddle_, beforeTail_, blockBefore_, blockAfter_);
    }
    void redo(float* data, std::size_t size) const {
        rebuild(data, size, afterMiddle_, afterTail_, blockAfter_, blockBefore_);
    }
    std::size_t bytes() const;
    // The length of the array it was taken from.
    std::size_t size() const { return prefix_ + beforeMiddle_.size() + block_ + beforeTail_.size() + end_; }

   private:
    void rebuild(float* data, std::size_t size, const std::vector<float>& middle, const std::vector<float>& tail,
                 std::size_t blockTo, std::size_t blockFrom) const;

    std::size_t prefix_ = 0;       // |P|
    std::size_t end_ = 0;          // |E|
    std::size_t block_ = 0;        // |S|
    std::size_t blockBefore_ = 0;  // where S starts on the before side
    std::size_t blockAfter_ = 0;   // and on the after side
    std::vector<float> beforeMiddle_, afterMiddle_, beforeTail_, afterTail_;
};

}  // namespace qm
