// The clock tick: each place's time label, its time of day and the colour
// that tells whether the place is inside its business hours.
#include "clock_tick.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "date_format.h"
#include "zone_places.h"

namespace qv {

namespace {


// A value's text without copying it when it is text; otherwise its text form
// in scratch (short enough for the string's own buffer).
std::string_view TextOf(const Value& value, std::string& scratch) {
    if (const std::string* text = value.TextIf()) return *text;
    scratch = value.ToText();
    return scratch;
}

DateValue Now(const ClockSource& clock) { return ToDateValue(clock.Now()); }

// A place's time of day as the business hours compare it, "hh:mm": the hour
// and minute the display shows when it shows both (so label and colour always
// agree), otherwise its displayed text read back as a time.
void TimeOfDay(Value& timeOfDay, DateValue placeTime, std::string_view picture) {
    std::string& text = timeOfDay.MutableText();
    if (ShownHourMinute(text, placeTime, picture)) return;
    FormatDateInto(text, placeTime, picture);
    FormatInPlace(timeOfDay, "hh:mm");
}

}  // namespace

DateValue PlaceTime(DateValue local, const Value& timeDiff, const Value& summerTime) {
    const double diff = timeDiff.ToNumber().value_or(0);
    const double summer = summerTime.ToNumber().value_or(0);
    const DateValue place = (local + diff / 24) + summer / 24;
    return InDateRange(place) ? place : local;
}

DateValue RowTime(const SettingsModel& model, int n, const ClockSource& clock, ZoneStateCache& zoneState) {
    if (const auto& zone = model.Zone[n]) {
        const UtcMillis now = ToUtcMillis(clock.UtcNow());
        return ZoneDateValue(now, zoneState.At(*zone, now).offsetMinutes);
    }
    return PlaceTime(Now(clock), model.TimeDiff[n], model.SummerTime[n]);
}

void FormatLocalTime(SettingsModel& model) {
    for (model.LoopIndex = 1; model.LoopIndex <= kPlaceCount; ++model.LoopIndex) {
        FormatInPlace(model.LocalTime[model.LoopIndex], "hh:mm");
    }
}

void ClockTick(SettingsModel& model, const ClockSource& clock, RowLabels& labels) {
    std::string pictureScratch;
    const std::string_view picture = TextOf(model.DateFormat, pictureScratch);

    // Time labels of the rows whose name label shows something; each row reads
    // the clock itself.
    for (int n = 1; n <= kPlaceCount; ++n) {
        const auto row = static_cast<std::size_t>(n - 1);
        if (labels.nameCaption[row].empty()) continue;
        FormatDateInto(labels.timeCaption[row], RowTime(model, n, clock, labels.zoneStates[row]), picture);
    }
    // Summer time of the zone places, for their time labels' colour.
    for (int n = 1; n <= kPlaceCount; ++n) {
        const auto row = static_cast<std::size_t>(n - 1);
        labels.followsZone[row] = model.Zone[n].has_value();
        labels.summer[row] = model.Zone[n] && labels.zoneStates[row].At(*model.Zone[n], ToUtcMillis(clock.UtcNow())).summer;
    }

    // Each named place's time of day as its display shows it.
    for (model.LoopIndex = 1; model.LoopIndex <= kPlaceCount; ++model.LoopIndex) {
        const int n = model.LoopIndex;
        if (model.PlaceName[n].empty()) continue;
        TimeOfDay(model.LocalTime[n], RowTime(model, n, clock, labels.zoneStates[static_cast<std::size_t>(n - 1)]), picture);
    }
    FormatLocalTime(model);

    // Inside business hours (inclusive, compared as texts) the name takes the
    // work colour. A colour that is not a number counts as its default.
    const std::uint32_t nameColor = ColorOr(model.NameColor, defaults::kNameColor);
    const std::uint32_t workColor = ColorOr(model.WorkColor, defaults::kWorkColor);
    std::string startScratch, endScratch, localScratch;
    for (int n = 1; n <= kPlaceCount; ++n) {
        const std::string_view start = TextOf(model.WorkStart[n], startScratch);
        const std::string_view end = TextOf(model.WorkEnd[n], endScratch);
        const std::string_view local = TextOf(model.LocalTime[n], localScratch);
        labels.nameColor[static_cast<std::size_t>(n - 1)] = start <= local && end >= local ? workColor : nameColor;
    }
}

int SecondsUntilTickChanges(const SettingsModel& model, const RowLabels& shown, CivilTime now, CivilTime utcNow, int limit) {
    std::string pictureScratch;
    const std::string_view picture = TextOf(model.DateFormat, pictureScratch);
    std::string text;
    Value timeOfDay = Value::Text("");
    // The rows as the tick writes them: a caption where the row has a name
    // label, otherwise the time of day where the row has a place name. Each
    // row's search stops at the earliest change found so far, so a picture
    // with seconds costs one format a row, and one without at most a minute's.
    int first = limit;
    const UtcMillis utc = ToUtcMillis(utcNow);
    for (int n = 1; n <= kPlaceCount; ++n) {
        const auto row = static_cast<std::size_t>(n - 1);
        // A zone keeps its offset until its state's end: the search goes no
        // further, and a summer time that has already turned is out of date.
        std::optional<ZoneState> zone;
        if (model.Zone[n]) {
            const ZoneState* kept = shown.zoneStates[row].Holding(*model.Zone[n], utc);
            zone = kept ? *kept : ZoneStateAt(*model.Zone[n], utc);
            if (!shown.followsZone[row] || shown.summer[row] != zone->summer) return 0;
            first = static_cast<int>(std::min<UtcMillis>(first, (zone->until - utc) / 1000));
        } else if (shown.followsZone[row]) {
            return 0;
        }
        const bool caption = !shown.nameCaption[row].empty();
        if (!caption && model.PlaceName[n].empty()) continue;
        CivilTime then = now;
        for (int seconds = 0; seconds < first; ++seconds, then = NextSecond(then)) {
            const DateValue placeTime = zone ? ZoneDateValue(utc + seconds * std::int64_t{1000}, zone->offsetMinutes)
                                             : PlaceTime(ToDateValue(then), model.TimeDiff[n], model.SummerTime[n]);
            bool changes;
            if (caption) {
                FormatDateInto(text, placeTime, picture);
                changes = text != shown.timeCaption[row];
            } else {
                TimeOfDay(timeOfDay, placeTime, picture);
                changes = !(timeOfDay == model.LocalTime[n]);
            }
            if (changes) {
                first = seconds;
                break;
            }
        }
    }
    return first;
}

unsigned NextTickDelay(unsigned millisecond) {
    return kTickIntervalMs - std::min(millisecond, kTickIntervalMs - 1) + kTickMarginMs;
}

unsigned TickPeriodFor(int seconds, unsigned millisecond) {
    if (seconds <= 0) return kShortestTimerMs;
    const unsigned untilNextSecond = millisecond <= kTickSlackMs ? kTickIntervalMs : NextTickDelay(millisecond);
    return static_cast<unsigned>(seconds - 1) * kTickIntervalMs + untilNextSecond;
}

}  // namespace qv
