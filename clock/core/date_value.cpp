// Date values and the proleptic Gregorian calendar behind them.
#include "date_value.h"

#include <cmath>

namespace qv {

namespace {

// Days from 1 January 1970 (H. Hinnant's algorithm). 32-bit arithmetic is
// ample for years 100 to 9999 and is what keeps the clock tick cheap.
constexpr int DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int>(doe) - 719468;
}

constexpr void CivilFromDays(int z, int& year, int& month, int& day) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe) + era * 400 + (month <= 2);
}

constexpr int kDayZero = DaysFromCivil(1899, 12, 30);
constexpr double kFirstValid = -657434.0;   // 1 January 100
constexpr double kPastLastValid = 2958466.0;  // 1 January 10000
constexpr int kSecondsPerDay = 86400;

// The calendar day and the second of that day a date value stands for. Before
// day 0 the fraction still counts forward from midnight (-1.25 is 29 December
// 1899, 06:00), as the system's dates do.
void Split(DateValue value, int& day, int& second) {
    if (!std::isfinite(value) || value < kFirstValid - 1 || value > kPastLastValid + 1) {
        day = 0;
        second = 0;
        return;
    }
    double whole = std::trunc(value);
    // Adding one half and truncating rounds these non-negative seconds to nearest.
    auto seconds = static_cast<int>(std::fabs(value - whole) * kSecondsPerDay + 0.5);
    day = static_cast<int>(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        day += 1;
    }
    second = static_cast<int>(seconds);
}

}  // namespace

int DaysSince1970(int year, int month, int day) {
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

void DateOfDay(int daysSince1970, int& year, int& month, int& day) { CivilFromDays(daysSince1970, year, month, day); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

DateValue ToDateValue(const CivilTime& t) {
    int days = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) - kDayZero;
    double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / static_cast<double>(kSecondsPerDay);
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

CivilTime ToCivilTime(DateValue value) {
    int day = 0;
    int second = 0;
    Split(value, day, second);
    CivilTime t;
    CivilFromDays(day + kDayZero, t.year, t.month, t.day);
    t.hour = second / 3600;
    t.minute = second / 60 % 60;
    t.second = second % 60;
    return t;
}

bool InDateRange(DateValue value) {
    return std::isfinite(value) && value >= kFirstValid && value < kPastLastValid;
}

CivilTime NextSecond(CivilTime t) {
    if (++t.second < 60) return t;
    t.second = 0;
    if (++t.minute < 60) return t;
    t.minute = 0;
    if (++t.hour < 24) return t;
    t.hour = 0;
    if (++t.day <= DaysInMonth(t.year, t.month)) return t;
    t.day = 1;
    if (++t.month <= 12) return t;
    t.month = 1;
    ++t.year;
    return t;
}

int DayOfWeek(const CivilTime& t) {
    int days = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
    // 1 January 1970 was a Thursday.
    return ((days % 7) + 7 + 4) % 7;
}

int DayOfWeek(DateValue value) { return DayOfWeek(ToCivilTime(value)); }

int DayOfYear(const CivilTime& t) {
    return DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) - DaysFromCivil(t.year, 1, 1) + 1;
}

}  // namespace qv
