// The moment the clock shows: now, or an instant the user has moved it to
// with the wheel or the keys, and the texts that tell the two apart. The
// moment lives only in the window that shows it; nothing of it is stored.
#pragma once

#include <cstdint>
#include <string>

#include "date_value.h"
#include "settings_model.h"
#include "time_zone.h"

namespace qv {

// One detent of a wheel, as the system counts a turn (WHEEL_DELTA).
inline constexpr int kWheelNotch = 120;
inline constexpr std::int64_t kNotchMs = 30 * 60'000;
// The farthest the shown moment goes from now: 100 years of days.
inline constexpr std::int64_t kShiftLimitMs = 36'524 * kMsPerDay;
// Without a wheel turn or a key for this long, the clock shows now again.
inline constexpr std::int64_t kIdleReturnMs = 60'000;
// A clock read in two calls (second, then millisecond) may seem to step back
// this far; only a longer step back is the clock being set.
inline constexpr std::int64_t kClockReadJitterMs = 2'000;

// The clock's instant now, to its millisecond.
UtcMillis RealNow(const ClockSource& clock);

class ShownMoment {
public:
    bool Shifted() const { return shifted_; }
    // The instant shown while shifted; it stays put while real time passes.
    UtcMillis Instant() const { return instant_; }

    // Moves by `steps` (> 0 later, < 0 earlier). A notch goes to the next
    // whole half hour of the computer's clock in its direction (10:07 ->
    // 10:30 -> 11:00), a day step 24 hours keeping the minute. Stops within
    // kShiftLimitMs of now. True when the shown moment moved.
    bool Step(int steps, bool days, const ClockSource& clock);
    // A wheel turn in the system's units (positive: away from the user, so
    // earlier). Turns of a high-resolution wheel add up to whole notches;
    // a turn the other way drops what was left over.
    bool Wheel(int delta, bool days, const ClockSource& clock);
    // True when it was shifted.
    bool BackToNow();
    // Back to now once kIdleReturnMs have passed since the last wheel turn
    // or key, or when the clock was set back before it. True when it did.
    bool ReturnIfIdle(const ClockSource& clock);
    // Milliseconds until ReturnIfIdle returns to now; 0 when due or at now.
    std::int64_t MsUntilIdleReturn(const ClockSource& clock) const;

private:
    bool shifted_ = false;
    UtcMillis instant_ = 0;
    UtcMillis lastInput_ = 0;
    int wheel_ = 0;  // wheel units short of a whole notch
};

// The computer's clock as it reads at another instant: a tick run on it
// computes every place at that instant (a zone place by its zone, a fixed
// place from the computer's local time then, summer time included).
class MomentClock final : public ClockSource {
public:
    MomentClock(const ClockSource& real, UtcMillis instant);
    CivilTime Now() const override { return local_; }
    CivilTime UtcNow() const override { return utc_; }
    CivilTime LocalAt(const CivilTime& utc) const override { return real_.LocalAt(utc); }

private:
    const ClockSource& real_;
    CivilTime utc_, local_;
};

// "+1日 3:30 · 12/10(木) 13:30": how far the shown moment lies from now
// (whole minutes of the clocks), then the computer's own date, weekday and
// time at it. Into `out`, reusing its buffer.
void DescribeShift(std::string& out, UtcMillis shown, const ClockSource& clock);
// What is announced when the clock shows now again.
inline constexpr char kBackToNowText[] = "現在の時刻";

// What a place's label does not show, one line each: its zone's display name
// (a fixed place: "時差 +9"), how it differs from this computer now
// ("このPCより14時間遅い"), and for a zone the next change of its offset
// within 90 days in the zone's local date and time
// ("2027/03/14 2:00 サマータイム開始 (+1時間)"). Empty for a row without a place.
std::string PlaceHoverText(const SettingsModel& model, int n, const ZoneList& zones, const ClockSource& clock);
inline constexpr std::int64_t kChangeLookAheadMs = 90 * kMsPerDay;

}  // namespace qv
