// Zone rules as the system stores them, for tests: three zones with summer
// time (north, south, last-week changes), two without, and a zone whose
// yearly rules hold both traps of the stored data (changes at 23:59:59.999,
// and a year whose 1 January "change" only says summer time carries on).
#pragma once

#include "time_zone.h"

namespace qv::test {

// Recurring change: month, weekday, week of the month (5: last), hour.
inline ZoneChange Recurring(int month, int weekday, int week, int hour, int minute = 0, int second = 0, int ms = 0) {
    return ZoneChange{0, month, weekday, week, hour, minute, second, ms};
}
inline ZoneChange EndOfDay(int month, int weekday, int week) { return Recurring(month, weekday, week, 23, 59, 59, 999); }

inline ZoneRules Eastern() { return ZoneRules::Of({300, 0, -60, Recurring(11, 0, 1, 2), Recurring(3, 0, 2, 2)}); }
inline ZoneRules Gmt() { return ZoneRules::Of({0, 0, -60, Recurring(10, 0, 5, 2), Recurring(3, 0, 5, 1)}); }
inline ZoneRules AusEastern() { return ZoneRules::Of({-600, 0, -60, Recurring(4, 0, 1, 3), Recurring(10, 0, 1, 2)}); }
inline ZoneRules Tokyo() { return ZoneRules::Of({-540, 0, 0, {}, {}}); }
inline ZoneRules India() { return ZoneRules::Of({-330, 0, 0, {}, {}}); }

// Southern zone, 2018 to 2020: summer time from the first Sunday of November
// 00:00 (stored as the Saturday's end), back on the third Sunday of February;
// 2019 begins in summer time (the 1 January marker) and 2020 keeps none.
inline ZoneRules SouthWithMarker() {
    ZoneRules rules;
    rules.firstYear = 2018;
    rules.years.push_back({180, 0, -60, EndOfDay(2, 6, 3), EndOfDay(11, 6, 1)});
    rules.years.push_back({180, 0, -60, EndOfDay(2, 6, 3), Recurring(1, 2, 1, 0)});
    rules.years.push_back({180, 0, 0, {}, {}});
    return rules;
}

inline ZoneList SampleZones() {
    return ZoneList({
        {"Tokyo Standard Time", "(UTC+09:00) 大阪、札幌、東京", Tokyo()},
        {"Eastern Standard Time", "(UTC-05:00) 東部標準時 (米国およびカナダ)", Eastern()},
        {"GMT Standard Time", "(UTC+00:00) ダブリン、エジンバラ、リスボン、ロンドン", Gmt()},
        {"AUS Eastern Standard Time", "(UTC+10:00) キャンベラ、メルボルン、シドニー", AusEastern()},
        {"India Standard Time", "(UTC+05:30) チェンナイ、コルカタ、ムンバイ、ニューデリー", India()},
    });
}

}  // namespace qv::test
