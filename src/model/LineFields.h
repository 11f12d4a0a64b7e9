#pragma once
// The column grid shared by the channel lines and the data rows: a lead of
// 13 columns, then a 20-character field per channel.

#include <string>
#include <string_view>
#include <vector>

namespace qm {

constexpr int kLeadWidth = 13;
constexpr int kFieldWidth = 20;

// Characters `first`..`last` (1-based, inclusive) of the line; fewer, or an
// empty text, when the line ends earlier.
std::string columns(std::string_view line, int first, int last);

// Field c (1-based) of a channel line or data row.
std::string channelField(std::string_view line, int c);

// The same as views into the line, for the reader's hot loop.
std::string_view columnsView(std::string_view line, int first, int last);
std::string_view channelFieldView(std::string_view line, int c);

// How many whole 20-character fields the line's length gives.
int fieldCountOf(std::string_view line);

// Splits file bytes into lines ending at CR, LF or CR LF (a lone LF is taken
// as a line end too, so files edited on other systems still read). A final
// line without a line end counts; the empty text after a last line end does
// not.
std::vector<std::string> splitLines(std::string_view bytes);
// The same as views into `bytes`, which must outlive them.
std::vector<std::string_view> splitLineViews(std::string_view bytes);

// False only when the line surely holds no letter and no '*', the only
// characters a marker line can be told by; data rows hold none, so the
// marker search skips them. True may also mean "look closer".
bool mayHoldMarker(std::string_view line);

// The text with its leading spaces removed.
std::string withoutLeadingSpaces(std::string_view text);

bool containsNoCase(std::string_view text, std::string_view what);

}  // namespace qm
