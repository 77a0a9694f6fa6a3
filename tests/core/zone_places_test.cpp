// Places that follow a zone: the places file's zone section, the numbers
// written for older copies of the program, and the clock tick.
#include "zone_places.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "clock_tick.h"
#include "fake_clock.h"
#include "settings_files.h"
#include "sjis.h"
#include "value_printer.h"
#include "zone_samples.h"

namespace qv {
namespace {

using test::FakeClock;

std::vector<std::string> LinesOf(const std::string& sjis) {
    std::vector<std::string> lines;
    const std::string text = SjisToUtf8(sjis);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// Places 1 to 3 named; 1 follows Eastern, 3 a zone this system lacks.
SettingsModel ZoneModel() {
    SettingsModel m;
    ResetSummerTime(m);
    const char* names[] = {"ニューヨーク", "日本", "どこか"};
    for (int n = 1; n <= 3; ++n) {
        m.PlaceName[n] = names[n - 1];
        m.TimeDiff[n] = Value::Text("0");
    }
    m.ZoneName[1] = "eastern standard time";
    m.ZoneName[3] = "Mars Standard Time";
    ApplyZones(m, test::SampleZones());
    return m;
}

TEST(ZonePlaces, SectionFollowsTheFiftyFiveLinesOnlyWhenAPlaceHasAZone) {
    SettingsModel m = ZoneModel();
    const std::vector<std::string> lines = LinesOf(PlacesFileBytes(m));
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[55], "タイムゾーン");
    EXPECT_EQ(lines[56], "eastern standard time");  // written back as read
    EXPECT_EQ(lines[57], "");
    EXPECT_EQ(lines[58], "Mars Standard Time");
    EXPECT_EQ(lines[65], "");

    SettingsModel back;
    ReadPlacesFrom(back, PlacesFileBytes(m));
    EXPECT_EQ(back.ZoneName, m.ZoneName);
    EXPECT_EQ(PlacesFileBytes(back), PlacesFileBytes(m));

    for (auto& name : m.ZoneName) name.clear();
    EXPECT_EQ(LinesOf(PlacesFileBytes(m)).size(), 55u);
}

TEST(ZonePlaces, OnlyTheExactTitleMakesLinesZones) {
    SettingsModel m = ZoneModel();
    const std::string file = PlacesFileBytes(m);
    const std::size_t title = file.find(Utf8ToSjis("タイムゾーン"));
    struct Damage {
        const char* what;
        std::string bytes;
        const char* zone1;
        const char* zone3;
    };
    const Damage cases[] = {
        {"other title", file.substr(0, title) + "Zones" + file.substr(title + 12), "", ""},
        {"title with a blank", file.substr(0, title) + " " + file.substr(title), "", ""},
        {"section cut after row 2", file.substr(0, file.find("\r\n", title + 14) + 4), "eastern standard time", ""},
        {"nothing after line 55", file.substr(0, title), "", ""},
        {"junk lines", file.substr(0, title) + "\x81\r\n\xff\xfe\r\n", "", ""},
        {"invalid shift-jis name", file.substr(0, file.find("Mars")) + "\x85\x40\r\n", "eastern standard time", "\xEF\xBF\xBD"},
    };
    for (const Damage& c : cases) {
        SettingsModel back = ZoneModel();
        ReadPlacesFrom(back, c.bytes);
        EXPECT_EQ(back.ZoneName[1], c.zone1) << c.what;
        EXPECT_EQ(back.ZoneName[3].substr(0, 3), std::string(c.zone3).substr(0, 3)) << c.what;
        EXPECT_EQ(back.PlaceName[3], "どこか") << c.what;
        ApplyZones(back, test::SampleZones());
        EXPECT_EQ(back.Zone[1].has_value(), *c.zone1 != '\0') << c.what;
        EXPECT_FALSE(back.Zone[3]) << c.what;
    }
}

TEST(ZonePlaces, KnownNamesInAnyCaseUnknownAndOverLongOnesNot) {
    SettingsModel m;
    m.ZoneName[1] = "TOKYO STANDARD TIME";
    m.ZoneName[2] = "Tokyo Standard Time ";
    m.ZoneName[3] = std::string(kMaxZoneKeyUnits, 'x');
    m.ZoneName[4] = "Tokyo Standard Time" + std::string(kMaxZoneKeyUnits, ' ');
    ApplyZones(m, test::SampleZones());
    EXPECT_EQ(m.Zone[1], test::Tokyo());
    EXPECT_FALSE(m.Zone[2] || m.Zone[3] || m.Zone[4] || m.Zone[5]);
    EXPECT_EQ(Utf16Length("東京\xF0\x9F\x95\x90"), 4u);
}

TEST(ZonePlaces, NumbersForOlderCopiesGiveTheOffsetAtSaving) {
    struct Stamp {
        const char* what;
        ZoneRules (*zone)();
        CivilTime local, utc;
        const char* diff;  // the file's lines 13-22
        int summer;
    };
    const Stamp cases[] = {
        {"new york in july from tokyo", test::Eastern, {2026, 7, 1, 21, 0, 0}, {2026, 7, 1, 12, 0, 0}, "-14 ", 1},
        {"new york in january from tokyo", test::Eastern, {2026, 1, 1, 21, 0, 0}, {2026, 1, 1, 12, 0, 0}, "-14 ", 0},
        {"india from tokyo", test::India, {2026, 7, 1, 21, 0, 0}, {2026, 7, 1, 12, 0, 0}, "-3.5 ", 0},
        {"sydney in january from new york", test::AusEastern, {2026, 1, 1, 7, 0, 0}, {2026, 1, 1, 12, 0, 0}, " 15 ", 1},
        {"london in july from london", test::Gmt, {2026, 7, 1, 13, 0, 0}, {2026, 7, 1, 12, 0, 0}, "-1 ", 1},
    };
    for (const Stamp& c : cases) {
        SettingsModel m;
        ResetSummerTime(m);
        m.Zone[2] = c.zone();
        m.TimeDiff[1] = Value::Text(" 7 ");
        StampZoneOffsets(m, c.local, c.utc);
        EXPECT_EQ(m.TimeDiff[2].ToFileLine(), c.diff) << c.what;
        EXPECT_EQ(m.SummerTime[2], Value::Integer(static_cast<std::int16_t>(c.summer))) << c.what;
        EXPECT_EQ(m.TimeDiff[1], Value::Text(" 7 ")) << c.what;  // fixed places as they are
        // What an older copy shows from the two numbers is the zone's time now.
        const DateValue older = PlaceTime(ToDateValue(c.local), m.TimeDiff[2], m.SummerTime[2]);
        EXPECT_EQ(ToCivilTime(older), CivilFromMillis(ToUtcMillis(c.utc) + ZoneStateAt(c.zone(), ToUtcMillis(c.utc)).offsetMinutes * 60'000LL)) << c.what;
    }
}

struct ZoneTick : ::testing::Test {
    ZoneTick() {
        ApplyFirstRunDefaults(model);
        ResetSummerTime(model);
        model.DateFormat = Value::Text("mm/dd hh:mm:ss");
        for (int n = 1; n <= 2; ++n) {
            model.PlaceName[n] = "x";
            labels.nameCaption[static_cast<std::size_t>(n - 1)] = "x";
        }
        model.TimeDiff[1] = Value::Text("-14");  // ignored: the zone decides
        model.ZoneName[1] = "Eastern Standard Time";
        model.TimeDiff[2] = Value::Text("1");
        ApplyZones(model, test::SampleZones());
    }
    // The computer in Tokyo.
    void Run(CivilTime utc) {
        clock.Set(CivilFromMillis(ToUtcMillis(utc) + 9 * 3'600'000LL), utc);
        ClockTick(model, clock, labels);
    }
    SettingsModel model;
    RowLabels labels;
    FakeClock clock;
};

TEST_F(ZoneTick, ZonePlaceShowsUtcByItsZoneAndItsSummerTimeLive) {
    Run({2026, 3, 8, 6, 59, 59});
    EXPECT_EQ(labels.timeCaption[0], "03/08 01:59:59");
    EXPECT_EQ(labels.timeCaption[1], "03/08 16:59:59");  // the computer's time + 1 h
    EXPECT_TRUE(labels.followsZone[0]);
    EXPECT_FALSE(labels.summer[0]);
    EXPECT_FALSE(labels.followsZone[1]);
    Run({2026, 3, 8, 7, 0, 0});
    EXPECT_EQ(labels.timeCaption[0], "03/08 03:00:00");
    EXPECT_TRUE(labels.summer[0]);
    // The state kept between ticks gives way to other rules at once.
    model.Zone[1] = test::Tokyo();
    Run({2026, 3, 8, 7, 0, 1});
    EXPECT_EQ(labels.timeCaption[0], "03/08 16:00:01");
    EXPECT_FALSE(labels.summer[0]);
    // And to a clock set back before the instant it was computed at.
    model.Zone[1] = test::Eastern();
    Run({2026, 3, 8, 7, 0, 2});
    Run({2026, 3, 8, 6, 59, 59});
    EXPECT_EQ(labels.timeCaption[0], "03/08 01:59:59");
}

TEST_F(ZoneTick, TimerWakesAtTheChangeEvenWhenNoCaptionWouldChange) {
    model.DateFormat = Value::Text("yyyy");
    const CivilTime utc{2026, 11, 1, 5, 59, 30};
    Run(utc);
    EXPECT_TRUE(labels.summer[0]);
    EXPECT_EQ(SecondsUntilTickChanges(model, labels, clock.Now(), utc, 60), 30);
    // A shown summer time that is no longer so is out of date at once.
    labels.summer[0] = false;
    EXPECT_EQ(SecondsUntilTickChanges(model, labels, clock.Now(), utc, 60), 0);
    // So is a row shown as a zone place that no longer follows one.
    labels.summer[0] = true;
    model.Zone[1].reset();
    EXPECT_EQ(SecondsUntilTickChanges(model, labels, clock.Now(), utc, 60), 0);
}

}  // namespace
}  // namespace qv
