// The clock tick against a set clock: place times, read-back times of day and
// the business-hours colour.
#include "clock_tick.h"

#include <gtest/gtest.h>

#include <vector>

#include "value_printer.h"

#include "fake_clock.h"

namespace qv {
namespace {

using test::FakeClock;

constexpr std::uint32_t kName = 255, kWork = 65280;

// A model with the first-run defaults, row 1 named, and both colours set.
struct Tick : ::testing::Test {
    Tick() {
        ApplyFirstRunDefaults(model);
        ResetSummerTime(model);
        model.NameColor = std::to_string(kName);
        model.WorkColor = std::to_string(kWork);
        Name(1, "日本");
    }
    void Name(int n, const char* name) {
        model.PlaceName[n] = std::string(name);
        labels.nameCaption[static_cast<std::size_t>(n - 1)] = std::string(name);
    }
    void Run(CivilTime now) {
        clock.Set(now);
        ClockTick(model, clock, labels);
    }
    const std::string& Time(int n) const { return labels.timeCaption[static_cast<std::size_t>(n - 1)]; }
    std::uint32_t Color(int n) const { return labels.nameColor[static_cast<std::size_t>(n - 1)]; }

    SettingsModel model;
    RowLabels labels;
    FakeClock clock;
};

TEST_F(Tick, PlaceTimesFromTheLocalClock) {
    Name(2, "ホノルル");
    model.TimeDiff[2] = Value::Text(" -14 ");
    Name(3, "デリー");
    model.TimeDiff[3] = Value::Text("5.5");
    Name(4, "ロンドン");
    model.TimeDiff[4] = Value::Integer(-9);
    model.SummerTime[4] = Value::Text(" 1 ");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Time(1), "12/07 10:30");  // empty time difference: the computer's own time
    EXPECT_EQ(Time(2), "12/06 20:30");  // the previous day
    EXPECT_EQ(Time(3), "12/07 16:00");
    EXPECT_EQ(Time(4), "12/07 02:30");  // summer time adds one hour
    Run({2026, 12, 7, 10, 0, 0});
    EXPECT_EQ(Time(3), "12/07 15:30");  // never 15:29
    EXPECT_EQ(model.LocalTime[3], Value::Text("15:30"));
    EXPECT_EQ(model.LocalTime[2], Value::Text("20:00"));
    // With the default format a label changes once a minute.
    Run({2026, 12, 7, 10, 0, 59});
    EXPECT_EQ(Time(1), "12/07 10:00");
    Run({2026, 12, 7, 10, 1, 0});
    EXPECT_EQ(Time(1), "12/07 10:01");
}

TEST_F(Tick, OffsetsThatAreNotNumbersOrLeaveTheDatesCountAsZero) {
    Name(2, "a");
    model.TimeDiff[2] = Value::Text("abc");
    Name(3, "b");
    model.TimeDiff[3] = Value::Text("99999999");
    Name(4, "c");
    model.SummerTime[4] = Value::Text("夏");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Time(2), "12/07 10:30");
    EXPECT_EQ(Time(3), "12/07 10:30");
    EXPECT_EQ(Time(4), "12/07 10:30");
    EXPECT_EQ(PlaceTime(ToDateValue({9999, 12, 31, 23, 0, 0}), Value::Integer(2), Value()), ToDateValue({9999, 12, 31, 23, 0, 0}));
}

TEST_F(Tick, BusinessHoursAreInclusiveToTheMinute) {
    model.WorkStart[1] = Value::Text("09:00");
    model.WorkEnd[1] = Value::Text("17:00");
    struct {
        CivilTime now;
        std::uint32_t color;
    } cases[] = {
        {{2026, 12, 7, 8, 59, 59}, kName},
        {{2026, 12, 7, 9, 0, 0}, kWork},
        {{2026, 12, 7, 12, 0, 0}, kWork},
        {{2026, 12, 7, 17, 0, 0}, kWork},
        {{2026, 12, 7, 17, 0, 59}, kWork},
        {{2026, 12, 7, 17, 1, 0}, kName},
        {{2026, 12, 6, 12, 0, 0}, kWork},  // a Sunday: weekdays play no part
    };
    for (const auto& c : cases) {
        Run(c.now);
        EXPECT_EQ(Color(1), c.color) << c.now.hour << ':' << c.now.minute << ':' << c.now.second;
    }
}

// With an hour and a minute in the display, the colour follows the hour and
// minute shown, whatever else the picture holds. (Earlier versions read the
// time of day back from the text: "mmm dd hh:mm" was never in business hours,
// "dd/mm hh:mm" read days 13 to 31 as months.) Every quarter of an hour of
// December and every minute around midnight, the month's end and both limits.
TEST_F(Tick, ColourFollowsTheHourAndMinuteShownInAnyPicture) {
    model.WorkStart[1] = Value::Text("09:00");
    model.WorkEnd[1] = Value::Text("17:00");
    Name(2, "ニューヨーク");
    model.TimeDiff[2] = Value::Text("-14");
    model.WorkStart[2] = Value::Text("09:00");
    model.WorkEnd[2] = Value::Text("17:00");
    const char* pictures[] = {"mmm dd hh:mm", "dd/mm hh:mm", "dd/mm/yyyy hh:mm", "mm/dd/yy hh:mm", "dd.mm.yyyy hh:nn",
                              "AM/PM h:mm", "hh:mm ddd", "hh時mm分", "yyyy年mm月dd日 hh時mm分ss秒", "mm hh mm", "h:mm AMPM"};
    std::vector<int> minutes;
    for (int m = 0; m < 31 * 1440; m += 15) minutes.push_back(m);
    for (int day : {1, 13, 18, 31}) {
        for (int m = -30; m <= 30; ++m) minutes.push_back(day * 1440 + m);       // midnight
        for (int m = 8 * 60 + 58; m <= 9 * 60 + 1; ++m) minutes.push_back(day * 1440 + m);
        for (int m = 16 * 60 + 59; m <= 17 * 60 + 2; ++m) minutes.push_back(day * 1440 + m);
    }
    const DateValue first = ToDateValue({2026, 12, 1});
    for (const char* picture : pictures) {
        model.DateFormat = Value::Text(picture);
        for (int m : minutes) {
            const CivilTime now = ToCivilTime(first + (m + 0.5 / 60) / 1440);  // half a minute in
            Run(now);
            for (int n : {1, 2}) {
                const CivilTime place = ToCivilTime(ToDateValue(now) + (n == 2 ? -14.0 / 24 : 0));
                const int minuteOfDay = place.hour * 60 + place.minute;
                const bool inside = minuteOfDay >= 9 * 60 && minuteOfDay <= 17 * 60;
                ASSERT_EQ(Color(n), inside ? kWork : kName)
                    << picture << " row " << n << " shows [" << Time(n) << "] on day " << place.day;
            }
        }
    }
}

TEST_F(Tick, NightHoursNeverMatchAndEmptyHoursCompareLowest) {
    model.WorkStart[1] = Value::Text("22:00");
    model.WorkEnd[1] = Value::Text("06:00");
    Name(2, "b");
    model.WorkStart[2] = Value::Text("");  // the start of the day
    model.WorkEnd[2] = Value::Text("12:00");
    Name(3, "c");
    model.WorkStart[3] = Value::Text("09:00");
    model.WorkEnd[3] = Value::Text("");  // never inside
    for (int hour : {0, 3, 6, 11, 12, 22, 23}) {
        Run({2026, 12, 7, hour, 0, 0});
        EXPECT_EQ(Color(1), kName) << hour;
        EXPECT_EQ(Color(2), hour <= 12 ? kWork : kName) << hour;
        EXPECT_EQ(Color(3), kName) << hour;
    }
}

TEST_F(Tick, ColoursThatAreNotNumbersCountAsTheirDefaults) {
    model.WorkStart[1] = Value::Text("00:00");
    model.WorkEnd[1] = Value::Text("23:59");
    Name(2, "x");
    model.WorkStart[2] = Value::Text("23:59");
    model.NameColor = std::string("black");
    model.WorkColor = std::string("");
    Run({2026, 12, 7, 12, 0, 0});
    EXPECT_EQ(Color(1), 16711680u);
    EXPECT_EQ(Color(2), 0u);
}

TEST_F(Tick, RowsWithoutANameLabelOrWithoutAPlaceName) {
    // Named in the model, but the window did not set the label: its time label
    // keeps its text; its time of day and colour are still computed.
    model.PlaceName[2] = std::string("ロンドン");
    model.TimeDiff[2] = Value::Integer(-9);
    model.WorkStart[2] = Value::Text("00:00");
    model.WorkEnd[2] = Value::Text("12:00");
    labels.timeCaption[1] = std::string("old");
    // A label without a place name gets a time label but no time of day.
    labels.nameCaption[2] = std::string("label only");
    model.LocalTime[3] = Value::Text("kept");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Time(2), "old");
    EXPECT_EQ(model.LocalTime[2], Value::Text("01:30"));
    EXPECT_EQ(Color(2), kWork);
    EXPECT_EQ(Time(3), "12/07 10:30");
    EXPECT_EQ(model.LocalTime[3], Value::Text("kept"));
    EXPECT_EQ(model.LocalTime[4], Value::Text(""));
    EXPECT_EQ(Time(4), "");
}

TEST_F(Tick, EachRowReadsTheClockAndTheDisplayFormatDecidesTheTimeOfDay) {
    for (int n = 2; n <= kPlaceCount; ++n) Name(n, "p");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(clock.reads(), 20);
    model.DateFormat = Value::Text("yyyy年m月d日(aaa) h時nn分");
    model.WorkStart[1] = Value::Text("10:30");
    model.WorkEnd[1] = Value::Text("10:30");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Time(1), "2026年12月7日(月) 10時30分");
    EXPECT_EQ(model.LocalTime[1], Value::Text("10:30"));
    EXPECT_EQ(Color(1), kWork);
    model.DateFormat = Value::Text("ggge年m月d日 h:nn AMPM");
    Run({2026, 12, 7, 22, 30, 0});
    EXPECT_EQ(Time(1), "令和8年12月7日 10:30 午後");
    EXPECT_EQ(model.LocalTime[1], Value::Text("22:30"));
    // A format without a time of day reads back as midnight.
    model.DateFormat = Value::Text("mm/dd");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(model.LocalTime[1], Value::Text("00:00"));
    // Seconds in the format: the label changes every second, the comparison
    // still every minute.
    model.DateFormat = Value::Text("hh:nn:ss");
    Run({2026, 12, 7, 10, 30, 59});
    EXPECT_EQ(Time(1), "10:30:59");
    EXPECT_EQ(model.LocalTime[1], Value::Text("10:30"));
}

// How long the clock may sleep: the look-ahead against ticks run second by
// second, for pictures with and without seconds and for places whose time
// difference is a fraction of a minute.
struct LookAhead : Tick {
    int Predicted(CivilTime now) { return SecondsUntilTickChanges(model, labels, now, 60); }
    // Ticks each second from `now` until one writes something new.
    int Observed(CivilTime now) {
        Run(now);
        const RowLabels before = labels;
        const Rows<Value> timesOfDay = model.LocalTime;
        for (int seconds = 1; seconds < 60; ++seconds) {
            now = NextSecond(now);
            Run(now);
            if (labels.timeCaption != before.timeCaption || labels.nameColor != before.nameColor ||
                model.LocalTime != timesOfDay)
                return seconds;
        }
        return 60;
    }
};

TEST_F(LookAhead, TheNextChangeComesAtEachPlacesOwnMinute) {
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 0}), 60) << "the default picture shows minutes";
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 45}), 15);
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 31, 0}), 0) << "the captions are a minute old";
    // 0.001 h is 3.6 s, which the place's time rounds to 4 s: its minute
    // turns 4 s before the computer's.
    Name(2, "ずれ");
    model.TimeDiff[2] = Value::Text("0.001");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 0}), 56);
    Run({2026, 12, 7, 10, 30, 56});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 56}), 4);
    // A half-hour place keeps the computer's seconds.
    model.TimeDiff[2] = Value::Text(" 5.5 ");
    Run({2026, 12, 7, 10, 30, 20});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 20}), 40);
    // Seconds in the picture: every second.
    model.DateFormat = Value::Text("hh:nn:ss");
    Run({2026, 12, 7, 10, 30, 20});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 20}), 1);
}

TEST_F(LookAhead, NothingToShowOrNothingChangingWaitsTheLimit) {
    model.DateFormat = Value::Text("yyyy/mm/dd");
    Run({2026, 12, 7, 10, 30, 0});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 0}), 60);
    Run({2026, 12, 7, 23, 59, 30});
    EXPECT_EQ(Predicted({2026, 12, 7, 23, 59, 30}), 30) << "the date turns at midnight";
    EXPECT_EQ(SecondsUntilTickChanges(model, labels, {2026, 12, 7, 23, 59, 30}, 10), 10);
    model.PlaceName[1] = std::string();
    labels.nameCaption[0] = std::string();
    EXPECT_EQ(Predicted({2026, 12, 7, 23, 59, 30}), 60) << "no place at all";
}

TEST_F(LookAhead, ARowWithoutALabelWaitsForItsTimeOfDay) {
    // Its colour follows the time of day, which changes once a minute even
    // when the picture shows seconds.
    labels.nameCaption[0] = std::string();
    model.DateFormat = Value::Text("hh:nn:ss");
    Run({2026, 12, 7, 10, 30, 15});
    EXPECT_EQ(Predicted({2026, 12, 7, 10, 30, 15}), 45);
}

TEST_F(LookAhead, ItLeavesTheModelAsItIs) {
    Run({2026, 12, 7, 10, 30, 0});
    const auto timesOfDay = model.LocalTime;
    model.LoopIndex = 3;
    Predicted({2026, 12, 7, 10, 35, 0});
    EXPECT_EQ(model.LocalTime, timesOfDay);
    EXPECT_EQ(model.LoopIndex, 3);
    EXPECT_EQ(clock.reads(), 2) << "the look-ahead reads no clock of its own";
}

TEST_F(LookAhead, MatchesTheTicksSecondBySecond) {
    const char* diffs[] = {"", "-14", "5.5", "0.001", "-0.0125", "5.75", "0.000139", "1e300", "x", "-0.0001"};
    for (int n = 1; n <= kPlaceCount; ++n) {
        Name(n, "p");
        model.TimeDiff[n] = Value::Text(diffs[n - 1]);
        model.WorkStart[n] = Value::Text("10:31");
        model.WorkEnd[n] = Value::Text("23:59");
        model.SummerTime[n] = Value::Text(n % 3 ? "0" : "1");
    }
    // Rows 9 and 10 only as the tick sees them: a label without a place, a place without a label.
    model.PlaceName[9] = std::string();
    labels.nameCaption[9] = std::string();
    const char* pictures[] = {"mm/dd hh:mm", "hh:nn:ss", "mm/dd", "h時nn分", "ttttt", "", "aaa"};
    const CivilTime starts[] = {{2026, 12, 7, 10, 30, 0},  {2026, 12, 7, 10, 30, 59}, {2026, 12, 31, 23, 59, 30},
                                {2026, 12, 7, 10, 30, 27}, {2028, 2, 28, 23, 59, 1}};
    for (const char* picture : pictures) {
        model.DateFormat = Value::Text(picture);
        for (const CivilTime& start : starts) {
            const int observed = Observed(start);
            Run(start);
            EXPECT_EQ(Predicted(start), observed) << '"' << picture << "\" from " << start.hour << ':' << start.minute
                                                  << ':' << start.second;
        }
    }
}

}  // namespace
}  // namespace qv
