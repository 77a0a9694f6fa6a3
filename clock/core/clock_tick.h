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
};

// LocalTime(n) := format(LocalTime(n), "hh:mm") on all ten rows.
void FormatLocalTime(SettingsModel& model);

// One tick: time labels, local times, their "hh:mm" form, name colours.
// Allocates nothing once the captions have their size.
void ClockTick(SettingsModel& model, const ClockSource& clock, RowLabels& labels);

// Whole seconds from `now` until the first second at which a tick would write
// something else than it did last: a time caption, a time of day and with it
// a name colour. 0 when what `shown` holds is already out of date; `limit`
// when nothing changes sooner. Only looks ahead: the model stays as it is.
int SecondsUntilTickChanges(const SettingsModel& model, const RowLabels& shown, CivilTime now, int limit);

}  // namespace qv
