// A clock for tests: it shows the time it is set to and counts how often it is
// read. It keeps no zone (UTC is its local time) unless given a UTC time too.
#pragma once

#include <optional>

#include "date_value.h"

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

}  // namespace qv::test
