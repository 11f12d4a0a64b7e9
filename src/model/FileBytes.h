#pragma once
// The bytes of a whole file, read or about to be written, in memory that is
// not zeroed first (every byte is filled before it is used).
//
// A sounding file is some megabytes, and most of the time of a one-file run
// of the batch tool went into the first touch of each 4 KiB page of such
// buffers. A large buffer is therefore asked for in 2 MiB pages where the
// system offers them (one first touch then maps a whole 2 MiB), and the last
// large buffer a thread let go of is kept for its next one, so a run over
// many files touches its buffers' pages once.

#include <cstddef>
#include <string_view>
#include <utility>

namespace qm {

class FileBytes {
   public:
    FileBytes() = default;
    ~FileBytes() { release(); }
    FileBytes(FileBytes&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    FileBytes& operator=(FileBytes&& other) noexcept {
        if (this != &other) {
            release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
        }
        return *this;
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

    // Room for `capacity` bytes; what is held stays.
    void reserve(std::size_t capacity);
    // `size` bytes; those past the old size are not set.
    void resize(std::size_t size) {
        reserve(size);
        size_ = size;
    }
    void append(const char* bytes, std::size_t n);
    void append(std::string_view bytes) { append(bytes.data(), bytes.size()); }

   private:
    void release() noexcept;

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace qm
