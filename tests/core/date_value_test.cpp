// Date values: the calendar, times of day rounded to the second, the valid range.
#include "date_value.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

TEST(DateValue, DaysCountFromTheThirtiethOfDecember1899) {
    EXPECT_EQ(ToDateValue({1899, 12, 30}), 0.0);
    EXPECT_EQ(ToDateValue({1900, 3, 1}), 61.0);
    EXPECT_EQ(ToDateValue({2000, 1, 1}), 36526.0);
    EXPECT_EQ(ToDateValue({2026, 12, 7, 10, 30, 0}), 46363.0 + 10.5 / 24);
    EXPECT_EQ(ToDateValue({100, 1, 1}), -657434.0);
    EXPECT_EQ(ToDateValue({9999, 12, 31}), 2958465.0);
    // Before day 0 the time of day still counts forward from midnight.
    EXPECT_EQ(ToDateValue({1899, 12, 29, 6, 0, 0}), -1.25);
    EXPECT_EQ(ToCivilTime(-1.25), (CivilTime{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(ToCivilTime(-0.25), (CivilTime{1899, 12, 30, 6, 0, 0}));
}

TEST(DateValue, CivilTimesRoundTripAcrossTheWholeRange) {
    for (double day = -657434; day <= 2958465; day += 997) {
        CivilTime t = ToCivilTime(day + 0.5);
        ASSERT_EQ(t.hour, 12) << day;
        ASSERT_EQ(ToDateValue(t), day + 0.5) << day;
    }
    EXPECT_EQ(ToCivilTime(46812.0), (CivilTime{2028, 2, 29}));
    EXPECT_EQ(ToCivilTime(ToDateValue({1900, 2, 28}) + 1), (CivilTime{1900, 3, 1}));
}

TEST(DateValue, TimesRoundToTheNearestSecond) {
    // 10:00 + 5.5 h is 15:30:00, never 15:29:59.
    DateValue ten = ToDateValue({2026, 12, 7, 10, 0, 0});
    EXPECT_EQ(ToCivilTime(ten + 5.5 / 24), (CivilTime{2026, 12, 7, 15, 30, 0}));
    EXPECT_EQ(ToCivilTime(ten + 0.49 / 86400), (CivilTime{2026, 12, 7, 10, 0, 0}));
    EXPECT_EQ(ToCivilTime(ten + 0.51 / 86400), (CivilTime{2026, 12, 7, 10, 0, 1}));
    // Rounding up past midnight moves to the next day, month and year.
    EXPECT_EQ(ToCivilTime(ToDateValue({2026, 12, 31, 23, 59, 59}) + 0.6 / 86400), (CivilTime{2027, 1, 1}));
    EXPECT_EQ(ToCivilTime(ToDateValue({1899, 12, 29}) - 0.9999999), (CivilTime{1899, 12, 30}));
}

TEST(DateValue, ValidRangeIsYears100To9999) {
    EXPECT_TRUE(InDateRange(-657434.0));
    EXPECT_FALSE(InDateRange(-657434.0001));
    EXPECT_TRUE(InDateRange(ToDateValue({9999, 12, 31, 23, 59, 59})));
    EXPECT_FALSE(InDateRange(2958466.0));
    EXPECT_FALSE(InDateRange(NAN));
    EXPECT_FALSE(InDateRange(INFINITY));
    EXPECT_EQ(ToCivilTime(NAN), CivilTime{});  // never undefined behaviour
    EXPECT_EQ(ToCivilTime(1e300), CivilTime{});
}

TEST(DateValue, TheNextSecondCarriesIntoMinuteHourDayMonthAndYear) {
    EXPECT_EQ(NextSecond({2026, 12, 7, 10, 30, 0}), (CivilTime{2026, 12, 7, 10, 30, 1}));
    EXPECT_EQ(NextSecond({2026, 12, 7, 10, 59, 59}), (CivilTime{2026, 12, 7, 11, 0, 0}));
    EXPECT_EQ(NextSecond({2028, 2, 28, 23, 59, 59}), (CivilTime{2028, 2, 29}));
    EXPECT_EQ(NextSecond({2026, 2, 28, 23, 59, 59}), (CivilTime{2026, 3, 1}));
    EXPECT_EQ(NextSecond({2026, 12, 31, 23, 59, 59}), (CivilTime{2027, 1, 1}));
    EXPECT_EQ(NextSecond({2016, 12, 31, 23, 59, 60}), (CivilTime{2017, 1, 1})) << "a leap second";
    // Every second of a leap year, against the date values.
    CivilTime t{2028, 1, 1};
    for (int second = 1; second <= 366 * 86400; ++second) {
        t = NextSecond(t);
        if (second % 977 == 0) {
            ASSERT_EQ(ToCivilTime(ToDateValue({2028, 1, 1}) + second / 86400.0), t) << second;
        }
    }
    EXPECT_EQ(t, (CivilTime{2029, 1, 1}));
}

TEST(DateValue, WeekdaysAndCalendar) {
    EXPECT_EQ(DayOfWeek(0.0), 6);  // a Saturday
    EXPECT_EQ(DayOfWeek(46363.75), 1);  // 7 December 2026, a Monday
    EXPECT_EQ(DayOfWeek(-657434.0), 5);  // 1 January 100, a Friday
    EXPECT_EQ(DayOfYear({2026, 12, 31}), 365);
    EXPECT_EQ(DayOfYear({2028, 12, 31}), 366);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
}

}  // namespace
}  // namespace qv
