// The zone search over the generated city table: what a user types finds the
// city, country or zone meant, whatever the case, width or kana; offsets find
// their zones; a finished text names one zone or none; bad input finds nothing.
#include "city_search.h"

#include <gtest/gtest.h>

#include <set>

#include "city_table.h"
#include "sjis.h"
#include "zone_samples.h"

namespace qv {
namespace {

using namespace test;

ZoneList Zones() {
    std::vector<ZoneEntry> zones = {
        {"Eastern Standard Time", "(UTC-05:00) Eastern Time (US & Canada)", Eastern()},
        {"AUS Eastern Standard Time", "(UTC+10:00) Canberra, Melbourne, Sydney", AusEastern()},
        {"E. Australia Standard Time", "(UTC+10:00) Brisbane", ZoneRules::Of({-600, 0, 0, {}, {}})},
        {"W. Australia Standard Time", "(UTC+08:00) Perth", ZoneRules::Of({-480, 0, 0, {}, {}})},
        {"India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", India()},
        {"Sri Lanka Standard Time", "(UTC+05:30) Sri Jayawardenepura", ZoneRules::Of({-330, 0, 0, {}, {}})},
        {"Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", Tokyo()},
    };
    return ZoneList(std::move(zones));
}

std::vector<std::string> Lines(const std::vector<ZoneMatch>& matches) {
    std::vector<std::string> lines;
    for (const ZoneMatch& m : matches) lines.push_back(m.line);
    return lines;
}

TEST(CitySearch, WhatUsersTypeFindsTheirZone) {
    const ZoneList zones = Zones();
    const std::string newYork = "ニューヨーク (アメリカ合衆国) \xE2\x80\x94 (UTC-05:00) Eastern Time (US & Canada)";
    for (const char* typed : {"ニューヨーク", "にゅーよーく", "new y", "NEW YORK", "ＮＥＷ　ｙｏｒｋ", "ﾆｭｰﾖｰｸ"}) {
        const auto found = FindZones(zones, typed);
        ASSERT_FALSE(found.empty()) << typed;
        EXPECT_EQ(found[0].line, newYork) << typed;
        EXPECT_EQ(found[0].name, "ニューヨーク") << typed;
    }
    // Voiced half-width kana join their marks.
    const auto sydney = FindZones(zones, "ｼﾄﾞﾆｰ");
    ASSERT_FALSE(sydney.empty());
    EXPECT_EQ(sydney[0].zone->key, "AUS Eastern Standard Time");
    EXPECT_EQ(sydney[0].name, "シドニー");
    // A country with one zone finds it; one with several lists its cities.
    const auto india = FindZones(zones, "インド");
    ASSERT_FALSE(india.empty());
    EXPECT_EQ(india[0].zone->key, "India Standard Time");
    const auto australia = FindZones(zones, "オーストラリア");
    EXPECT_GE(australia.size(), 5u);
    for (const ZoneMatch& m : australia) EXPECT_NE(m.line.find("(オーストラリア)"), std::string::npos) << m.line;
    std::set<std::string> keys;
    for (const ZoneMatch& m : australia) keys.insert(m.zone->key);
    EXPECT_EQ(keys, (std::set<std::string>{"AUS Eastern Standard Time", "E. Australia Standard Time", "W. Australia Standard Time"}));
    // The English country name, and a zone's own key name.
    EXPECT_EQ(FindZones(zones, "sri lanka").at(0).zone->key, "Sri Lanka Standard Time");
    EXPECT_EQ(FindZones(zones, "Jayawardenepura").at(0).line, "(UTC+05:30) Sri Jayawardenepura");
    // A city whose zone this system lacks is not offered.
    EXPECT_TRUE(FindZones(zones, "ロンドン").empty());
}

TEST(CitySearch, NamesBeginningWithTheTextComeFirstAndComplete) {
    const ZoneList zones = Zones();
    const auto found = FindZones(zones, "にゅーよ");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].name, "ニューヨーク");
    EXPECT_EQ(found[0].rest, "ーク");
    EXPECT_EQ(FindZones(zones, "new y").at(0).rest, "ork");
    // "york" is inside New York's name: found, but nothing to complete.
    const auto inside = FindZones(zones, "york");
    ASSERT_FALSE(inside.empty());
    EXPECT_EQ(inside[0].name, "ニューヨーク");
    EXPECT_EQ(inside[0].rest, "");
}

TEST(CitySearch, OffsetsListTheirZones) {
    const ZoneList zones = Zones();
    EXPECT_EQ(Lines(FindZones(zones, "+5:30")),
              (std::vector<std::string>{"(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", "(UTC+05:30) Sri Jayawardenepura"}));
    EXPECT_EQ(Lines(FindZones(zones, "＋５：３０")), Lines(FindZones(zones, "+5:30")));
    EXPECT_EQ(Lines(FindZones(zones, "-5")), (std::vector<std::string>{"(UTC-05:00) Eastern Time (US & Canada)"}));
    EXPECT_EQ(OffsetOfText(FoldForSearch("UTC+09:00")), 540);
    EXPECT_EQ(OffsetOfText(FoldForSearch("-3.5")), -210);
    for (const char* no : {"+15", "+5:3", "+5:60", "5:30x", "", "+"}) EXPECT_EQ(OffsetOfText(FoldForSearch(no)), std::nullopt) << no;
}

TEST(CitySearch, AFinishedTextNamesOneZoneOrNone) {
    const ZoneList zones = Zones();
    for (const ZoneMatch& m : FindZones(zones, "オーストラリア")) {
        const ZoneMatch named = ZoneNamed(zones, m.line);
        EXPECT_EQ(named.zone, m.zone) << m.line;
        EXPECT_EQ(named.name, m.name) << m.line;
    }
    EXPECT_EQ(ZoneNamed(zones, "(UTC+09:00) Osaka, Sapporo, Tokyo").zone->key, "Tokyo Standard Time");
    EXPECT_EQ(ZoneNamed(zones, "New York").zone->key, "Eastern Standard Time");
    EXPECT_EQ(ZoneNamed(zones, "ｼﾄﾞﾆｰ").name, "シドニー");
    EXPECT_EQ(ZoneNamed(zones, "インド").zone->key, "India Standard Time");
    EXPECT_EQ(ZoneNamed(zones, "インド").name, "インド");
    for (const char* none : {"オーストラリア", "New Yor", "Atlantis", "アトランティス", "5",
                             "ニューヨーク (アメリカ合衆国) \xE2\x80\x94 (UTC+09:00) Osaka, Sapporo, Tokyo"}) {
        EXPECT_EQ(ZoneNamed(zones, none).zone, nullptr) << none;
    }
}

TEST(CitySearch, BadInputFindsNothing) {
    const ZoneList zones = Zones();
    const std::string cases[] = {
        std::string(300, 'a'), "new\x01york", "new\tyork", "\x7F", std::string("ny\0c", 4),
        "\xED\xA0\xBD",          // half a surrogate pair
        "new \xFF york", "\xE3\x81", "\xC0\xAF",  // malformed, cut short, overlong
    };
    for (const std::string& bad : cases) {
        EXPECT_TRUE(FindZones(zones, bad).empty()) << bad;
        EXPECT_EQ(ZoneNamed(zones, bad).zone, nullptr) << bad;
    }
    EXPECT_TRUE(FindZones(zones, "   ").empty());
    EXPECT_TRUE(FindZones(ZoneList{}, "new york").empty());
}

TEST(CityTable, EveryRowIsWholeAndItsJapaneseFitsTheFiles) {
    ASSERT_GT(cities::kCityCount, 400);
    for (int i = 0; i < cities::kCityCount; ++i) {
        const cities::City& c = cities::kCities[i];
        ASSERT_LT(c.country, cities::kCountryCount) << i;
        ASSERT_LT(c.zoneKey, cities::kZoneKeyCount) << i;
        EXPECT_FALSE(std::string(c.english).empty()) << i;
        EXPECT_EQ(CharactersWithoutSjis(c.japanese), "") << c.japanese;
        EXPECT_EQ(CharactersWithoutSjis(cities::kCountries[c.country].japanese), "") << c.japanese;
    }
}

}  // namespace
}  // namespace qv
