// The system's own time zones: the registry's "Time Zones" key, which every
// Windows keeps and Windows Update keeps current. Nothing is shipped.
#pragma once

#include <windows.h>

#include <optional>

#include "time_zone.h"

namespace qv::win {

// Every zone the system lists, with its display name in the user's language
// (the "Display" text where the localised one cannot be loaded) and its
// rules year by year. A zone whose rules cannot be read is left out.
ZoneList LoadSystemZones();

// A year's rule from the system's structure.
ZoneYearRule RuleFromTimeZoneInformation(LONG bias, LONG standardBias, LONG daylightBias, const SYSTEMTIME& standardDate,
                                         const SYSTEMTIME& daylightDate);
inline ZoneYearRule RuleFromTimeZoneInformation(const TIME_ZONE_INFORMATION& tzi) {
    return RuleFromTimeZoneInformation(tzi.Bias, tzi.StandardBias, tzi.DaylightBias, tzi.StandardDate, tzi.DaylightDate);
}

}  // namespace qv::win
