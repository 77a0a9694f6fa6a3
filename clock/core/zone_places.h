// Places that follow a time zone: their rules from the system's list, their
// time and summer time at an instant, and the numbers the places file keeps
// for a program that knows nothing of zones.
#pragma once

#include <cstddef>
#include <string_view>

#include "date_value.h"
#include "settings_model.h"
#include "time_zone.h"

namespace qv {

// Zone[n] := the rules of ZoneName[n] when the list has that zone; otherwise
// none, and the row runs on its time difference and summer time. A name too
// long to be a key of the system's is never looked up.
void ApplyZones(SettingsModel& model, const ZoneList& zones);

// UTF-16 units of a UTF-8 text (a malformed byte counts as one).
std::size_t Utf16Length(std::string_view utf8);

// Minutes the computer's clock is ahead of UTC, to the nearest minute.
int ComputerOffsetMinutes(const CivilTime& local, const CivilTime& utc);

// The date value of a zone's local time at a UTC instant (whole seconds).
DateValue ZoneDateValue(UtcMillis instant, int offsetMinutes);

// For each zone place: TimeDiff and SummerTime such that TimeDiff + SummerTime
// is the place's offset from the computer's clock now, in hours, and
// SummerTime is 1 exactly while the zone keeps summer time. A program reading
// only the 55 lines then shows the right time at the moment of saving.
void StampZoneOffsets(SettingsModel& model, const CivilTime& local, const CivilTime& utc);

}  // namespace qv
