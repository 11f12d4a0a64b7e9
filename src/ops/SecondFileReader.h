#pragma once
// The reader of the second file of a combine. It follows the sounding file
// layout line for line but differs from File > Open: no menu, digit or
// header box changes; the data layout comes from the file's own version line
// (older: depth in columns 1-6, speed 7-13; newer: depth 1-7, speed 8-13); a
// trailing baseline line is skipped after the first reading; every channel
// value is converted at once, with the open sounding's calibration when both
// tests used the same cone and with the second file's own otherwise, and in
// either case into the unit the open sounding's channel shows, since that is
// the unit its values are held and saved in.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

// The second file as read, with how its channels meet the open sounding's.
struct SecondSounding {
    // Header and channel lines as File > Open leaves them (unit factors from
    // the table), readings with their converted values.
    Sounding sounding;
    // channelMap[c]: the open sounding's channel of the same type (the
    // higher index when it has two), 0 when it has none.
    std::array<int16_t, kMaxChannels + 1> channelMap{};
    // The cone number texts are equal, letter case and blanks included.
    bool sameCone = false;
    // The open sounding's unit factor that channel c's values were made out
    // in, so a unit changed before OK can still be followed.
    std::array<float, kMaxChannels + 1> unitFactorUsed{};
    // The last read passed every check, so OK may append it.
    bool readyToAppend = false;
};

inline constexpr const char* kSameConeMessage =
    "The same cone was used for both tests.  The baseline of the first file will be used.";
inline constexpr const char* kDifferentConesMessage =
    "Different cones have been used.  The conversion factors of the second file will be used.";
inline constexpr const char* kChannelCountMessage =
    "There number of channels recorded in the 1st file do not match the number of channels in the 2nd "
    "file.  Only those channels that are in both files will be recorded.";

// channelMap[c] for a second file whose channel types are `types[1..count]`.
std::array<int16_t, kMaxChannels + 1> channelMapOf(const Sounding& first,
                                                   const std::array<int16_t, kMaxChannels + 1>& types,
                                                   int count);

// Parses the bytes of the second file against the open sounding `first`.
// Messages, in order: the cone message, the channel-count message when the
// counts differ, one drill-out message per marker line. A file that File >
// Open would refuse (its header and channel lines are checked by that very
// reader), a data row without its numbers, more than 10000 readings or no
// reading at all refuse the file with a single message, and `out` is left as
// it was. On success `out` is replaced whole (nothing of an earlier second
// file stays), with readyToAppend still false: the caller's checks decide.
OpResult readSecondSoundingText(std::string_view bytes, const Sounding& first, const ChannelTypeTable& table,
                                int commaDecimalMode, SecondSounding& out);

}  // namespace qm
