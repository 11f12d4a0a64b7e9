#include "model/ArrayPatch.h"

#include <cstring>

namespace qm {

namespace {

bool same(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A moved block shorter than this is kept as plain values: the bookkeeping
// would cost more than it saves.
constexpr std::size_t kShortestBlock = 8;

}  // namespace

ArrayPatch ArrayPatch::between(const float* before, const float* after, std::size_t size, std::ptrdiff_t shiftHint) {
    ArrayPatch p;
    std::size_t lo = 0;
    while (lo < size && same(before[lo], after[lo])) ++lo;
    if (lo == size) return p;
    std::size_t hi = size;  // [lo, hi) differs somewhere at both ends
    while (hi > lo && same(before[hi - 1], after[hi - 1])) --hi;
    p.prefix_ = lo;
    p.end_ = size - hi;

    // The longest run with before[i] == after[i + shift], both inside [lo, hi).
    std::size_t blockStart = lo, blockLength = 0;
    const std::ptrdiff_t d = shiftHint;
    const auto span = static_cast<std::ptrdiff_t>(hi - lo);
    if (d != 0 && (d < 0 ? -d : d) < span) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(lo) + (d < 0 ? -d : 0);
        const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(hi) - (d > 0 ? d : 0);  // exclusive
        std::size_t run = 0;
        for (std::ptrdiff_t i = first; i < last; ++i) {
            if (same(before[i], after[i + d])) {
                ++run;
                if (run > blockLength) {
                    blockLength = run;
                    blockStart = static_cast<std::size_t>(i) + 1 - run;
                }
            } else {
                run = 0;
            }
        }
    }
    if (blockLength < kShortestBlock) {
        blockLength = 0;
        blockStart = lo;
    }
    const std::size_t blockAfter = blockLength ? static_cast<std::size_t>(static_cast<std::ptrdiff_t>(blockStart) + d) : lo;
    p.block_ = blockLength;
    p.blockBefore_ = blockStart;
    p.blockAfter_ = blockAfter;
    p.beforeMiddle_.assign(before + lo, before + blockStart);
    p.beforeTail_.assign(before + blockStart + blockLength, before + hi);
    p.afterMiddle_.assign(after + lo, after + blockAfter);
    p.afterTail_.assign(after + blockAfter + blockLength, after + hi);
    return p;
}

ArrayPatch ArrayPatch::ofOne(std::size_t index, std::size_t size, float before, float after) {
    ArrayPatch p;
    if (same(before, after) || index >= size) return p;
    p.prefix_ = index;
    p.end_ = size - index - 1;
    p.blockBefore_ = p.blockAfter_ = index + 1;
    p.beforeMiddle_.push_back(before);
    p.afterMiddle_.push_back(after);
    return p;
}

void ArrayPatch::rebuild(float* data, std::size_t size, const std::vector<float>& middle,
                         const std::vector<float>& tail, std::size_t blockTo, std::size_t blockFrom) const {
    if (empty()) return;
    // An array of another size than the recorded one is left alone rather
    // than written past its end.
    if (prefix_ + middle.size() + block_ + tail.size() + end_ != size) return;
    // The shared block first, while the other side's middle still surrounds
    // it; then this side's own parts around its new place.
    if (block_ > 0 && blockTo != blockFrom) std::memmove(data + blockTo, data + blockFrom, block_ * sizeof(float));
    if (!middle.empty()) std::memcpy(data + prefix_, middle.data(), middle.size() * sizeof(float));
    if (!tail.empty()) std::memcpy(data + blockTo + block_, tail.data(), tail.size() * sizeof(float));
}

std::size_t ArrayPatch::bytes() const {
    return sizeof(ArrayPatch) +
           (beforeMiddle_.capacity() + afterMiddle_.capacity() + beforeTail_.capacity() + afterTail_.capacity()) *
               sizeof(float);
}

}  // namespace qm
