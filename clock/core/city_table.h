// The cities the zone search knows: one per zone of the CLDR data that maps
// to a Windows zone key, with its names and its country in Japanese and
// English. The table is generated (script/gen-city-table) into city_table.cpp.
#pragma once

#include <cstdint>

namespace qv::cities {

struct Country {
    const char* japanese;
    const char* english;
};

struct City {
    const char* japanese;  // CLDR's exemplar city: "ニューヨーク"
    const char* english;   // "New York"
    std::uint16_t country;  // index into kCountries
    std::uint8_t zoneKey;   // index into kZoneKeys
};

extern const int kZoneKeyCount;
extern const char* const kZoneKeys[];  // Windows zone key names, sorted
extern const int kCountryCount;
extern const Country kCountries[];
extern const int kCityCount;
extern const City kCities[];

}  // namespace qv::cities
