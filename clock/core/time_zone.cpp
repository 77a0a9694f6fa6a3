// Zone arithmetic: which year's rule governs an instant, whether summer time
// is in force, and the next instant at which that can change.
#include "time_zone.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr int kDateValueOf1970 = 25569;  // 1 January 1970 as a date value

std::int64_t DaysSince1970(int year, int month, int day) {
    return static_cast<std::int64_t>(ToDateValue(CivilTime{year, month, day})) - kDateValueOf1970;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The day of `month` a change falls on in `year`; 0 for a change the
// system would refuse (it then keeps no summer time at all).
int ChangeDay(const ZoneChange& change, int year) {
    const int length = DaysInMonth(year, change.month);
    if (length == 0 || change.weekday < 0 || change.weekday > 6) return 0;
    if (change.year != 0) return change.day >= 1 && change.day <= length ? change.day : 0;
    if (change.day < 1 || change.day > 5) return 0;
    const int firstWeekday = DayOfWeek(CivilTime{year, change.month, 1});
    int day = 1 + (change.weekday - firstWeekday + 7) % 7 + 7 * (change.day - 1);
    while (day > length) day -= 7;  // week 5 is the month's last such weekday
    return day;
}

// The UTC instant 1 January of `year` begins for the rule of that year.
UtcMillis YearStart(const ZoneRules& rules, int year) {
    return DaysSince1970(year, 1, 1) * kMsPerDay + rules.ForYear(year).bias * kMsPerMinute;
}

// The year whose rule governs `instant`.
int RuleYear(const ZoneRules& rules, UtcMillis instant) {
    const int utcYear = CivilFromMillis(instant).year;
    int year = CivilFromMillis(instant - rules.ForYear(utcYear).bias * kMsPerMinute).year;
    if (instant < YearStart(rules, year)) --year;
    else if (instant >= YearStart(rules, year + 1)) ++year;
    return year;
}

struct Shown {
    int offsetMinutes;
    bool summer;
    bool operator==(const Shown&) const = default;
};

bool SummerInForce(const ZoneYearRule& rule, int year, UtcMillis instant) {
    if (!rule.KeepsSummerTime()) return false;
    const auto start = ChangeInstant(rule, rule.daylightDate, year, true);
    const auto end = ChangeInstant(rule, rule.standardDate, year, false);
    if (!start || !end) return false;
    const bool afterStart = instant >= *start;
    const bool beforeEnd = instant < *end;
    // As the system decides it: by the months, not by the instants. A southern
    // zone's summer spans the turn of the year.
    return rule.daylightDate.month < rule.standardDate.month ? afterStart && beforeEnd : afterStart || beforeEnd;
}

Shown ShownAt(const ZoneRules& rules, UtcMillis instant, int year) {
    const ZoneYearRule& rule = rules.ForYear(year);
    if (SummerInForce(rule, year, instant)) return {-(rule.bias + rule.daylightBias), true};
    // A zone without summer time has no standard bias either.
    const bool keeps = rule.KeepsSummerTime() && ChangeInstant(rule, rule.daylightDate, year, true) &&
                       ChangeInstant(rule, rule.standardDate, year, false);
    return {-(rule.bias + (keeps ? rule.standardBias : 0)), false};
}

Shown ShownAt(const ZoneRules& rules, UtcMillis instant) { return ShownAt(rules, instant, RuleYear(rules, instant)); }

}  // namespace

UtcMillis ToUtcMillis(const CivilTime& utc) {
    return DaysSince1970(utc.year, utc.month, utc.day) * kMsPerDay +
           ((utc.hour * 60 + utc.minute) * 60 + utc.second) * std::int64_t{1000};
}

CivilTime CivilFromMillis(UtcMillis instant) {
    const std::int64_t days = FloorDiv(instant, kMsPerDay);
    const auto secondOfDay = static_cast<int>((instant - days * kMsPerDay) / 1000);
    CivilTime t = ToCivilTime(static_cast<DateValue>(days + kDateValueOf1970));
    t.hour = secondOfDay / 3600;
    t.minute = secondOfDay / 60 % 60;
    t.second = secondOfDay % 60;
    return t;
}

const ZoneYearRule& ZoneRules::ForYear(int year) const {
    const auto last = static_cast<int>(years.size()) - 1;
    return years[static_cast<std::size_t>(std::clamp(year - firstYear, 0, last))];
}

std::optional<UtcMillis> ChangeInstant(const ZoneYearRule& rule, const ZoneChange& change, int year, bool toSummer) {
    const int day = ChangeDay(change, year);
    if (day == 0) return std::nullopt;
    const std::int64_t localMs =
        DaysSince1970(year, change.month, day) * kMsPerDay +
        ((change.hour * 60 + change.minute) * 60 + change.second) * std::int64_t{1000} + change.millisecond;
    // The change to summer time is given in standard time, the change back in summer time.
    const UtcMillis instant = localMs + (rule.bias + (toSummer ? rule.standardBias : rule.daylightBias)) * kMsPerMinute;
    // Stored as 23:59:59.999, a change means the end of the day: a clock that
    // counts whole seconds sees it at the next one.
    return FloorDiv(instant + 999, 1000) * 1000;
}

ZoneState ZoneStateAt(const ZoneRules& rules, UtcMillis instant) {
    const int year = RuleYear(rules, instant);
    const Shown now = ShownAt(rules, instant, year);
    ZoneState state{now.offsetMinutes, now.summer, YearStart(rules, year + 2)};
    // Only the two years' changes and the turns of the year can change what
    // the zone shows. A 1 January "change" that only says summer time carries
    // on across the year end shows nothing new and is passed over.
    // Unused slots hold the look-again instant, which the walk never passes.
    std::array<UtcMillis, 6> candidates;
    candidates.fill(state.until);
    candidates[0] = YearStart(rules, year + 1);
    std::size_t count = 1;
    for (int y = year; y <= year + 1; ++y) {
        const ZoneYearRule& rule = rules.ForYear(y);
        if (!rule.KeepsSummerTime()) continue;
        if (auto start = ChangeInstant(rule, rule.daylightDate, y, true)) candidates[count++] = *start;
        if (auto end = ChangeInstant(rule, rule.standardDate, y, false)) candidates[count++] = *end;
    }
    std::sort(candidates.begin(), candidates.end());
    for (const UtcMillis c : candidates) {
        if (c <= instant || c >= state.until) continue;
        if (!(ShownAt(rules, c) == now)) {
            state.until = c;
            break;
        }
    }
    return state;
}

int ZoneEntry::StandardOffset() const { return rules.years.empty() ? 0 : -rules.years.back().bias; }

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

ZoneList::ZoneList(std::vector<ZoneEntry> zones) : zones_(std::move(zones)) {
    // A zone without a single rule cannot convert anything.
    std::erase_if(zones_, [](const ZoneEntry& zone) { return zone.rules.years.empty(); });
    std::stable_sort(zones_.begin(), zones_.end(), [](const ZoneEntry& a, const ZoneEntry& b) {
        const int oa = a.StandardOffset(), ob = b.StandardOffset();
        return oa != ob ? oa < ob : a.display < b.display;
    });
}

const ZoneEntry* ZoneList::Find(std::string_view key) const {
    for (const ZoneEntry& zone : zones_) {
        if (SameKey(zone.key, key)) return &zone;
    }
    return nullptr;
}

const ZoneEntry* ZoneList::FindDisplay(std::string_view display) const {
    for (const ZoneEntry& zone : zones_) {
        if (zone.display == display) return &zone;
    }
    return nullptr;
}

}  // namespace qv
