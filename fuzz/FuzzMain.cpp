// One fuzz target: libFuzzer calls this with each input it makes. The check
// is chosen when the target is built (QM_FUZZ_CHECK names it).
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qm::fuzz::QM_FUZZ_CHECK(data, size);
    return 0;
}
