#pragma once
// Text from files and file names on the terminal: a header text or a file
// name may hold an escape sequence or a NUL byte, which printed raw would
// move the cursor, clear the screen or cut the line. Every message the
// batch tool prints goes through here.

#include <string>
#include <string_view>

namespace qm::cli {

// `text` with every control character (below 0x20, and DEL) written as
// \xHH, so "\x1b[2J" is shown and not obeyed.
std::string terminalText(std::string_view text);

}  // namespace qm::cli
