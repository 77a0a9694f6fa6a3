// A clock for tests: it shows the time it is set to and counts how often it is
// read. It keeps no zone (UTC is its local time) unless given a UTC time too.
#pragma once

#include <optional>

#include "date_value.h"
#include "time_zone.h"

namespace qv::test {

class FakeClock : public ClockSource {
public:
    explicit FakeClock(CivilTime now = {2026, 12, 7, 10, 30, 0}) : now_(now) {}
    CivilTime Now() const override {
        ++reads_;
        return now_;
    }
    CivilTime UtcNow() const override { return utc_ ? *utc_ : Now(); }
    void Set(CivilTime now) { now_ = now; }
    void Set(CivilTime local, CivilTime utc) {
        now_ = local;
        utc_ = utc;
    }
    int reads() const { return reads_; }

private:
    CivilTime now_;
    std::optional<CivilTime> utc_;
    mutable int reads_ = 0;
};

// A computer whose clock follows a zone's rules: its local time now and at
// any other instant, summer time included, come from them.
class ZonedClock : public ClockSource {
public:
    ZonedClock(ZoneRules rules, CivilTime utc) : rules_(std::move(rules)), utc_(ToUtcMillis(utc)) {}
    CivilTime Now() const override { return LocalAt(UtcNow()); }
    CivilTime UtcNow() const override { return CivilFromMillis(utc_); }
    int Millisecond() const override { return static_cast<int>(utc_ % 1000); }
    CivilTime LocalAt(const CivilTime& utc) const override {
        const UtcMillis at = ToUtcMillis(utc);
        return CivilFromMillis(at + ZoneShownAt(rules_, at).offsetMinutes * std::int64_t{60'000});
    }
    void Advance(std::int64_t ms) { utc_ += ms; }
    void SetUtc(CivilTime utc) { utc_ = ToUtcMillis(utc); }

private:
    ZoneRules rules_;
    UtcMillis utc_;
};

}  // namespace qv::test
