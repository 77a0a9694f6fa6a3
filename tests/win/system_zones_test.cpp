// The zones read from the registry and the core's arithmetic against the
// system's own: for every listed zone and every year 2000 to 2037, the rule
// equals GetTimeZoneInformationForYear's and the conversion equals
// SystemTimeToTzSpecificLocalTime's, at each change and at random instants.
#include "system_zones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "test_seed.h"
#include "text.h"

namespace qv::win {
namespace {

SYSTEMTIME SystemTimeOf(UtcMillis instant) {
    const CivilTime t = CivilFromMillis(instant);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

CivilTime CivilOf(const SYSTEMTIME& st) { return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}; }

// The system's rule of a zone for a year (the kernel32 of Wine 8 has no Ex form).
bool SystemRule(const std::string& key, int year, TIME_ZONE_INFORMATION& tzi) {
    DYNAMIC_TIME_ZONE_INFORMATION dynamic{};
    const std::wstring name = Widen(key);
    wcsncpy(dynamic.TimeZoneKeyName, name.c_str(), std::size(dynamic.TimeZoneKeyName) - 1);
    return GetTimeZoneInformationForYear(static_cast<USHORT>(year), &dynamic, &tzi) != FALSE;
}

// The year whose rule the system is asked for. Windows gives a year before a
// zone's first "Dynamic DST" entry the first entry, after its last the last;
// Wine 8 gives such years the zone's base rule ("TZI") instead, so the test
// asks Wine for the nearest entry's year, as Windows would answer.
int AskedYear(const ZoneRules& rules, int year) {
    if (rules.firstYear == 0) return year;  // no yearly rules: one for every year
    return std::clamp(year, rules.firstYear, rules.firstYear + static_cast<int>(rules.years.size()) - 1);
}

TEST(SystemZones, ListsEveryZoneOfTheRegistryWithANameAndTheFiveWeShow) {
    const ZoneList zones = LoadSystemZones();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(zones.Zones().size(), subkeys);
    EXPECT_GT(subkeys, 100u);
    for (const char* shown : {"Eastern Standard Time", "GMT Standard Time", "AUS Eastern Standard Time", "Tokyo Standard Time",
                              "India Standard Time"}) {
        const ZoneEntry* zone = zones.Find(shown);
        ASSERT_NE(zone, nullptr) << shown;
        EXPECT_NE(zone->display, zone->key) << shown;
    }
    for (std::size_t i = 1; i < zones.Zones().size(); ++i) {
        EXPECT_LE(zones.Zones()[i - 1].StandardOffset(), zones.Zones()[i].StandardOffset());
    }
}

TEST(SystemZones, ConversionAgreesWithTheSystemForEveryZone2000To2037) {
    const ZoneList zones = LoadSystemZones();
    std::mt19937 random(test::TestSeed("zone instants"));
    const UtcMillis from = ToUtcMillis({2000, 1, 1, 0, 0, 0});
    const UtcMillis to = ToUtcMillis({2038, 1, 1, 0, 0, 0});
    std::uniform_int_distribution<UtcMillis> anyInstant(from / 1000, to / 1000 - 1);
    long compared = 0;
    for (const ZoneEntry& zone : zones.Zones()) {
        int failures = 0;
        // One comparison: the system converts with the rule of the year its
        // own arithmetic picks (UTC less the bias), as the core does.
        auto compare = [&](UtcMillis instant, const char* what) {
            if (failures > 3) return;
            // The year whose rule governs: the one whose own bias puts the
            // instant in that year. Where a zone's base offset changes at a
            // year's end, an hour or so belongs to both years or to neither;
            // the system's rule-by-year calls have no answer there.
            TIME_ZONE_INFORMATION tzi{};
            int governing = 0, found = 0;
            const int utcYear = CivilFromMillis(instant).year;
            for (int year = utcYear - 1; year <= utcYear + 1; ++year) {
                TIME_ZONE_INFORMATION candidate{};
                ASSERT_TRUE(SystemRule(zone.key, AskedYear(zone.rules, year), candidate)) << zone.key;
                if (CivilFromMillis(instant - candidate.Bias * 60'000LL).year == year) {
                    tzi = candidate;
                    governing = year;
                    ++found;
                }
            }
            if (found != 1) return;
            (void)governing;
            const SYSTEMTIME utc = SystemTimeOf(instant);
            SYSTEMTIME local{};
            ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&tzi, &utc, &local)) << zone.key;
            const ZoneState ours = ZoneStateAt(zone.rules, instant);
            const CivilTime expected = CivilOf(local);
            const CivilTime got = CivilFromMillis(instant + ours.offsetMinutes * 60'000LL);
            ++compared;
            if (!(got == expected)) {
                ++failures;
                ADD_FAILURE() << zone.key << " " << what << " at UTC " << utc.wYear << "-" << utc.wMonth << "-" << utc.wDay << " "
                              << utc.wHour << ":" << utc.wMinute << ":" << utc.wSecond << ": system " << expected.hour << ":"
                              << expected.minute << " day " << expected.day << ", ours " << got.hour << ":" << got.minute
                              << " day " << got.day;
            }
        };
        for (int year = 2000; year <= 2037; ++year) {
            TIME_ZONE_INFORMATION tzi{};
            ASSERT_TRUE(SystemRule(zone.key, AskedYear(zone.rules, year), tzi)) << zone.key;
            const ZoneYearRule system = RuleFromTimeZoneInformation(tzi);
            EXPECT_EQ(zone.rules.ForYear(year), system) << zone.key << " " << year;
            for (bool toSummer : {true, false}) {
                const auto change = ChangeInstant(system, toSummer ? system.daylightDate : system.standardDate, year, toSummer);
                if (!change || !system.KeepsSummerTime()) continue;
                const ZoneChange& stored = toSummer ? system.daylightDate : system.standardDate;
                for (UtcMillis delta : {-1000, 0, 1000}) {
                    // Wine is wrong here: it compares a change's time without
                    // its milliseconds, so one stored as 23:59:59.999 takes
                    // effect at 23:59:59. Windows counts the milliseconds:
                    // that whole second is still before the change.
                    if (delta < 0 && stored.millisecond != 0) continue;
                    compare(*change + delta, toSummer ? "start" : "end");
                }
            }
            // The turn of the year, where the 1 January markers sit.
            for (UtcMillis delta : {-3'600'000LL, -1000LL, 0LL, 3'600'000LL}) {
                compare(ToUtcMillis({year, 1, 1, 0, 0, 0}) + system.bias * 60'000LL + delta, "new year");
            }
        }
        for (int i = 0; i < 200; ++i) compare(anyInstant(random) * 1000, "random");
    }
    EXPECT_GT(compared, 50'000);
}

}  // namespace
}  // namespace qv::win

namespace qv::win {
namespace {

// Only the zones named are read: what a start with ten places costs. Names
// in any case, repeated, unknown or longer than a key are read once or not at all.
TEST(SystemZones, OnlyTheNamedZonesAreRead) {
    const ZoneList all = LoadSystemZones();
    const std::vector<std::string> keys = {"tokyo standard time", "Eastern Standard Time", "EASTERN STANDARD TIME", "",
                                           "Mars Standard Time", std::string(200, 'x'), "India Standard Time"};
    const ZoneList some = LoadSystemZones(keys);
    ASSERT_EQ(some.Zones().size(), 3u);
    for (const char* key : {"Tokyo Standard Time", "Eastern Standard Time", "India Standard Time"}) {
        const ZoneEntry* zone = some.Find(key);
        ASSERT_NE(zone, nullptr) << key;
        EXPECT_EQ(zone->rules, all.Find(key)->rules) << key;
        EXPECT_EQ(zone->display, all.Find(key)->display) << key;
    }
    EXPECT_TRUE(LoadSystemZones(std::vector<std::string>(10)).Zones().empty()) << "ten places on numbers read no zone";
}

// A change under the zones key is told once, and the watch then waits for the next.
TEST(SystemZones, TheWatchTellsAChangeToTheZonesOnce) {
    ZoneWatch watch;
    EXPECT_FALSE(watch.Changed());
    constexpr wchar_t kZone[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Tokyo Standard Time";
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kZone, 0, KEY_SET_VALUE, &opened), ERROR_SUCCESS);
    UniqueKey zone(opened);
    const DWORD mark = 1;
    ASSERT_EQ(RegSetValueExW(opened, L"QV test mark", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mark), sizeof mark), ERROR_SUCCESS);
    RegDeleteValueW(opened, L"QV test mark");
    // The notification comes from the registry's side: wait for it, at most ten seconds.
    bool told = false;
    for (DWORD start = GetTickCount(); !told && GetTickCount() - start < 10'000; Sleep(10)) told = watch.Changed();
    EXPECT_TRUE(told);
    EXPECT_FALSE(watch.Changed());
}

}  // namespace
}  // namespace qv::win
