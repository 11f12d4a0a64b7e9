#include "model/LineFields.h"

#include <algorithm>
#include <cstdint>
#include <cstring>


namespace qm {

std::string_view columnsView(std::string_view line, int first, int last) {
    if (first < 1) first = 1;
    if (last < first) return {};
    const auto start = static_cast<std::size_t>(first - 1);
    if (start >= line.size()) return {};
    return line.substr(start, static_cast<std::size_t>(last - first + 1));
}

std::string_view channelFieldView(std::string_view line, int c) {
    const int first = kLeadWidth + 1 + kFieldWidth * (c - 1);
    return columnsView(line, first, first + kFieldWidth - 1);
}

std::string columns(std::string_view line, int first, int last) { return std::string(columnsView(line, first, last)); }

std::string channelField(std::string_view line, int c) { return std::string(channelFieldView(line, c)); }

int fieldCountOf(std::string_view line) { return static_cast<int>(line.size() / kFieldWidth); }

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::string_view l : splitLineViews(bytes)) lines.emplace_back(l);
    return lines;
}

std::vector<std::string_view> splitLineViews(std::string_view bytes) {
    std::vector<std::string_view> lines;
    lines.reserve(bytes.size() / 64 + 1);
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // memchr for each kind of line end, each searched again only once passed.
    auto find = [end](const char* from, char what) {
        const void* hit = from < end ? std::memchr(from, what, static_cast<std::size_t>(end - from)) : nullptr;
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* start = begin;
    const char* cr = find(start, '\r');
    const char* lf = find(start, '\n');
    while (start < end) {
        const char* stop = std::min(cr, lf);
        if (stop == end) {
            lines.emplace_back(start, static_cast<std::size_t>(end - start));
            break;
        }
        lines.emplace_back(start, static_cast<std::size_t>(stop - start));
        start = stop + 1;
        if (*stop == '\r' && start < end && *start == '\n') ++start;
        if (cr < start) cr = find(start, '\r');
        if (lf < start) lf = find(start, '\n');
    }
    return lines;
}

std::string withoutLeadingSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return std::string(text.substr(i));
}

namespace {
// Letter case is folded for ASCII letters only, whatever the locale.
char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool mayHoldMarker(std::string_view line) {
    // Eight bytes at a time: data rows hold only blanks, digits, signs and
    // separators (0x20 to 0x39); a letter lies above 0x39 and '*' is 0x2A.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, line.data() + i, 8);
        const std::uint64_t above39 = ((x + 0x46 * kOnes) | x) & kHigh;
        const std::uint64_t star = x ^ (0x2A * kOnes);
        const std::uint64_t hasStar = (star - kOnes) & ~star & kHigh;
        if (above39 | hasStar) return true;  // a closer look decides
    }
    for (; i < line.size(); ++i) {
        const char ch = line[i];
        if (ch == '*' || static_cast<unsigned char>(ch) > 0x39) return true;
    }
    return false;
}

bool containsNoCase(std::string_view text, std::string_view what) {
    if (what.empty()) return true;
    if (what.size() > text.size()) return false;
    const char first = asciiUpper(what[0]);
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
        if (asciiUpper(text[i]) != first) continue;
        std::size_t j = 1;
        while (j < what.size() && asciiUpper(text[i + j]) == asciiUpper(what[j])) ++j;
        if (j == what.size()) return true;
    }
    return false;
}

}  // namespace qm
