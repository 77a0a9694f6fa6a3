// The clock tick in steady state allocates nothing: every text it writes fits
// the buffer it already has. Counts calls of the global operator new,
// which counting_new.cpp replaces in this program.
#include <gtest/gtest.h>


#include "date_format.h"
#include "counting_new.h"
#include "value_printer.h"
#include "fake_clock.h"
#include "shown_moment.h"
#include "tick_setup.h"
#include "zone_samples.h"

namespace qv {
namespace {

using test::FakeClock;

TEST(Allocations, TheCounterSeesAllocations) {
    long before = test::AllocationCount();
    auto* text = new std::string(100, 'x');
    delete text;
    EXPECT_GE(test::AllocationCount() - before, 2);
}

TEST(Allocations, NoneInSteadyStateTicks) {
    for (const char* format : {"mm/dd hh:mm", "yyyy年m月d日(aaa) h時nn分ss秒"}) {
        SettingsModel model;
        RowLabels labels;
        test::TenNamedPlaces(model, labels);
        // Half the places follow a zone: converting allocates nothing either.
        for (int n = 2; n <= kPlaceCount; n += 2) model.Zone[n] = n % 4 ? test::AusEastern() : test::Gmt();
        model.DateFormat = Value::Text(format);
        FakeClock clock({2026, 12, 31, 23, 58, 0});
        ClockTick(model, clock, labels);  // the texts get their buffers

        const long before = test::AllocationCount();
        // Ten minutes of ticks, across midnight and the new year.
        for (int tick = 0; tick < 6000; ++tick) {
            int seconds = 58 * 60 + tick / 10;
            clock.Set(seconds < 3600 ? CivilTime{2026, 12, 31, 23, seconds / 60, seconds % 60}
                                     : CivilTime{2027, 1, 1, 0, (seconds - 3600) / 60, seconds % 60});
            ClockTick(model, clock, labels);
        }
        EXPECT_EQ(test::AllocationCount() - before, 0) << format;
        EXPECT_EQ(model.LocalTime[1], Value::Text("00:07"));
    }
}

TEST(Allocations, NoneForANotchOfTenZonePlaces) {
    SettingsModel model;
    RowLabels labels;
    test::TenNamedPlaces(model, labels);
    for (int n = 1; n <= kPlaceCount; ++n) model.Zone[n] = n % 2 ? test::Eastern() : test::AusEastern();
    test::ZonedClock clock(test::Tokyo(), {2027, 3, 10, 1, 7, 0});
    ShownMoment moment;
    moment.Step(1, false, clock);
    ClockTick(model, MomentClock(clock, moment.Instant()), labels);  // the texts get their buffers

    const long before = test::AllocationCount();
    // Across both summer-time changes, forwards and back, by notches and days.
    for (int notch = 0; notch < 2000; ++notch) {
        moment.Step(notch < 1000 ? 1 : -1, notch % 10 == 0, clock);
        ClockTick(model, MomentClock(clock, moment.Instant()), labels);
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
}

TEST(Allocations, NoneFormattingIntoABufferWithRoom) {
    std::string out;
    out.reserve(64);
    Value text = Value::Text("12/06 20:30");
    const long before = test::AllocationCount();
    for (int i = 0; i < 1000; ++i) {
        FormatDateInto(out, 46363.0 + i / 1440.0, "mm/dd hh:mm");
        FormatDateInto(out, 46363.0 + i / 1440.0, "yyyy/mm/dd(aaa) hh:nn:ss");
        text.MutableText() = out.substr(0, 5);  // within the small-string buffer
        FormatInPlace(text, "hh:mm");
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace qv
