// The system's own time zones: the registry's "Time Zones" key, which every
// Windows keeps and Windows Update keeps current. Nothing is shipped.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "handles.h"

#include "time_zone.h"

namespace qv::win {

// Every zone the system lists, with its display name in the user's language
// (the "Display" text where the localised one cannot be loaded) and its
// rules year by year. A zone whose rules cannot be read is left out.
// On 64-bit Windows a 32-bit program reads the 64-bit view, the one Windows
// Update keeps current.
ZoneList LoadSystemZones();
// Only the zones of these key names (any case): what the places need.
ZoneList LoadSystemZones(const std::vector<std::string>& keys);

// Tells when the system's zone data has changed since the last look: a
// change notification on the zones key, asked for again at each look.
class ZoneWatch {
public:
    ZoneWatch();
    // True once after each change. Where the system cannot notify, true once
    // a minute: the zones are then read again that often rather than never.
    bool Changed();
    // Signalled while a change is untold (manual reset: a wait leaves it so).
    HANDLE event() const { return event_.get(); }

private:
    void Arm();
    UniqueKey key_;
    UniqueKernelHandle event_;
    bool armed_ = false;
    ULONGLONG lastUnarmedLook_ = 0;
};

// A year's rule from the system's structure.
ZoneYearRule RuleFromTimeZoneInformation(LONG bias, LONG standardBias, LONG daylightBias, const SYSTEMTIME& standardDate,
                                         const SYSTEMTIME& daylightDate);
inline ZoneYearRule RuleFromTimeZoneInformation(const TIME_ZONE_INFORMATION& tzi) {
    return RuleFromTimeZoneInformation(tzi.Bias, tzi.StandardBias, tzi.DaylightBias, tzi.StandardDate, tzi.DaylightDate);
}

}  // namespace qv::win
