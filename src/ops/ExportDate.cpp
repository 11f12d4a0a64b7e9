#include "ops/ExportDate.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace qm {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at `at`, at most `maxDigits` of them; advances `at`.
std::optional<int> number(std::string_view text, std::size_t& at, std::size_t maxDigits) {
    const std::size_t start = at;
    int v = 0;
    while (at < text.size() && isDigit(text[at]) && at - start < maxDigits) v = v * 10 + (text[at++] - '0');
    if (at == start || (at < text.size() && isDigit(text[at]))) return std::nullopt;
    return v;
}

std::optional<CalendarDate> realDay(int year, int month, int day) {
    const std::chrono::year_month_day ymd{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                                          std::chrono::day(static_cast<unsigned>(day))};
    if (year < 1000 || !ymd.ok()) return std::nullopt;
    return CalendarDate{year, month, day};
}

// Three numbers joined by `sep`, then the end of the text or a blank.
std::optional<std::array<int, 3>> threeNumbers(std::string_view text, char sep, std::array<std::size_t, 3> widths) {
    std::array<int, 3> parts{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0 && (at >= text.size() || text[at++] != sep)) return std::nullopt;
        const auto n = number(text, at, widths[i]);
        if (!n) return std::nullopt;
        parts[i] = *n;
    }
    if (at < text.size() && text[at] != ' ' && text[at] != 'T') return std::nullopt;
    return parts;
}

}  // namespace

std::optional<CalendarDate> isoDate(std::string_view text) {
    if (text.size() != 10) return std::nullopt;
    const auto p = threeNumbers(text, '-', {4, 2, 2});
    return p ? realDay((*p)[0], (*p)[1], (*p)[2]) : std::nullopt;
}

std::string isoText(const CalendarDate& d) {
    const auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(d.year) + "-" + two(d.month) + "-" + two(d.day);
}

CalendarDate exportDate() {
    if (const char* fixed = std::getenv("QM_TODAY"))
        if (const auto d = isoDate(fixed)) return *d;
    // The local day, as the user's calendar shows it; localtime_r, as the
    // batch tool exports from several threads at once.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {1970, 1, 1};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::optional<CalendarDate> dateOfText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (const auto p = threeNumbers(text, '-', {4, 2, 2})) return realDay((*p)[0], (*p)[1], (*p)[2]);
    if (const auto p = threeNumbers(text, '.', {2, 2, 4})) return realDay((*p)[2], (*p)[1], (*p)[0]);
    if (const auto p = threeNumbers(text, '/', {2, 2, 4})) {
        const auto& [a, b, year] = *p;
        return a > 12 ? realDay(year, b, a) : realDay(year, a, b);
    }
    return std::nullopt;
}

}  // namespace qm
