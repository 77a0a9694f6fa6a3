// Zone arithmetic against known changes: north and south, last-week rules,
// zones without summer time, and the two traps of the system's stored rules.
#include "time_zone.h"

#include <gtest/gtest.h>

#include "zone_samples.h"

namespace qv {
namespace {

using namespace test;

UtcMillis At(int y, int mo, int d, int h, int mi = 0, int s = 0) { return ToUtcMillis({y, mo, d, h, mi, s}); }

struct Expect {
    const char* what;
    ZoneRules (*zone)();
    UtcMillis instant;
    int offset;
    bool summer;
};

TEST(TimeZone, OffsetAndSummerAroundKnownChanges) {
    const Expect cases[] = {
        // 8 March 2026 02:00 EST and 1 November 2026 02:00 EDT.
        {"eastern before spring", Eastern, At(2026, 3, 8, 6, 59, 59), -300, false},
        {"eastern at spring", Eastern, At(2026, 3, 8, 7), -240, true},
        {"eastern before autumn", Eastern, At(2026, 11, 1, 5, 59, 59), -240, true},
        {"eastern at autumn", Eastern, At(2026, 11, 1, 6), -300, false},
        // Last Sundays: 29 March and 25 October 2026, 01:00 UTC.
        {"london before", Gmt, At(2026, 3, 29, 0, 59, 59), 0, false},
        {"london summer", Gmt, At(2026, 3, 29, 1), 60, true},
        {"london back", Gmt, At(2026, 10, 25, 1), 0, false},
        // South: back on 5 April 2026 03:00 AEDT, on again 4 October 02:00 AEST.
        {"sydney new year", AusEastern, At(2025, 12, 31, 14), 660, true},
        {"sydney before april", AusEastern, At(2026, 4, 4, 15, 59, 59), 660, true},
        {"sydney april", AusEastern, At(2026, 4, 4, 16), 600, false},
        {"sydney october", AusEastern, At(2026, 10, 3, 16), 660, true},
        {"tokyo", Tokyo, At(2026, 7, 1, 0), 540, false},
        {"india", India, At(2037, 12, 31, 23), 330, false},
        // Stored as Saturday 23:59:59.999: the change is at midnight.
        {"marker zone before start", SouthWithMarker, At(2018, 11, 4, 2, 59, 59), -180, false},
        {"marker zone at start", SouthWithMarker, At(2018, 11, 4, 3), -120, true},
        // 31 December and 1 January of the marker year keep summer time.
        {"marker zone 31 december", SouthWithMarker, At(2019, 1, 1, 1, 30), -120, true},
        {"marker zone 1 january", SouthWithMarker, At(2019, 1, 1, 3), -120, true},
        {"marker zone before end", SouthWithMarker, At(2019, 2, 17, 1, 59, 59), -120, true},
        {"marker zone at end", SouthWithMarker, At(2019, 2, 17, 2), -180, false},
        {"marker zone none left", SouthWithMarker, At(2020, 12, 31, 12), -180, false},
        {"nearest year before", SouthWithMarker, At(2000, 1, 15, 0), -120, true},
    };
    for (const Expect& c : cases) {
        const ZoneState state = ZoneStateAt(c.zone(), c.instant);
        EXPECT_EQ(state.offsetMinutes, c.offset) << c.what;
        EXPECT_EQ(state.summer, c.summer) << c.what;
        EXPECT_GT(state.until, c.instant) << c.what;
    }
}

TEST(TimeZone, StateHoldsUntilTheNextRealChange) {
    struct Next {
        const char* what;
        ZoneRules (*zone)();
        UtcMillis instant;
        UtcMillis until;
    };
    const Next cases[] = {
        {"eastern summer", Eastern, At(2026, 7, 1, 0), At(2026, 11, 1, 6)},
        {"eastern winter, over new year", Eastern, At(2026, 12, 1, 0), At(2027, 3, 14, 7)},
        {"sydney summer, over new year", AusEastern, At(2025, 12, 1, 0), At(2026, 4, 4, 16)},
        // The marker on 1 January 2019 is no change: the next one is February's.
        {"marker passed over", SouthWithMarker, At(2018, 12, 20, 0), At(2019, 2, 17, 2)},
        {"23:59:59.999 start", SouthWithMarker, At(2018, 10, 1, 0), At(2018, 11, 4, 3)},
    };
    for (const Next& c : cases) {
        EXPECT_EQ(CivilFromMillis(ZoneStateAt(c.zone(), c.instant).until), CivilFromMillis(c.until)) << c.what;
    }
    // Without summer time nothing changes: the state only asks to be looked at again later.
    EXPECT_GT(ZoneStateAt(Tokyo(), At(2026, 7, 1, 0)).until, At(2027, 12, 31, 0));
}

TEST(TimeZone, EveryStateAgreesUpToItsUntil) {
    // Walking from change to change through the marker zone's years and a
    // plain zone's: the state one millisecond before `until` is the same,
    // the state at `until` differs (except where only a look-again is asked).
    for (ZoneRules (*zone)() : {SouthWithMarker, AusEastern, Eastern}) {
        const ZoneRules rules = zone();
        UtcMillis t = At(2017, 6, 1, 0);
        int changes = 0;
        while (t < At(2022, 1, 1, 0)) {
            const ZoneState s = ZoneStateAt(rules, t);
            const ZoneState before = ZoneStateAt(rules, s.until - 1);
            EXPECT_EQ(before.offsetMinutes, s.offsetMinutes) << CivilFromMillis(t).year;
            EXPECT_EQ(before.summer, s.summer);
            const ZoneState after = ZoneStateAt(rules, s.until);
            changes += after.summer != s.summer;
            t = s.until;
        }
        EXPECT_GE(changes, zone == SouthWithMarker ? 3 : 9);
    }
}

TEST(TimeZone, ChangesTheSystemWouldRefuseMeanNoSummerTime) {
    ZoneRules rules = Eastern();
    rules.years[0].daylightDate.day = 6;  // week 6 does not exist
    EXPECT_FALSE(ZoneStateAt(rules, At(2026, 7, 1, 0)).summer);
    EXPECT_EQ(ZoneStateAt(rules, At(2026, 7, 1, 0)).offsetMinutes, -300);
    rules = Eastern();
    rules.years[0].standardDate.month = 13;
    EXPECT_FALSE(ZoneStateAt(rules, At(2026, 7, 1, 0)).summer);
}

// A change with a year is that year's date; its weekday field means nothing,
// even one no weekday has (as stored by tools that leave it unset).
TEST(TimeZone, AbsoluteDatesIgnoreTheWeekday) {
    // 2026: summer from 15 March 02:00 (a Sunday) to 20 October 03:00 (a Tuesday).
    const ZoneChange on{2026, 3, 9, 15, 2, 0, 0, 0};
    const ZoneChange off{2026, 10, 0xFFFF, 20, 3, 0, 0, 0};
    const ZoneRules rules = ZoneRules::Of({300, 0, -60, off, on});
    EXPECT_FALSE(ZoneStateAt(rules, At(2026, 3, 15, 6, 59, 59)).summer);
    EXPECT_TRUE(ZoneStateAt(rules, At(2026, 3, 15, 7)).summer);
    EXPECT_TRUE(ZoneStateAt(rules, At(2026, 10, 20, 6, 59, 59)).summer);
    const ZoneState after = ZoneStateAt(rules, At(2026, 10, 20, 7));
    EXPECT_FALSE(after.summer);
    EXPECT_EQ(after.offsetMinutes, -300);
    // The date itself is still checked: 31 April is no day.
    ZoneRules bad = rules;
    bad.years[0].daylightDate.month = 4;
    bad.years[0].daylightDate.day = 31;
    EXPECT_FALSE(ZoneStateAt(bad, At(2026, 7, 1, 0)).summer);
    // A recurring change (year 0) still needs a weekday.
    ZoneRules recurring = Eastern();
    recurring.years[0].daylightDate.weekday = 7;
    EXPECT_FALSE(ZoneStateAt(recurring, At(2026, 7, 1, 0)).summer);
}

TEST(TimeZone, MillisAndCivilTimesRoundTrip) {
    for (CivilTime t : {CivilTime{1970, 1, 1, 0, 0, 0}, CivilTime{1969, 12, 31, 23, 59, 59}, CivilTime{2037, 12, 31, 23, 59, 59},
                        CivilTime{2000, 2, 29, 12, 0, 1}}) {
        EXPECT_EQ(CivilFromMillis(ToUtcMillis(t)), t);
    }
    EXPECT_EQ(CivilFromMillis(-1), (CivilTime{1969, 12, 31, 23, 59, 59}));
}

TEST(ZoneListTest, SortedWestToEastAndFoundByKeyInAnyCase) {
    const ZoneList list = SampleZones();
    const char* order[] = {"Eastern Standard Time", "GMT Standard Time", "India Standard Time", "Tokyo Standard Time",
                           "AUS Eastern Standard Time"};
    ASSERT_EQ(list.Zones().size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(list.Zones()[i].key, order[i]);
    ASSERT_NE(list.Find("aus eastern STANDARD time"), nullptr);
    EXPECT_EQ(list.Find("aus eastern STANDARD time")->key, "AUS Eastern Standard Time");
    EXPECT_EQ(list.Find("AUS Eastern Standard Time "), nullptr);
    EXPECT_EQ(list.FindDisplay("(UTC+09:00) 大阪、札幌、東京")->key, "Tokyo Standard Time");
}

}  // namespace
}  // namespace qv
