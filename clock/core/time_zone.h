// Time zones as the system describes them: a bias, a standard and a summer
// bias, and the two yearly changes in month / week-of-month / weekday / time
// form, one rule a year. Converting a UTC instant to the zone's local time and
// knowing when that changes next is plain arithmetic on those numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "date_value.h"

namespace qv {

// Milliseconds since 1 January 1970, 00:00 UTC.
using UtcMillis = std::int64_t;
inline constexpr std::int64_t kMsPerDay = 86'400'000;
// a / b rounded towards minus infinity: instants before 1970 too.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

UtcMillis ToUtcMillis(const CivilTime& utc);
// Whole seconds, rounded down.
CivilTime CivilFromMillis(UtcMillis instant);

// One of a rule year's two changes, in the system's own form.
struct ZoneChange {
    int year = 0;     // 0: recurs every year (day is then a week); otherwise a fixed date
    int month = 0;    // 1..12; 0 on both changes: the zone keeps no summer time
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    int day = 0;      // week of the month 1..5, 5 being the last; with a year, the day of the month
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    bool operator==(const ZoneChange&) const = default;
};

// A year's rule. UTC = local time + bias + the standard or the summer bias
// (minutes). The change to summer time is given in local standard time, the
// change back in local summer time.
struct ZoneYearRule {
    int bias = 0;
    int standardBias = 0;
    int daylightBias = 0;
    ZoneChange standardDate;
    ZoneChange daylightDate;
    bool operator==(const ZoneYearRule&) const = default;

    bool KeepsSummerTime() const { return daylightDate.month != 0 && standardDate.month != 0; }
};

// A zone's rules over the years: years[i] holds for firstYear + i; a year
// before or after takes the nearest. Never empty once built by ZoneRules::Of.
struct ZoneRules {
    int firstYear = 0;
    std::vector<ZoneYearRule> years;
    bool operator==(const ZoneRules&) const = default;

    // Out of line: copied with the settings model, whose ten rows would
    // otherwise each carry their own copy of the vector's code.
    ZoneRules() = default;
    ZoneRules(int first, std::vector<ZoneYearRule> rules);
    ZoneRules(const ZoneRules&);
    ZoneRules(ZoneRules&&) noexcept;
    ZoneRules& operator=(const ZoneRules&);
    ZoneRules& operator=(ZoneRules&&) noexcept;
    ~ZoneRules();

    static ZoneRules Of(ZoneYearRule rule) { return {0, {rule}}; }
    const ZoneYearRule& ForYear(int year) const;
};

// What a zone shows at an instant, and until when it shows it.
struct ZoneState {
    int offsetMinutes = 0;  // local time = UTC + offset
    bool summer = false;    // summer time in force
    // The first instant after which the offset or the summer flag may differ;
    // nothing changes before it. The next real change, or a later instant at
    // which to look again when none is near.
    UtcMillis until = 0;
};

// What a zone shows at an instant, without looking ahead: the tick's share.
struct ZoneShown {
    int offsetMinutes = 0;
    bool summer = false;
    bool operator==(const ZoneShown&) const = default;
};
ZoneShown ZoneShownAt(const ZoneRules& rules, UtcMillis instant);

// The state at `instant`. The rule of a year governs from 1 January 00:00 of
// that year in the zone's local time without summer or standard bias, as the
// system counts it. Allocates nothing.
ZoneState ZoneStateAt(const ZoneRules& rules, UtcMillis instant);

// A zone's state kept between ticks: it holds from the instant it was
// computed at until its end, for as long as the rules of the years it read
// stay the same, so a tick recomputes it only at a change.
class ZoneStateCache {
public:
    const ZoneState& At(const ZoneRules& rules, UtcMillis now);
    // The kept state when it holds at `now` for these rules; none otherwise.
    const ZoneState* Holding(const ZoneRules& rules, UtcMillis now) const;

private:
    ZoneState state_;
    UtcMillis at_ = 0;
    int year_ = 0;
    ZoneYearRule rule_, next_;
    int afterNextBias_ = 0;
    bool valid_ = false;
};

// The instant (UTC) a rule's change falls on in `year`, or nothing when the
// rule has no such change. A change stored as 23:59:59.999 is the end of that
// day: it takes effect at the next midnight.
std::optional<UtcMillis> ChangeInstant(const ZoneYearRule& rule, const ZoneChange& change, int year, bool toSummer);

// A zone the system lists: its key name (the same in every language, what
// the files store), its display name (UTF-8) and its rules.
struct ZoneEntry {
    std::string key;
    std::string display;
    ZoneRules rules;
    // The standard offset of the most recent rule (minutes east of UTC), the
    // list's first sort key.
    int StandardOffset() const;
};

// The system's zones in the order the setup form lists them: standard offset
// west to east, then display name.
class ZoneList {
public:
    ZoneList() = default;
    explicit ZoneList(std::vector<ZoneEntry> zones);
    const std::vector<ZoneEntry>& Zones() const { return zones_; }
    // The zone with this key name, compared without regard to ASCII case.
    const ZoneEntry* Find(std::string_view key) const;
    const ZoneEntry* FindDisplay(std::string_view display) const;

private:
    std::vector<ZoneEntry> zones_;
};

// Key names longer than this many UTF-16 units are not the system's.
inline constexpr std::size_t kMaxZoneKeyUnits = 127;

}  // namespace qv
