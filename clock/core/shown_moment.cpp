// The shown moment's arithmetic (steps, the wheel, the bound, the idle
// return) and the texts that describe a moment and a place.
#include "shown_moment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "date_format.h"
#include "zone_places.h"

namespace qv {

namespace {

// Milliseconds the computer's clock is ahead of UTC at an instant.
std::int64_t ComputerOffsetAt(const ClockSource& clock, UtcMillis instant) {
    const UtcMillis second = FloorDiv(instant, 1000) * 1000;
    return ToUtcMillis(clock.LocalAt(CivilFromMillis(second))) - second;
}

// The next whole half hour of the computer's clock after `from` (or before
// it, going back).
UtcMillis NextHalfHour(const ClockSource& clock, UtcMillis from, bool later) {
    const std::int64_t offset = ComputerOffsetAt(clock, from);
    const std::int64_t local = from + offset;
    const std::int64_t boundary = later ? (FloorDiv(local, kNotchMs) + 1) * kNotchMs
                                        : (FloorDiv(local + kNotchMs - 1, kNotchMs) - 1) * kNotchMs;
    return boundary - offset;
}

void AppendHoursMinutes(std::string& out, std::int64_t minutes) {
    char buffer[32];
    if (minutes >= 60) {
        std::snprintf(buffer, sizeof buffer, "%lld時間", static_cast<long long>(minutes / 60));
        out += buffer;
    }
    if (minutes % 60 != 0) {
        std::snprintf(buffer, sizeof buffer, "%lld分", static_cast<long long>(minutes % 60));
        out += buffer;
    }
}

// "+9", "-3.5": a time difference as the user typed it, signed.
void AppendSignedNumber(std::string& out, double number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%+g", number);
    out += buffer;
}

// Minutes, rounded half away from zero without the C runtime's rounding.
// Through a 32-bit integer, which SSE2 converts on the 32-bit build (a 64-bit
// one would take the x87 unit); a difference that large shows as the bound.
std::int64_t RoundMinutes(double hours) {
    constexpr double kBound = 1 << 30;
    const double minutes = std::isnan(hours) ? 0 : std::clamp(hours * 60, -kBound, kBound);
    return static_cast<std::int32_t>(minutes + (minutes < 0 ? -0.5 : 0.5));
}

// The next instant within the look-ahead at which the zone shows another
// offset or summer time, with what it shows before and after.
bool NextZoneChange(const ZoneRules& rules, UtcMillis now, UtcMillis& at, ZoneShown& before, ZoneShown& after) {
    before = ZoneShownAt(rules, now);
    UtcMillis from = now;
    // A state ends at a change or at a year's turn; a few turns cover 90 days.
    for (int look = 0; look < 8; ++look) {
        const UtcMillis until = ZoneStateAt(rules, from).until;
        if (until > now + kChangeLookAheadMs) return false;
        after = ZoneShownAt(rules, until);
        if (!(after == before)) {
            at = until;
            return true;
        }
        from = until;
    }
    return false;
}

}  // namespace

UtcMillis RealNow(const ClockSource& clock) { return ToUtcMillis(clock.UtcNow()) + clock.Millisecond(); }

bool ShownMoment::Step(int steps, bool days, const ClockSource& clock) {
    const UtcMillis now = RealNow(clock);
    lastInput_ = now;
    if (steps == 0) return false;
    const bool later = steps > 0;
    const std::int64_t count = later ? steps : -std::int64_t{steps};
    UtcMillis from = shifted_ ? instant_ : now;
    UtcMillis to;
    if (days) {
        // From now, the day keeps the minute shown now: its seconds go.
        if (!shifted_) from = FloorDiv(from, 60'000) * 60'000;
        to = from + (later ? count : -count) * kMsPerDay;
    } else {
        to = NextHalfHour(clock, from, later);
        to += (later ? count - 1 : 1 - count) * kNotchMs;
    }
    to = std::clamp(to, now - kShiftLimitMs, now + kShiftLimitMs);
    if (shifted_ && to == instant_) return false;
    shifted_ = true;
    instant_ = to;
    return true;
}

bool ShownMoment::Wheel(int delta, bool days, const ClockSource& clock) {
    if ((delta > 0 && wheel_ < 0) || (delta < 0 && wheel_ > 0)) wheel_ = 0;
    // Added in 64 bits: a wheel spun hard never overflows the sum.
    const std::int64_t sum = std::int64_t{wheel_} + delta;
    const std::int64_t notches = sum / kWheelNotch;
    wheel_ = static_cast<int>(sum % kWheelNotch);
    // Away from the user goes back in time.
    return Step(static_cast<int>(-notches), days, clock);
}

bool ShownMoment::BackToNow() {
    wheel_ = 0;
    const bool was = shifted_;
    shifted_ = false;
    return was;
}

bool ShownMoment::ReturnIfIdle(const ClockSource& clock) {
    if (!shifted_ || MsUntilIdleReturn(clock) > 0) return false;
    return BackToNow();
}

std::int64_t ShownMoment::MsUntilIdleReturn(const ClockSource& clock) const {
    if (!shifted_) return 0;
    const UtcMillis now = RealNow(clock);
    if (now + kClockReadJitterMs < lastInput_) return 0;  // the clock was set back
    return std::clamp<std::int64_t>(lastInput_ + kIdleReturnMs - now, 0, kIdleReturnMs);
}

MomentClock::MomentClock(const ClockSource& real, UtcMillis instant)
    : real_(real), utc_(CivilFromMillis(instant)), local_(real.LocalAt(utc_)) {}

void DescribeShift(std::string& out, UtcMillis shown, const ClockSource& clock) {
    const std::int64_t minutes = FloorDiv(shown, 60'000) - FloorDiv(RealNow(clock), 60'000);
    const std::int64_t size = minutes < 0 ? -minutes : minutes;
    char buffer[48];
    const long long days = size / 1440;
    if (days > 0) {
        std::snprintf(buffer, sizeof buffer, "%c%lld日 %lld:%02lld", minutes < 0 ? '-' : '+', days,
                      static_cast<long long>(size % 1440 / 60), static_cast<long long>(size % 60));
    } else {
        std::snprintf(buffer, sizeof buffer, "%c%lld:%02lld", minutes < 0 ? '-' : '+', static_cast<long long>(size / 60),
                      static_cast<long long>(size % 60));
    }
    // The computer's own clock at the shown moment, its summer time included;
    // the difference goes in front within the buffer's room.
    const MomentClock moment(clock, shown);
    FormatDateInto(out, ToDateValue(moment.Now()), "mm/dd(aaa) hh:mm");
    out.insert(0, " · ");
    out.insert(0, buffer);
}

std::string PlaceHoverText(const SettingsModel& model, int n, const ZoneList& zones, const ClockSource& clock) {
    if (model.PlaceName[n].empty()) return {};
    const CivilTime local = clock.Now();
    const CivilTime utc = clock.UtcNow();
    const UtcMillis now = ToUtcMillis(utc);
    const int computer = ComputerOffsetMinutes(local, utc);
    std::string text;
    std::int64_t ahead = 0;  // minutes the place is ahead of this computer
    if (const auto& zone = model.Zone[n]) {
        const ZoneEntry* entry = zones.Find(model.ZoneName[n]);
        text = entry && !entry->display.empty() ? entry->display : model.ZoneName[n];
        ahead = ZoneShownAt(*zone, now).offsetMinutes - computer;
    } else {
        const double diff = model.TimeDiff[n].ToNumber().value_or(0);
        const double summer = model.SummerTime[n].ToNumber().value_or(0);
        text = "時差 ";
        AppendSignedNumber(text, diff);
        if (summer != 0) {
            text += " (サマータイム ";
            AppendSignedNumber(text, summer);
            text += ")";
        }
        ahead = RoundMinutes(diff + summer);
    }
    text += '\n';
    if (ahead == 0) {
        text += "このPCと同じ時刻";
    } else {
        text += "このPCより";
        AppendHoursMinutes(text, ahead < 0 ? -ahead : ahead);
        text += ahead < 0 ? "遅い" : "進んでいる";
    }
    UtcMillis at = 0;
    ZoneShown before, after;
    if (model.Zone[n] && NextZoneChange(*model.Zone[n], now, at, before, after)) {
        // The wall clock's reading as the change comes: 2:00 that turns to 3:00.
        text += '\n';
        text += FormatDate(ZoneDateValue(at, before.offsetMinutes), "yyyy/mm/dd h:nn");
        const int step = after.offsetMinutes - before.offsetMinutes;
        text += after.summer == before.summer ? " 時差変更 (" : after.summer ? " サマータイム開始 (" : " サマータイム終了 (";
        text += step < 0 ? "-" : "+";
        AppendHoursMinutes(text, step < 0 ? -step : step);
        text += ")";
    }
    return text;
}

}  // namespace qv
