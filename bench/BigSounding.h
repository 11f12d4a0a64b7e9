#pragma once
// A sounding of 10000 readings and 10 channels, built in code, for the
// benchmarks: the file bytes in either layout and the tables to read them.

#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm::bench {

// Tables for types 1..10, each with the base unit and one scaled unit.
const ChannelTypeTable& benchTables();

// The whole file of the big sounding; newer = 3-digit layout.
std::string bigSoundingFile(bool newer);
// A sounding of `readings` x `channels` (types 1..channels); `seed` shifts its values.
std::string soundingFile(bool newer, int readings, int channels, int seed);

}  // namespace qm::bench
