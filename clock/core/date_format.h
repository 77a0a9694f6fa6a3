// The date/time formatting routine: format(value, picture) for the display
// format, the business hours and whatever the user types as a format picture.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "date_value.h"
#include "value.h"

namespace qv {

// The clock whose local year a date typed without one ("12/07") takes. The
// program hands in its one clock; until then such a date falls in
// kYearWithoutClock. Pass null to take the clock back.
inline constexpr int kYearWithoutClock = 2000;
void UseClockForCurrentYear(const ClockSource* clock);

// A text holding a date and/or a time of day ("9:00", "09:00", "2026/12/07",
// "12/07 10:30"), as a date value. Nothing when it is neither.
// A date without a year ("12/07") takes the current year, or defaultYear.
std::optional<DateValue> ParseDateTime(std::string_view text);
std::optional<DateValue> ParseDateTime(std::string_view text, int defaultYear);

// The names the elements mmm, mmmm, ddd and dddd write, UTF-8. The program
// hands in the user's locale's names at start; until then they are English.
struct DateNames {
    std::array<std::string, 12> monthAbbr, monthName;   // January first
    std::array<std::string, 7> weekdayAbbr, weekdayName;  // Sunday first
};
DateNames EnglishDateNames();
void SetDateNames(const DateNames& names);
const DateNames& CurrentDateNames();

// Formats a date value by a picture into out (reusing its buffer: the clock
// tick formats thirty values every second without allocating).
void FormatDateInto(std::string& out, DateValue value, std::string_view picture);
std::string FormatDate(DateValue value, std::string_view picture);

// When the picture shows both an hour and a minute (h, hh, n, nn, m or mm
// as minutes, ttttt), the hour and minute it writes for value as "hh:mm" in
// out, and true; otherwise false and out untouched. Seconds are rounded as
// the formatter rounds them, so the two always agree.
bool ShownHourMinute(std::string& out, DateValue value, std::string_view picture);

// format(value, picture): a number is a date value, a text is parsed as a date
// or time; empty text formats to empty text; a text that is neither a date nor
// a time formats as itself.
std::string Format(const Value& value, std::string_view picture);

// value := format(value, picture), reusing the value's text buffer: the clock
// tick's LocalTime(n) and the business-hours normalisation.
void FormatInPlace(Value& value, std::string_view picture);

}  // namespace qv
