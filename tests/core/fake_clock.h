// A clock for tests: it shows the time it is set to and counts how often it is read.
#pragma once

#include "date_value.h"

namespace qv::test {

class FakeClock : public ClockSource {
public:
    explicit FakeClock(CivilTime now = {2026, 12, 7, 10, 30, 0}) : now_(now) {}
    CivilTime Now() const override {
        ++reads_;
        return now_;
    }
    void Set(CivilTime now) { now_ = now; }
    int reads() const { return reads_; }

private:
    CivilTime now_;
    mutable int reads_ = 0;
};

}  // namespace qv::test
