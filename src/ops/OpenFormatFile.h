#pragma once
// What an open-format writer (CSV, GEF-CPT, AGS4) hands back: the whole file
// as bytes, and the messages to give once it is written (which channels it
// left out). The writers read the Sounding as it stands, after every
// correction, and change nothing in it; header texts come from its fields,
// so the window passes a copy holding what its header boxes show.

#include <string>
#include <vector>

namespace qm {

struct OpenFormatFile {
    std::string bytes;
    std::vector<std::string> messages;
};

}  // namespace qm
