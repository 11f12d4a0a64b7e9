#include "model/FileBytes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qm {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kSmallPage = 4096;
// Below this a buffer takes ordinary pages: rounding it up to 2 MiB would
// cost more than the page touches it saves.
constexpr std::size_t kLargeEnough = std::size_t{1} << 20;

// The last large buffer this thread let go of, for its next one.
struct Spare {
    char* data = nullptr;
    std::size_t capacity = 0;
    ~Spare() { std::free(data); }
};
thread_local Spare spare;

// A buffer of at least `capacity` bytes; `capacity` becomes what it holds.
char* allocate(std::size_t& capacity) {
    if (capacity < kLargeEnough) {
        if (void* p = std::malloc(std::max<std::size_t>(capacity, 1))) return static_cast<char*>(p);
        throw std::bad_alloc();
    }
    if (spare.data && spare.capacity >= capacity) {
        capacity = spare.capacity;
        return std::exchange(spare.data, nullptr);
    }
    // Whole large pages where rounding up wastes at most a quarter;
    // otherwise large pages for the whole ones it holds and ordinary ones
    // for the rest (a 2.1 MB file would leave most of a second 2 MiB page
    // unused, yet zeroed and resident).
    const std::size_t rounded = (capacity + kLargePage - 1) / kLargePage * kLargePage;
    const bool roundUp = (rounded - capacity) * 4 <= rounded;
    const std::size_t size = roundUp ? rounded : (capacity + kSmallPage - 1) / kSmallPage * kSmallPage;
    void* p = nullptr;
    if (::posix_memalign(&p, kLargePage, size) != 0) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    // Only a hint: where it is refused the pages are ordinary ones.
    if (const std::size_t large = roundUp ? size : capacity / kLargePage * kLargePage; large > 0)
        ::madvise(p, large, MADV_HUGEPAGE);
#endif
    capacity = size;
    return static_cast<char*>(p);
}

}  // namespace

void FileBytes::release() noexcept {
    if (capacity_ >= kLargeEnough && capacity_ >= spare.capacity) {
        std::free(spare.data);
        spare.data = std::exchange(data_, nullptr);
        spare.capacity = capacity_;
    } else {
        std::free(data_);
        data_ = nullptr;
    }
    size_ = capacity_ = 0;
}

void FileBytes::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    // Grown by half at least, so bytes appended a line at a time move
    // only a few times.
    std::size_t wanted = std::max(capacity, capacity_ + capacity_ / 2);
    char* fresh = allocate(wanted);
    if (size_ > 0) std::memcpy(fresh, data_, size_);
    const std::size_t held = size_;
    release();
    data_ = fresh;
    size_ = held;
    capacity_ = wanted;
}

void FileBytes::append(const char* bytes, std::size_t n) {
    if (n == 0) return;
    reserve(size_ + n);
    std::memcpy(data_ + size_, bytes, n);
    size_ += n;
}

}  // namespace qm
