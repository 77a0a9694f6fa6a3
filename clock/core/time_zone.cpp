// Zone arithmetic: which year's rule governs an instant, whether summer time
// is in force, and the next instant at which that can change.
#include "time_zone.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
std::int64_t DaysFrom1970(int year, int month, int day) { return DaysSince1970(year, month, day); }

// The day of `month` a change falls on in `year`; 0 for a change the
// system would refuse (it then keeps no summer time at all).
int ChangeDay(const ZoneChange& change, int year) {
    const int length = DaysInMonth(year, change.month);
    if (length == 0) return 0;
    // A change with a year is a date in that year: the system reads no
    // weekday from it, whatever the field holds.
    if (change.year != 0) return change.day >= 1 && change.day <= length ? change.day : 0;
    if (change.weekday < 0 || change.weekday > 6 || change.day < 1 || change.day > 5) return 0;
    // 1 January 1970 was a Thursday.
    const int firstWeekday = static_cast<int>(((DaysFrom1970(year, change.month, 1) + 4) % 7 + 7) % 7);
    int day = 1 + (change.weekday - firstWeekday + 7) % 7 + 7 * (change.day - 1);
    while (day > length) day -= 7;  // week 5 is the month's last such weekday
    return day;
}

// The UTC instant 1 January of `year` begins for the rule of that year.
UtcMillis YearStart(const ZoneRules& rules, int year) {
    return DaysFrom1970(year, 1, 1) * kMsPerDay + rules.ForYear(year).bias * kMsPerMinute;
}

int YearOf(UtcMillis instant) {
    int year = 0, month = 0, day = 0;
    DateOfDay(static_cast<int>(FloorDiv(instant, kMsPerDay)), year, month, day);
    return year;
}

// The year whose rule governs `instant`.
int RuleYear(const ZoneRules& rules, UtcMillis instant) {
    const int utcYear = YearOf(instant);
    int year = YearOf(instant - rules.ForYear(utcYear).bias * kMsPerMinute);
    if (instant < YearStart(rules, year)) --year;
    else if (instant >= YearStart(rules, year + 1)) ++year;
    return year;
}

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

ZoneShown ShownAt(const ZoneRules& rules, UtcMillis instant, int year) {
    const ZoneYearRule& rule = rules.ForYear(year);
    if (SummerInForce(rule, year, instant)) return {-(rule.bias + rule.daylightBias), true};
    // A zone without summer time has no standard bias either.
    const bool keeps = rule.KeepsSummerTime() && ChangeInstant(rule, rule.daylightDate, year, true) &&
                       ChangeInstant(rule, rule.standardDate, year, false);
    return {-(rule.bias + (keeps ? rule.standardBias : 0)), false};
}

ZoneShown ShownAt(const ZoneRules& rules, UtcMillis instant) { return ShownAt(rules, instant, RuleYear(rules, instant)); }

}  // namespace

ZoneShown ZoneShownAt(const ZoneRules& rules, UtcMillis instant) { return ShownAt(rules, instant); }

UtcMillis ToUtcMillis(const CivilTime& utc) {
    return DaysFrom1970(utc.year, utc.month, utc.day) * kMsPerDay +
           ((utc.hour * 60 + utc.minute) * 60 + utc.second) * std::int64_t{1000};
}

CivilTime CivilFromMillis(UtcMillis instant) {
    const std::int64_t days = FloorDiv(instant, kMsPerDay);
    const auto secondOfDay = static_cast<int>((instant - days * kMsPerDay) / 1000);
    CivilTime t;
    DateOfDay(static_cast<int>(days), t.year, t.month, t.day);
    t.hour = secondOfDay / 3600;
    t.minute = secondOfDay / 60 % 60;
    t.second = secondOfDay % 60;
    return t;
}

CivilTime ClockSource::LocalAt(const CivilTime& utc) const {
    return CivilFromMillis(ToUtcMillis(utc) + (ToUtcMillis(Now()) - ToUtcMillis(UtcNow())));
}

ZoneRules::ZoneRules(int first, std::vector<ZoneYearRule> rules) : firstYear(first), years(std::move(rules)) {}
ZoneRules::ZoneRules(const ZoneRules&) = default;
ZoneRules::ZoneRules(ZoneRules&&) noexcept = default;
ZoneRules& ZoneRules::operator=(const ZoneRules&) = default;
ZoneRules& ZoneRules::operator=(ZoneRules&&) noexcept = default;
ZoneRules::~ZoneRules() = default;

const ZoneYearRule& ZoneRules::ForYear(int year) const {
    const auto last = static_cast<int>(years.size()) - 1;
    return years[static_cast<std::size_t>(std::clamp(year - firstYear, 0, last))];
}

std::optional<UtcMillis> ChangeInstant(const ZoneYearRule& rule, const ZoneChange& change, int year, bool toSummer) {
    const int day = ChangeDay(change, year);
    if (day == 0) return std::nullopt;
    const std::int64_t localMs =
        DaysFrom1970(year, change.month, day) * kMsPerDay +
        ((change.hour * 60 + change.minute) * 60 + change.second) * std::int64_t{1000} + change.millisecond;
    // The change to summer time is given in standard time, the change back in summer time.
    const UtcMillis instant = localMs + (rule.bias + (toSummer ? rule.standardBias : rule.daylightBias)) * kMsPerMinute;
    // Stored as 23:59:59.999, a change means the end of the day: a clock that
    // counts whole seconds sees it at the next one.
    return FloorDiv(instant + 999, 1000) * 1000;
}

ZoneState ZoneStateAt(const ZoneRules& rules, UtcMillis instant) {
    const int year = RuleYear(rules, instant);
    const ZoneShown now = ShownAt(rules, instant, year);
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
    // Six values: an insertion sort, which keeps the program small.
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        for (std::size_t j = i; j > 0 && candidates[j] < candidates[j - 1]; --j) std::swap(candidates[j], candidates[j - 1]);
    }
    for (const UtcMillis c : candidates) {
        if (c <= instant || c >= state.until) continue;
        if (!(ShownAt(rules, c) == now)) {
            state.until = c;
            break;
        }
    }
    return state;
}

const ZoneState* ZoneStateCache::Holding(const ZoneRules& rules, UtcMillis now) const {
    if (!valid_ || now < at_ || now >= state_.until) return nullptr;
    // The state reads the rules of its year and the next, and the bias of the one after.
    if (!(rules.ForYear(year_) == rule_) || !(rules.ForYear(year_ + 1) == next_) || rules.ForYear(year_ + 2).bias != afterNextBias_) {
        return nullptr;
    }
    return &state_;
}

const ZoneState& ZoneStateCache::At(const ZoneRules& rules, UtcMillis now) {
    if (Holding(rules, now)) return state_;
    state_ = ZoneStateAt(rules, now);
    at_ = now;
    year_ = RuleYear(rules, now);
    rule_ = rules.ForYear(year_);
    next_ = rules.ForYear(year_ + 1);
    afterNextBias_ = rules.ForYear(year_ + 2).bias;
    valid_ = true;
    return state_;
}

int ZoneEntry::StandardOffset() const { return rules.years.empty() ? 0 : -rules.years.back().bias; }

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

ZoneList::ZoneList(std::vector<ZoneEntry> zones) {
    // The order, found on indices by insertion (a list of some hundred zones
    // sorted once): the sort algorithms' code for whole entries would cost
    // the program more than the zones themselves.
    auto before = [&zones](std::size_t a, std::size_t b) {
        const int oa = zones[a].StandardOffset(), ob = zones[b].StandardOffset();
        if (oa != ob) return oa < ob;
        return zones[a].display != zones[b].display ? zones[a].display < zones[b].display : zones[a].key < zones[b].key;
    };
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        // A zone without a single rule cannot convert anything.
        if (zones[i].rules.years.empty()) continue;
        order.push_back(i);
        for (std::size_t j = order.size() - 1; j > 0 && before(order[j], order[j - 1]); --j) std::swap(order[j], order[j - 1]);
    }
    zones_.reserve(order.size());
    for (std::size_t i : order) zones_.push_back(std::move(zones[i]));
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
