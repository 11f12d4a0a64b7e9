#pragma once
// How large a file of each format the program reads can be. A file beyond
// its format's bound cannot hold what the format holds at most, so it is
// refused before anything of it is read: a disk image picked by mistake
// must never fill the memory. Each bound is derived from the format's
// capacities and leaves generous room for long lines (docs/file-limits.md
// gives the arithmetic).

#include <cstddef>
#include <limits>

namespace qm {

struct FileLimit {
    std::size_t maxBytes;
    // What such a file is, for the message: "a sounding file".
    const char* what;
};

// 23 header lines and at most 10000 data rows of 13 + 10 x 20 characters
// and CR LF (215 bytes): 2.15 MB when full. The bound lets every line be
// about seven times as long (header texts, fields written wider than their
// column, drill-out marker lines between the rows).
inline constexpr FileLimit kSoundingFileLimit{std::size_t{16} << 20, "a sounding file"};

// Seven description lines, the unit count and at most 10 units of a name,
// a display pattern and a factor: under 1 KB as shipped. The bound leaves
// room for descriptions a hundred times as long.
inline constexpr FileLimit kChannelTableLimit{std::size_t{64} << 10, "a channel type table"};

// GEF-CPT: a header of some hundred lines and at most 10000 data rows of
// up to 16 columns of at most 20 characters: about 3.3 MB when full.
inline constexpr FileLimit kGefFileLimit{std::size_t{32} << 20, "a GEF-CPT file"};

// AGS4: the descriptive groups and at most 10000 SCPT rows of up to 20
// quoted fields of at most 30 characters: about 6.5 MB when full.
inline constexpr FileLimit kAgsFileLimit{std::size_t{64} << 20, "an AGS4 file"};

// Any file at all (File > Copy): no bound of a format, only that it is a file.
inline constexpr FileLimit kAnyFile{std::numeric_limits<std::size_t>::max(), "a file"};

}  // namespace qm
