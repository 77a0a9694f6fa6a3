// Date values: days since 30 December 1899 as a double, the fraction being the
// time of day. The computer's clock behind a small interface, so tests set it.
#pragma once

#include <optional>

namespace qv {

using DateValue = double;

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const CivilTime&) const = default;
};

// Proleptic Gregorian calendar; years 100 to 9999 are the valid range.
DateValue ToDateValue(const CivilTime& time);
// Rounded to the nearest second (so 10:00 + 5.5 h is 15:30:00, never 15:29:59).
CivilTime ToCivilTime(DateValue value);
bool InDateRange(DateValue value);
// The civil time one second later (a leap second's :60 turns into the next minute).
CivilTime NextSecond(CivilTime time);

// Days from 1 January 1970 to a date, and back (integer arithmetic, cheap).
int DaysSince1970(int year, int month, int day);
void DateOfDay(int daysSince1970, int& year, int& month, int& day);

// 0 = Sunday ... 6 = Saturday.
int DayOfWeek(DateValue value);
int DayOfWeek(const CivilTime& time);
// 1 for 1 January.
int DayOfYear(const CivilTime& time);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The program's one clock: every read of the time goes through it, so tests
// can set the time.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    // The computer's local date and time, whole seconds.
    virtual CivilTime Now() const = 0;
    // The same instant in coordinated universal time. A clock that keeps no
    // zone (a test's fixed clock) is on UTC.
    virtual CivilTime UtcNow() const { return Now(); }
    // Milliseconds past the second Now() gives; 0 for a clock that keeps whole seconds.
    virtual int Millisecond() const { return 0; }
    // The computer's local date and time at another instant, given in UTC,
    // with the computer's own summer time at that instant. A clock that knows
    // no rules of its zone keeps the offset it has now.
    virtual CivilTime LocalAt(const CivilTime& utc) const;
};

}  // namespace qv
