// The clock tick's arithmetic: each place's date and time, and whether the
// place is inside its business hours.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "date_value.h"
#include "settings_model.h"

namespace qv {

// local + TimeDiff/24 + SummerTime/24. A value that is not a number counts
// as 0; when the result leaves the valid dates both offsets count as 0, so the
// place shows the computer's own time rather than stopping the clock.
DateValue PlaceTime(DateValue local, const Value& timeDiff, const Value& summerTime);

// What the clock window shows of its rows; the tick reads the name captions
// and writes the time captions and the name colours.
struct RowLabels {
    std::array<std::string, kPlaceCount> nameCaption;
    std::array<std::string, kPlaceCount> timeCaption;
    std::array<std::uint32_t, kPlaceCount> nameColor{};
    // Rows that follow a zone, and which of them keep summer time now: their
    // time label's colour follows it while the clock runs.
    std::array<bool, kPlaceCount> followsZone{};
    std::array<bool, kPlaceCount> summer{};
    // Each zone row's state between ticks.
    std::array<ZoneStateCache, kPlaceCount> zoneStates{};
};

// A row's time now: its zone's local time at the clock's UTC instant when it
// follows a zone this system knows (its state kept in `zoneState`), otherwise
// PlaceTime of the computer's time.
DateValue RowTime(const SettingsModel& model, int n, const ClockSource& clock, ZoneStateCache& zoneState);

// LocalTime(n) := format(LocalTime(n), "hh:mm") on all ten rows.
void FormatLocalTime(SettingsModel& model);

// One tick: time labels, local times, their "hh:mm" form, name colours.
// Allocates nothing once the captions have their size.
void ClockTick(SettingsModel& model, const ClockSource& clock, RowLabels& labels);

// Whole seconds from `now` until the first second at which a tick would write
// something else than it did last: a time caption, a time of day and with it
// a name colour, a zone's summer time. 0 when what `shown` holds is already
// out of date; `limit` when nothing changes sooner. Only looks ahead: the
// model stays as it is. `utcNow` is the same instant in UTC.
int SecondsUntilTickChanges(const SettingsModel& model, const RowLabels& shown, CivilTime now, CivilTime utcNow, int limit);
// The same for a clock that keeps no zone (its local time is UTC).
inline int SecondsUntilTickChanges(const SettingsModel& model, const RowLabels& shown, CivilTime now, int limit) {
    return SecondsUntilTickChanges(model, shown, now, now, limit);
}

// The tick's timer. Rather than polling, it sleeps until the next second at
// which a caption or a name colour changes, and wakes just after it: once a
// second with a picture that shows seconds, once a minute with one that does
// not (twice where a place's minute turns apart from the computer's).
inline constexpr unsigned kTickIntervalMs = 1000;
// The longest sleep, in seconds, when nothing changes sooner.
inline constexpr int kTickLongestWait = 60;
// A tick this long after its second is still in phase; a later one (the
// timer drifted, the clock was set) re-aligns the timer.
inline constexpr unsigned kTickMarginMs = 20;
inline constexpr unsigned kTickSlackMs = 120;
// The shortest period a window timer takes (the system's USER_TIMER_MINIMUM).
inline constexpr unsigned kShortestTimerMs = 10;

// Milliseconds from a local time whose millisecond part is `millisecond`
// until just after its next whole second.
unsigned NextTickDelay(unsigned millisecond);
// The timer's period for a change `seconds` whole seconds after the current
// one (0: the shown captions are already old).
unsigned TickPeriodFor(int seconds, unsigned millisecond);

}  // namespace qv
