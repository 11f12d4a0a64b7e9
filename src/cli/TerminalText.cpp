#include "cli/TerminalText.h"

namespace qm::cli {

std::string terminalText(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += ch;
            continue;
        }
        shown += "\\x";
        shown += kHex[byte >> 4];
        shown += kHex[byte & 0xf];
    }
    return shown;
}

}  // namespace qm::cli
