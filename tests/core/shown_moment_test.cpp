// The shown moment: notches that snap to half hours, day steps, the wheel's
// fractions, the 100-year bound, the idle return, and every place computed
// at the shown instant across year ends and summer-time changes.
#include <gtest/gtest.h>

#include <climits>

#include "clock_tick.h"
#include "date_format.h"
#include "fake_clock.h"
#include "shown_moment.h"
#include "value_printer.h"
#include "zone_samples.h"

namespace qv {
namespace {

using test::ZonedClock;

constexpr std::int64_t kMinute = 60'000;

// The computer's clock at the shown instant, "yyyy/mm/dd hh:nn:ss".
std::string LocalShown(const ShownMoment& moment, const ClockSource& clock) {
    return FormatDate(ToDateValue(MomentClock(clock, moment.Instant()).Now()), "yyyy/mm/dd hh:nn:ss");
}

// New York, London, Sydney and Tokyo by their zones, then a fixed place 14
// hours behind the computer; each in business hours 09:00 to 17:00.
struct FivePlaces {
    SettingsModel model;
    RowLabels labels;
    FivePlaces() {
        ResetSummerTime(model);
        ApplyFirstRunDefaults(model);
        const char* names[] = {"ニューヨーク", "ロンドン", "シドニー", "東京", "サンパウロ"};
        ZoneRules (*rules[])() = {test::Eastern, test::Gmt, test::AusEastern, test::Tokyo};
        for (int n = 1; n <= 5; ++n) {
            model.PlaceName[n] = names[n - 1];
            labels.nameCaption[static_cast<std::size_t>(n - 1)] = model.PlaceName[n];
            model.WorkStart[n] = Value::Text("09:00");
            model.WorkEnd[n] = Value::Text("17:00");
            if (n <= 4) model.Zone[n] = rules[n - 1]();
        }
        model.TimeDiff[5] = Value::Text("-14");
    }
    void TickAt(const ClockSource& clock, const ShownMoment& moment) {
        ClockTick(model, MomentClock(clock, moment.Instant()), labels);
    }
    const std::string& Time(int n) const { return labels.timeCaption[static_cast<std::size_t>(n - 1)]; }
    bool Summer(int n) const { return labels.summer[static_cast<std::size_t>(n - 1)]; }
    bool AtWork(int n) const { return labels.nameColor[static_cast<std::size_t>(n - 1)] == defaults::kWorkColor; }
};

TEST(ShownMoment, NotchesSnapToTheComputersHalfHours) {
    // Tokyo 10:07:23.
    ZonedClock clock(test::Tokyo(), {2026, 12, 9, 1, 7, 23});
    ShownMoment moment;
    EXPECT_FALSE(moment.Shifted());
    ASSERT_TRUE(moment.Step(1, false, clock));
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 10:30:00");
    moment.Step(1, false, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 11:00:00");
    // Real time passing leaves the shown instant where it is.
    clock.Advance(20 * kMinute);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 11:00:00");
    moment.Step(-3, false, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 09:30:00");

    // Back to now, then earlier: the half hour before.
    EXPECT_TRUE(moment.BackToNow());
    EXPECT_FALSE(moment.BackToNow());
    moment.Step(-1, false, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 10:00:00");

    // Exactly on a half hour, the first notch is the next one.
    ZonedClock onTheHour(test::Tokyo(), {2026, 12, 9, 1, 0, 0});
    ShownMoment fromTen;
    fromTen.Step(1, false, onTheHour);
    EXPECT_EQ(LocalShown(fromTen, onTheHour), "2026/12/09 10:30:00");

    // A computer 5:45 ahead of UTC: its own half hours, not UTC's.
    ZonedClock nepal(ZoneRules::Of({-345, 0, 0, {}, {}}), {2026, 12, 9, 4, 22, 0});  // 10:07 local
    ShownMoment there;
    there.Step(1, false, nepal);
    EXPECT_EQ(LocalShown(there, nepal), "2026/12/09 10:30:00");
    EXPECT_EQ(FormatDate(ToDateValue(CivilFromMillis(there.Instant())), "hh:nn"), "04:45");
}

TEST(ShownMoment, WheelFractionsAddUpToNotches) {
    ZonedClock clock(test::Tokyo(), {2026, 12, 9, 1, 7, 0});
    ShownMoment moment;
    // Towards the user is later; a third of a notch at a time.
    EXPECT_FALSE(moment.Wheel(-40, false, clock));
    EXPECT_FALSE(moment.Wheel(-40, false, clock));
    EXPECT_FALSE(moment.Shifted());
    EXPECT_TRUE(moment.Wheel(-40, false, clock));
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 10:30:00");
    // A turn the other way drops what was left over.
    moment.Wheel(-100, false, clock);
    EXPECT_FALSE(moment.Wheel(30, false, clock));
    EXPECT_TRUE(moment.Wheel(90, false, clock));
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 10:00:00");
    // Three notches in one message.
    moment.Wheel(-3 * kWheelNotch, false, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/09 11:30:00");
}

TEST(ShownMoment, DayStepsKeepTheMinuteAcrossTheYearEnd) {
    ZonedClock clock(test::Tokyo(), {2026, 12, 30, 1, 7, 23});  // 10:07:23
    ShownMoment moment;
    moment.Step(1, true, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/31 10:07:00");
    moment.Step(1, true, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2027/01/01 10:07:00");
    moment.Step(1, false, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2027/01/01 10:30:00");
    moment.Step(-2, true, clock);
    EXPECT_EQ(LocalShown(moment, clock), "2026/12/30 10:30:00");

    // Every place on its side of the year end: Tokyo has turned, London not yet.
    ZonedClock evening(test::Tokyo(), {2026, 12, 31, 14, 50, 0});  // 23:50
    FivePlaces places;
    ShownMoment midnight;
    midnight.Step(1, false, evening);
    places.TickAt(evening, midnight);
    EXPECT_EQ(places.Time(4), "01/01 00:00");
    EXPECT_EQ(places.Time(2), "12/31 15:00");
    EXPECT_EQ(places.Time(5), "12/31 10:00");
}

TEST(ShownMoment, PlacesCrossSummerTimeInBothHemispheres) {
    // The computer in Tokyo; Saturday 13 March 2027, 07:00 in New York.
    ZonedClock clock(test::Tokyo(), {2027, 3, 13, 12, 0, 0});
    FivePlaces places;
    ShownMoment moment;
    moment.Step(-1, false, clock);  // 06:30 EST, on the near side
    moment.Step(1, false, clock);
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(1), "03/13 07:00");
    EXPECT_FALSE(places.Summer(1));
    // A day on, New York keeps summer time: 08:00, not 07:00.
    moment.Step(1, true, clock);
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(1), "03/14 08:00");
    EXPECT_TRUE(places.Summer(1));
    // London has not changed yet; Sydney still in its summer.
    EXPECT_EQ(places.Time(2), "03/14 12:00");
    EXPECT_FALSE(places.Summer(2));
    EXPECT_TRUE(places.Summer(3));

    // Sydney leaves summer time on Sunday 4 April at 03:00 (16:00 UTC the day before).
    ZonedClock april(test::Tokyo(), {2027, 4, 3, 15, 0, 0});  // 02:00 in Sydney
    ShownMoment autumn;
    autumn.Step(1, false, april);
    places.TickAt(april, autumn);
    EXPECT_EQ(places.Time(3), "04/04 02:30");
    EXPECT_TRUE(places.Summer(3));
    autumn.Step(2, false, april);  // 16:30 UTC
    places.TickAt(april, autumn);
    EXPECT_EQ(places.Time(3), "04/04 02:30");
    EXPECT_FALSE(places.Summer(3));
}

TEST(ShownMoment, FixedPlacesFollowTheComputersOwnSummerTime) {
    // The computer in New York, a fixed place 14 hours ahead of it; 07:00 EST
    // the day before the change, when business hours have not begun there.
    ZonedClock clock(test::Eastern(), {2027, 3, 13, 12, 0, 0});
    FivePlaces places;
    places.model.TimeDiff[5] = Value::Text("14");
    places.model.WorkStart[5] = Value::Text("21:30");
    places.model.WorkEnd[5] = Value::Text("23:00");
    ShownMoment moment;
    moment.Step(1, true, clock);  // 24 hours on: 08:00 EDT
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(5), "03/14 22:00");
    EXPECT_TRUE(places.AtWork(5));
    // The zone places meanwhile: New York 08:00, out of hours; Tokyo 21:00.
    EXPECT_EQ(places.Time(1), "03/14 08:00");
    EXPECT_FALSE(places.AtWork(1));
    EXPECT_EQ(places.Time(4), "03/14 21:00");
    // A day and two notches back it is 06:00 EST the day before: 20:00 at
    // the fixed place, before its hours.
    moment.Step(-1, true, clock);
    moment.Step(-2, false, clock);
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(5), "03/13 20:00");
    EXPECT_FALSE(places.AtWork(5));
    // Business colours follow the shown hour: 09:00 in New York.
    moment.Step(6, false, clock);
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(1), "03/13 09:00");
    EXPECT_TRUE(places.AtWork(1));
}

TEST(ShownMoment, StopsWithinAHundredYearsOfNow) {
    ZonedClock clock(test::Tokyo(), {2026, 12, 9, 1, 7, 0});
    ShownMoment moment;
    EXPECT_TRUE(moment.Step(INT_MAX, true, clock));
    const UtcMillis now = RealNow(clock);
    EXPECT_EQ(moment.Instant() - now, kShiftLimitMs);
    EXPECT_FALSE(moment.Step(1, false, clock));  // at the bound: it no longer moves
    EXPECT_FALSE(moment.Wheel(INT_MIN, false, clock));
    FivePlaces places;
    places.model.DateFormat = Value::Text("yyyy/mm/dd hh:nn");
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(4), "2126/12/09 10:07");

    // Spun the other way as hard as a wheel can, notch by notch and at once.
    for (int i = 0; i < 1000; ++i) moment.Wheel(INT_MAX, true, clock);
    EXPECT_EQ(now - moment.Instant(), kShiftLimitMs);
    EXPECT_FALSE(moment.Step(INT_MIN, false, clock));
    places.TickAt(clock, moment);
    EXPECT_EQ(places.Time(4), "1926/12/10 10:07");
}

TEST(ShownMoment, ReturnsToNowAfterAMinuteWithoutInput) {
    ZonedClock clock(test::Tokyo(), {2026, 12, 9, 1, 7, 0});
    ShownMoment moment;
    EXPECT_EQ(moment.MsUntilIdleReturn(clock), 0);
    EXPECT_FALSE(moment.ReturnIfIdle(clock));
    moment.Step(1, false, clock);
    clock.Advance(59'000);
    EXPECT_EQ(moment.MsUntilIdleReturn(clock), 1'000);
    EXPECT_FALSE(moment.ReturnIfIdle(clock));
    // A key that moves nothing (at the bound, say) still counts as input.
    moment.Step(0, false, clock);
    clock.Advance(59'999);
    EXPECT_FALSE(moment.ReturnIfIdle(clock));
    EXPECT_TRUE(moment.Shifted());
    clock.Advance(1);
    EXPECT_TRUE(moment.ReturnIfIdle(clock));
    EXPECT_FALSE(moment.Shifted());

    // A clock set back before the last input returns at once.
    moment.Wheel(kWheelNotch, false, clock);
    clock.Advance(-3'600'000);
    EXPECT_TRUE(moment.ReturnIfIdle(clock));
}

TEST(ShownMoment, DescribesTheShiftAndTheComputersClock) {
    ZonedClock clock(test::Tokyo(), {2026, 12, 9, 1, 0, 40});  // Wednesday 10:00:40
    ShownMoment moment;
    moment.Step(1, true, clock);
    moment.Step(7, false, clock);
    std::string text;
    DescribeShift(text, moment.Instant(), clock);
    EXPECT_EQ(text, "+1日 3:30 · 12/10(木) 13:30");
    moment.BackToNow();
    moment.Step(-1, false, clock);
    moment.Step(-1, false, clock);
    DescribeShift(text, moment.Instant(), clock);
    EXPECT_EQ(text, "-0:30 · 12/09(水) 09:30");
    // The computer's own summer time at the shown moment.
    ZonedClock newYork(test::Eastern(), {2027, 3, 13, 12, 0, 0});
    ShownMoment dayOn;
    dayOn.Step(1, true, newYork);
    DescribeShift(text, dayOn.Instant(), newYork);
    EXPECT_EQ(text, "+1日 0:00 · 03/14(日) 08:00");
}

TEST(ShownMoment, HoverTextTellsWhatTheLabelDoesNot) {
    ZonedClock clock(test::Tokyo(), {2027, 1, 20, 3, 0, 0});
    FivePlaces places;
    const ZoneList zones = test::SampleZones();
    places.model.ZoneName[1] = "Eastern Standard Time";
    places.model.ZoneName[3] = "AUS Eastern Standard Time";
    places.model.ZoneName[4] = "Tokyo Standard Time";
    EXPECT_EQ(PlaceHoverText(places.model, 1, zones, clock),
              "(UTC-05:00) 東部標準時 (米国およびカナダ)\nこのPCより14時間遅い\n2027/03/14 2:00 サマータイム開始 (+1時間)");
    EXPECT_EQ(PlaceHoverText(places.model, 3, zones, clock),
              "(UTC+10:00) キャンベラ、メルボルン、シドニー\nこのPCより2時間進んでいる\n2027/04/04 3:00 サマータイム終了 (-1時間)");
    // No change within 90 days, and none at all.
    EXPECT_EQ(PlaceHoverText(places.model, 4, zones, clock), "(UTC+09:00) 大阪、札幌、東京\nこのPCと同じ時刻");
    ZonedClock december(test::Tokyo(), {2026, 12, 10, 3, 0, 0});
    EXPECT_EQ(PlaceHoverText(places.model, 1, zones, december), "(UTC-05:00) 東部標準時 (米国およびカナダ)\nこのPCより14時間遅い");
    // Fixed places: their numbers, half hours and summer time included.
    EXPECT_EQ(PlaceHoverText(places.model, 5, zones, clock), "時差 -14\nこのPCより14時間遅い");
    places.model.TimeDiff[5] = Value::Text("-3.5");
    places.model.SummerTime[5] = Value::Text("1");
    EXPECT_EQ(PlaceHoverText(places.model, 5, zones, clock), "時差 -3.5 (サマータイム +1)\nこのPCより2時間30分遅い");
    places.model.PlaceName[6] = "";
    EXPECT_EQ(PlaceHoverText(places.model, 6, zones, clock), "");
}

}  // namespace
}  // namespace qv
