#pragma once
// One column of a sounding's readings, indexed by reading number: the
// depths, the speeds, or one channel's raw readings or engineering values.
//
// A column holds only the readings it was given, so a sounding of 1000
// readings costs what 1000 readings take, not the 10000 of a full record.
// Yet it behaves as if it were the full zeroed record of earlier: a reading
// past its end reads as 0, and writing one first lengthens the column with
// zeros. It never gets shorter, so what lay past the last reading stays, as
// in a full record. Reading numbers past kReadingSlots read 0 and writes to
// them are dropped: no column is ever written outside its memory.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

constexpr int kMaxReadings = 10000;
// Reading slots 0..kMaxReadings plus one spare, so loops that look one past
// the last reading (Delete copies reading ReadingCount + 1) stay in bounds.
constexpr int kReadingSlots = kMaxReadings + 2;

class ReadingColumn {
   public:
    float operator[](std::size_t r) const { return r < cells_.size() ? cells_[r] : 0.0f; }
    float& operator[](std::size_t r) {
        if (r < cells_.size()) return cells_[r];
        return reach(r);
    }

    // At least `count` readings (0..count-1), zeros added; the readings for
    // code that walks the column by pointer. Never beyond kReadingSlots.
    float* hold(std::size_t count) {
        if (count > kReadingSlots) count = kReadingSlots;
        if (cells_.size() < count) cells_.resize(count, 0.0f);
        return cells_.data();
    }
    std::size_t size() const { return cells_.size(); }
    const float* data() const { return cells_.data(); }
    float* data() { return cells_.data(); }

    // Empty again, keeping the memory for the next sounding read into it.
    void clear() { cells_.clear(); }
    void swap(ReadingColumn& other) noexcept { cells_.swap(other.cells_); }

   private:
    float& reach(std::size_t r) {
        if (r >= kReadingSlots) {
            dropped_ = 0.0f;
            return dropped_;
        }
        // Grown as a vector grows, so a column filled reading by reading
        // costs no more than one sized at once.
        if (cells_.capacity() <= r)
            cells_.reserve(std::min<std::size_t>(kReadingSlots, std::max<std::size_t>(r + 1, 2 * cells_.capacity())));
        cells_.resize(r + 1, 0.0f);
        return cells_[r];
    }

    std::vector<float> cells_;
    float dropped_ = 0.0f;  // what a write past the last slot lands in
};

}  // namespace qm
