// Timings of the per-tick work: the two clock pictures, one whole tick and
// the look-ahead that sets the timer after it.
#include <benchmark/benchmark.h>

#include <string>

#include "date_format.h"
#include "fake_clock.h"
#include "shown_moment.h"
#include "tick_setup.h"
#include "zone_samples.h"

namespace qv {
namespace {

void FormatPicture(benchmark::State& state, const char* picture) {
    std::string out;
    out.reserve(32);
    DateValue value = ToDateValue({2026, 12, 7, 10, 30, 0});
    for (auto _ : state) {
        FormatDateInto(out, value, picture);
        benchmark::DoNotOptimize(out.data());
        value += 1.0 / 86400;
    }
}
void BM_FormatMonthDayHourMinute(benchmark::State& state) { FormatPicture(state, "mm/dd hh:mm"); }
void BM_FormatHourMinute(benchmark::State& state) { FormatPicture(state, "hh:mm"); }
BENCHMARK(BM_FormatMonthDayHourMinute);
BENCHMARK(BM_FormatHourMinute);

// The read-back of a displayed text as its time of day.
void BM_FormatTextAsHourMinute(benchmark::State& state) {
    Value text = Value::Text("12/06 20:30");
    for (auto _ : state) {
        text.MutableText() = "12/06 20:30";
        FormatInPlace(text, "hh:mm");
        benchmark::DoNotOptimize(text.TextIf());
    }
}
BENCHMARK(BM_FormatTextAsHourMinute);

void BM_ClockTickTenPlaces(benchmark::State& state) {
    SettingsModel model;
    RowLabels labels;
    test::TenNamedPlaces(model, labels);
    test::FakeClock clock;
    int second = 0;
    for (auto _ : state) {
        clock.Set({2026, 12, 7, 10, second / 60 % 60, second % 60});
        ClockTick(model, clock, labels);
        benchmark::DoNotOptimize(labels.nameColor.data());
        ++second;
    }
}
BENCHMARK(BM_ClockTickTenPlaces);

// The look-ahead after a tick: with the default picture it formats a minute
// ahead for each place (once a minute), with seconds one second (each second).
void LookAhead(benchmark::State& state, const char* picture) {
    SettingsModel model;
    RowLabels labels;
    test::TenNamedPlaces(model, labels);
    model.DateFormat = Value::Text(picture);
    test::FakeClock clock({2026, 12, 7, 10, 30, 0});
    ClockTick(model, clock, labels);
    for (auto _ : state) benchmark::DoNotOptimize(SecondsUntilTickChanges(model, labels, clock.Now(), 60));
}
void BM_LookAheadTenPlacesMinutes(benchmark::State& state) { LookAhead(state, "mm/dd hh:mm"); }
void BM_LookAheadTenPlacesSeconds(benchmark::State& state) { LookAhead(state, "hh:nn:ss"); }
BENCHMARK(BM_LookAheadTenPlacesMinutes);
BENCHMARK(BM_LookAheadTenPlacesSeconds);

// One wake-up as the clock window runs it: the tick, then the look-ahead
// that sets the timer. Ten fixed places against ten that follow a zone (the
// computer in Tokyo, so local time and UTC differ).
void WakeUp(benchmark::State& state, const char* picture, bool zones) {
    SettingsModel model;
    RowLabels labels;
    test::TenNamedPlaces(model, labels);
    model.DateFormat = Value::Text(picture);
    if (zones) {
        ZoneRules (*rules[])() = {test::Tokyo, test::Gmt, test::Eastern, test::India, test::AusEastern};
        for (int n = 1; n <= kPlaceCount; ++n) model.Zone[n] = rules[(n - 1) % 5]();
    }
    test::FakeClock clock;
    int second = 0;
    for (auto _ : state) {
        const CivilTime utc{2026, 12, 7, 1, second / 60 % 60, second % 60};
        clock.Set({2026, 12, 7, 10, utc.minute, utc.second}, utc);
        ClockTick(model, clock, labels);
        benchmark::DoNotOptimize(SecondsUntilTickChanges(model, labels, clock.Now(), clock.UtcNow(), 60));
        ++second;
    }
}
void BM_WakeUpTenFixedPlacesMinutes(benchmark::State& state) { WakeUp(state, "mm/dd hh:mm", false); }
void BM_WakeUpTenZonePlacesMinutes(benchmark::State& state) { WakeUp(state, "mm/dd hh:mm", true); }
void BM_WakeUpTenFixedPlacesSeconds(benchmark::State& state) { WakeUp(state, "hh:nn:ss", false); }
void BM_WakeUpTenZonePlacesSeconds(benchmark::State& state) { WakeUp(state, "hh:nn:ss", true); }
BENCHMARK(BM_WakeUpTenFixedPlacesMinutes);
BENCHMARK(BM_WakeUpTenZonePlacesMinutes);
BENCHMARK(BM_WakeUpTenFixedPlacesSeconds);
BENCHMARK(BM_WakeUpTenZonePlacesSeconds);

// One notch of the wheel as the clock window runs it: the step, then ten
// zone places at the shown instant (their states found anew: a notch may
// cross a change).
void BM_NotchTenZonePlaces(benchmark::State& state) {
    SettingsModel model;
    RowLabels labels;
    test::TenNamedPlaces(model, labels);
    ZoneRules (*rules[])() = {test::Tokyo, test::Gmt, test::Eastern, test::India, test::AusEastern};
    for (int n = 1; n <= kPlaceCount; ++n) model.Zone[n] = rules[(n - 1) % 5]();
    test::ZonedClock clock(test::Tokyo(), {2026, 12, 7, 1, 7, 0});
    ShownMoment moment;
    int notch = 0;
    for (auto _ : state) {
        moment.Step(notch++ % 2000 < 1000 ? 1 : -1, false, clock);
        ClockTick(model, MomentClock(clock, moment.Instant()), labels);
        benchmark::DoNotOptimize(labels.nameColor.data());
    }
}
BENCHMARK(BM_NotchTenZonePlaces);

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
