#pragma once
// What an operation hands back to its caller: whether it did its work, and
// the message texts to show, in order (the window shows each in a box, the
// batch tool prints each on stderr).

#include <string>
#include <vector>

namespace qm {

struct OpResult {
    bool ok = false;
    std::vector<std::string> messages;
};

}  // namespace qm
