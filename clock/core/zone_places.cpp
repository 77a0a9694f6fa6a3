// Zone places: looking the zones up, their local time, and the numbers
// written beside them for older copies of the program.
#include "zone_places.h"


namespace qv {

void ApplyZones(SettingsModel& model, const ZoneList& zones) {
    for (int n = 1; n <= kPlaceCount; ++n) {
        const std::string& name = model.ZoneName[n];
        const ZoneEntry* zone = nullptr;
        if (!name.empty() && Utf16Length(name) <= kMaxZoneKeyUnits) zone = zones.Find(name);
        if (zone) model.Zone[n] = zone->rules;
        else model.Zone[n].reset();
    }
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // a lead byte or ASCII starts a character
        if (byte >= 0xF0) ++units;           // beyond the basic plane: a surrogate pair
    }
    return units;
}

int ComputerOffsetMinutes(const CivilTime& local, const CivilTime& utc) {
    // Whole seconds apart; to the nearest minute in integers (the 32-bit
    // core rounds no doubles to integers).
    const std::int64_t seconds = (ToUtcMillis(local) - ToUtcMillis(utc)) / 1000 + 30;
    return static_cast<int>(seconds / 60 - (seconds % 60 < 0));
}

DateValue ZoneDateValue(UtcMillis instant, int offsetMinutes) {
    constexpr std::int64_t kSecondsPerDay = 86'400;
    constexpr std::int64_t kDateValueOf1970 = 25'569;
    std::int64_t seconds = instant / 1000 - (instant % 1000 < 0) + offsetMinutes * std::int64_t{60};
    std::int64_t days = seconds / kSecondsPerDay - (seconds % kSecondsPerDay < 0);
    const std::int64_t second = seconds - days * kSecondsPerDay;
    days += kDateValueOf1970;
    // As ToDateValue counts: whole days, then the time of day (after day 0 only,
    // which every UTC instant a clock reads is).
    return static_cast<double>(days) + static_cast<double>(second) / static_cast<double>(kSecondsPerDay);
}

void StampZoneOffsets(SettingsModel& model, const CivilTime& local, const CivilTime& utc) {
    const int computer = ComputerOffsetMinutes(local, utc);
    const UtcMillis now = ToUtcMillis(utc);
    for (int n = 1; n <= kPlaceCount; ++n) {
        if (!model.Zone[n]) continue;
        const ZoneState state = ZoneStateAt(*model.Zone[n], now);
        const int summer = state.summer ? 1 : 0;
        const int diffMinutes = state.offsetMinutes - computer - summer * 60;
        model.TimeDiff[n] = diffMinutes % 60 == 0 ? Value::Integer(static_cast<std::int16_t>(diffMinutes / 60))
                                                  : Value::Single(static_cast<float>(diffMinutes / 60.0));
        model.SummerTime[n] = Value::Integer(static_cast<std::int16_t>(summer));
    }
}

}  // namespace qv
