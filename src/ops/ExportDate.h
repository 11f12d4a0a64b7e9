#pragma once
// Dates the open-format exports write: the day the file is made and the day
// the sounding was taken, as far as its date-and-time text tells it.

#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct CalendarDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const CalendarDate&) const = default;
};

// "yyyy-mm-dd" of a real day, else nothing.
std::optional<CalendarDate> isoDate(std::string_view text);
std::string isoText(const CalendarDate& d);

// Today as the computer's clock gives it, or the day in the environment
// variable QM_TODAY (yyyy-mm-dd) when it holds one, so that a file written
// for a comparison is the same on every day.
CalendarDate exportDate();

// The date at the start of the date-and-time text: "2021-07-02 14:20:09",
// "14.09.2021 08:31", "04/27/2021 09:42 AM", "18/03/2021". Slashes read as
// month/day, the rig's own layout, unless the first number cannot be a
// month; dots as day.month. Nothing when the text does not start with a real
// date in one of these layouts.
std::optional<CalendarDate> dateOfText(std::string_view text);

}  // namespace qm
