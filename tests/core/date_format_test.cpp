// The format routine: the clock's own pictures, every element, reading dates
// and times from text, and the business-hours normalisation.
#include "date_format.h"

#include <gtest/gtest.h>

#include "value_printer.h"

#include "settings_model.h"

namespace qv {
namespace {

DateValue At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return ToDateValue({y, mo, d, h, mi, s}); }

TEST(DateFormat, TheClocksOwnPictures) {
    EXPECT_EQ(FormatDate(At(2026, 12, 7, 10, 30), "mm/dd hh:mm"), "12/07 10:30");
    EXPECT_EQ(FormatDate(At(2026, 1, 2, 3, 4, 5), "mm/dd hh:mm"), "01/02 03:04");
    EXPECT_EQ(FormatDate(At(2026, 1, 2, 3, 4, 5), "hh:mm"), "03:04");
    EXPECT_EQ(FormatDate(At(2026, 1, 2, 0, 0), "hh:mm"), "00:00");
    EXPECT_EQ(FormatDate(At(2026, 1, 2, 23, 59, 59), "hh:mm"), "23:59");
}

// "m"/"mm" are minutes when the nearest element before them is an hour,
// whatever literal text stands between, as the system's formatter reads them.
// (Earlier versions took minutes only right after an hour or a ':', so that
// "hh時mm分" showed the month.)
TEST(DateFormat, MonthOrMinuteByTheNearestElementBefore) {
    DateValue t = At(2026, 3, 7, 9, 5, 8);
    EXPECT_EQ(FormatDate(t, "hhmm"), "0905");
    EXPECT_EQ(FormatDate(t, "h:m"), "9:5");
    EXPECT_EQ(FormatDate(t, "hh::mm"), "09::05");
    EXPECT_EQ(FormatDate(t, "hh mm"), "09 05");
    EXPECT_EQ(FormatDate(t, "hh.mm"), "09.05");
    EXPECT_EQ(FormatDate(t, "hh-mm"), "09-05");
    EXPECT_EQ(FormatDate(t, "hh\\hmm"), "09h05");
    EXPECT_EQ(FormatDate(t, "hh\"x\" mm"), "09x 05");
    EXPECT_EQ(FormatDate(t, "mm:ss"), "03:08");      // nothing before: month
    EXPECT_EQ(FormatDate(t, "hh:dd :mm"), "09:07 :03");  // the day is nearer: month
    EXPECT_EQ(FormatDate(t, "hh:ss mm"), "09:08 03");    // the second is nearer: month
    EXPECT_EQ(FormatDate(t, "hh:mmm"), "09:Mar");    // mmm is always the month
    EXPECT_EQ(FormatDate(t, "HH:MM"), "09:05");
    EXPECT_EQ(FormatDate(t, "hh:nn mm"), "09:05 03");
    EXPECT_EQ(FormatDate(t, "mm hh mm"), "03 09 05");
    // The pictures a Japanese user types first.
    DateValue issue = At(2026, 12, 7, 13, 5, 9);
    EXPECT_EQ(FormatDate(issue, "hh時mm分"), "13時05分");
    EXPECT_EQ(FormatDate(issue, "yyyy年mm月dd日 hh時mm分ss秒"), "2026年12月07日 13時05分09秒");
}

// Month and weekday names come from the user's locale, handed in at start.
TEST(DateFormat, NamesFromTheLocaleHandedIn) {
    const DateNames english = CurrentDateNames();
    DateNames japanese;
    for (int m = 0; m < 12; ++m) japanese.monthAbbr[m] = japanese.monthName[m] = std::to_string(m + 1) + "月";
    const char* days[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int d = 0; d < 7; ++d) {
        japanese.weekdayAbbr[d] = days[d];
        japanese.weekdayName[d] = std::string(days[d]) + "曜日";
    }
    SetDateNames(japanese);
    EXPECT_EQ(FormatDate(At(2026, 12, 7, 13, 5), "mmm mmmm ddd dddd"), "12月 12月 月 月曜日");
    EXPECT_EQ(FormatDate(At(2026, 1, 4), "mmm dddd"), "1月 日曜日");
    EXPECT_EQ(FormatDate(At(2026, 1, 10), "ddd"), "土");
    SetDateNames(english);
    EXPECT_EQ(FormatDate(At(2026, 12, 7), "mmm mmmm ddd dddd"), "Dec December Mon Monday");
}

TEST(DateFormat, EveryElement) {
    DateValue t = At(2026, 12, 7, 14, 5, 9);  // a Monday
    struct {
        const char* picture;
        const char* expected;
    } cases[] = {
        {"yyyy yy y", "2026 26 341"},
        {"m mm mmm mmmm", "12 12 Dec December"},
        {"d dd ddd dddd", "7 07 Mon Monday"},
        {"ddddd", "2026/12/07"},
        {"dddddd", "2026年12月7日"},
        {"h hh n nn s ss", "14 14 5 05 9 09"},
        {"ttttt", "14:05:09"},
        {"c", "2026/12/07 14:05:09"},
        {"w ww q", "2 50 4"},
        {"aaa aaaa", "月 月曜日"},
        {"ggg gg g e ee", "令和 令 R 8 08"},
        {"yyyy年m月d日(aaa)", "2026年12月7日(月)"},
        {"\"hh\" \\h \\\\ hh", "hh h \\ 14"},
        {"\"年 unterminated", "年 unterminated"},
        {"b% 時計 x", "b% 時計 x"},
        {"", "2026/12/07 14:05:09"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDate(t, c.picture), c.expected) << c.picture;
}

TEST(DateFormat, TwelveHourClock) {
    struct {
        int hour;
        const char* expected;
    } cases[] = {{0, "12:30 AM am A a 午前"}, {11, "11:30 AM am A a 午前"}, {12, "12:30 PM pm P p 午後"}, {23, "11:30 PM pm P p 午後"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDate(At(2026, 1, 1, c.hour, 30), "hh:mm AM/PM am/pm A/P a/p AMPM"), c.expected) << c.hour;
    }
    EXPECT_EQ(FormatDate(At(2026, 1, 1, 9, 0), "Am/pM h"), "Am 9");
    EXPECT_EQ(FormatDate(At(2026, 1, 1, 21, 0), "h Am/pM"), "9 pM");
}

TEST(DateFormat, JapaneseErasChangeOnTheirFirstDay) {
    struct {
        DateValue date;
        const char* expected;
    } cases[] = {
        {At(1868, 10, 22), " 1868"},
        {At(1868, 10, 23), "明治 1"},
        {At(1912, 7, 29), "明治 45"},
        {At(1912, 7, 30), "大正 1"},
        {At(1926, 12, 24), "大正 15"},
        {At(1926, 12, 25), "昭和 1"},
        {At(1989, 1, 7), "昭和 64"},
        {At(1989, 1, 8), "平成 1"},
        {At(2019, 4, 30), "平成 31"},
        {At(2019, 5, 1), "令和 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDate(c.date, "ggg e"), c.expected) << c.expected;
    EXPECT_EQ(FormatDate(At(1989, 1, 8), "g gg"), "H 平");
}

TEST(DateFormat, WeeksStartOnSundayAndTheFirstHoldsTheFirstOfJanuary) {
    EXPECT_EQ(FormatDate(At(2026, 1, 1), "ww w"), "1 5");   // a Thursday
    EXPECT_EQ(FormatDate(At(2026, 1, 3), "ww w"), "1 7");   // Saturday
    EXPECT_EQ(FormatDate(At(2026, 1, 4), "ww w"), "2 1");   // Sunday starts week 2
    EXPECT_EQ(FormatDate(At(2028, 12, 31), "ww y"), "54 366");  // 1 January 2028 is a Saturday
}

TEST(DateFormat, ValuesOutsideTheDatesAndDayZero) {
    EXPECT_EQ(FormatDate(3e6, "hh:mm"), "3000000");
    EXPECT_EQ(FormatDate(0.375, "c"), "9:00:00");
    EXPECT_EQ(FormatDate(0.0, "c"), "0:00:00");
    EXPECT_EQ(FormatDate(36526.0, "c"), "2000/01/01");
    EXPECT_EQ(FormatDate(At(100, 1, 1), "yyyy/mm/dd"), "100/01/01");
}

TEST(DateFormat, TextsHoldingDatesAndTimes) {
    struct {
        const char* text;
        const char* picture;
        const char* expected;
    } cases[] = {
        {"9:00", "hh:mm", "09:00"},
        {"09:00", "hh:mm", "09:00"},
        {" 9:00 ", "hh:mm", "09:00"},
        {"9:00:30", "hh:mm:ss", "09:00:30"},
        {"23:59:59", "hh:mm", "23:59"},
        {"3:05 PM", "hh:mm", "15:05"},
        {"12:00 am", "hh:mm", "00:00"},
        {"午後3:00", "hh:mm", "15:00"},
        {"10時30分", "hh:mm", "10:30"},
        {"2026/12/07", "yyyy-mm-dd hh:mm", "2026-12-07 00:00"},
        {"2026-12-07", "dd/mm/yyyy", "07/12/2026"},
        {"2026/12/07 10:30", "mm/dd hh:mm", "12/07 10:30"},
        {"12/06 20:30", "hh:mm", "20:30"},
        {"02/29 10:30", "hh:mm", "10:30"},  // no year needed for the time
        {"2026年12月7日 10時30分", "hh:mm", "10:30"},
        {"2026/12/07(月) 10:30", "hh:mm", "10:30"},
        {"12/07 Mon 10:30", "hh:mm", "10:30"},
        {"12/31/2026", "yyyy/mm/dd", "2026/12/31"},
        {"令和8年12月7日 10:30", "yyyy/mm/dd hh:mm", "2026/12/07 10:30"},
        {"H1/01/08", "yyyy/mm/dd", "1989/01/08"},
        {"Mon 12/07 2:30 午後", "hh:mm", "14:30"},
        {"(月) 12/07 10:30", "hh:mm", "10:30"},
        {"令和12/07", "hh:mm", "令和12/07"},  // an era needs a year
        {"9:00", "mm/dd", "12/30"},  // a time alone is on day 0
        // Neither a date nor a time: the text itself.
        {"abc", "hh:mm", "abc"},
        {"9", "hh:mm", "9"},
        {" 8 ", "hh:mm", " 8 "},
        {"24:00", "hh:mm", "24:00"},
        {"9:60", "hh:mm", "9:60"},
        {"13:00 PM", "hh:mm", "13:00 PM"},
        {"13/01", "hh:mm", "13/01"},
        {"2026/02/29", "hh:mm", "2026/02/29"},
        {"2026/04/31", "hh:mm", "2026/04/31"},
        {"10:30 x", "hh:mm", "10:30 x"},
        {"1:2:3:4", "hh:mm", "1:2:3:4"},
        {"99999/1/1", "hh:mm", "99999/1/1"},
        {"", "hh:mm", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(Value::Text(c.text), c.picture), c.expected) << c.text;
}

TEST(DateFormat, ParseGivesDateValues) {
    EXPECT_EQ(ParseDateTime("9:00"), 0.375);
    EXPECT_EQ(ParseDateTime("12/07", 2026), 46363.0);
    EXPECT_EQ(ParseDateTime("02/29", 2026), std::nullopt);
    EXPECT_EQ(ParseDateTime("02/29", 2028), 46812.0);
    EXPECT_EQ(ParseDateTime("26/12/07", 1999), 46363.0);  // two-digit year
    EXPECT_EQ(ParseDateTime("2026/12/07 10:30"), 46363.0 + 10.5 / 24);
    EXPECT_EQ(ParseDateTime("tomorrow"), std::nullopt);
}

TEST(DateFormat, ValuesOfEveryKind) {
    EXPECT_EQ(Format(Value(), "hh:mm"), "");
    EXPECT_EQ(Format(Value::Integer(1), "yyyy/mm/dd"), "1899/12/31");
    EXPECT_EQ(Format(Value::Single(0.5f), "hh:mm"), "12:00");
    EXPECT_EQ(Format(Value::Boolean(true), "hh:mm"), "True");
    Value empty;
    FormatInPlace(empty, "hh:mm");
    EXPECT_EQ(empty, Value::Text(""));
}

TEST(DateFormat, FormatIntoReusesTheBuffer) {
    std::string out;
    out.reserve(64);
    const char* buffer = out.data();
    for (int i = 0; i < 100; ++i) FormatDateInto(out, At(2026, 12, 7, 10, i % 60), "mm/dd hh:mm");
    EXPECT_EQ(out, "12/07 10:39");
    EXPECT_EQ(out.data(), buffer);
}

TEST(DateFormat, BusinessHoursBecomeHhMmOnAllRows) {
    SettingsModel m;
    const char* typed[] = {"9:00", "09:00", "", "17:5", "abc", "8:00 PM", "", "", "", "7:30"};
    for (int n = 1; n <= kPlaceCount; ++n) {
        m.WorkStart[n] = Value::Text(typed[n - 1]);
        m.WorkEnd[n] = Value::Text(typed[kPlaceCount - n]);
    }
    m.WorkStart[7] = Value();
    FormatWorkStart(m);
    FormatWorkEnd(m);
    const char* expected[] = {"09:00", "09:00", "", "17:05", "abc", "20:00", "", "", "", "07:30"};
    for (int n = 1; n <= kPlaceCount; ++n) {
        EXPECT_EQ(m.WorkStart[n], Value::Text(expected[n - 1])) << n;
        EXPECT_EQ(m.WorkEnd[n], Value::Text(expected[kPlaceCount - n])) << n;
    }
    SettingsModel again = m;
    FormatWorkStart(again);
    FormatWorkEnd(again);
    EXPECT_EQ(again.WorkStart, m.WorkStart);
    EXPECT_EQ(again.WorkEnd, m.WorkEnd);
}

}  // namespace
}  // namespace qv
