// Writes the city table of the clock (clock/core/city_table.cpp) from the
// CLDR data as ICU carries it: one row per canonical zone with its exemplar
// city and its country in Japanese and English, and the Windows zone key the
// Windows-zones data maps it to. Built and run by script/gen-city-table.
//   gen_city_table [--also ROWS.tsv]   rows: ja, en, country ja, country en, key
// A row without a Windows key is left out and counted; an empty field, a
// repeated city of one country, or a Japanese name without a Shift-JIS form
// stops the run with nothing written.
#include <unicode/locid.h>
#include <unicode/strenum.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row {
    std::string city, cityEn, country, countryEn, key, source;
};

std::string Utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

bool FitsShiftJis(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) return false;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    char buffer[512];
    ucnv_fromUChars(converter, buffer, sizeof buffer, unicode.getBuffer(), unicode.length(), &status);
    ucnv_close(converter);
    return U_SUCCESS(status);
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::vector<Row> RowsFromIcu(int& unmapped) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::StringEnumeration> ids(
        icu::TimeZone::createTimeZoneIDEnumeration(UCAL_ZONE_TYPE_CANONICAL_LOCATION, nullptr, nullptr, status));
    std::unique_ptr<icu::TimeZoneNames> ja(icu::TimeZoneNames::createInstance(icu::Locale("ja"), status));
    std::unique_ptr<icu::TimeZoneNames> en(icu::TimeZoneNames::createInstance(icu::Locale("en"), status));
    if (U_FAILURE(status)) {
        std::cerr << "gen-city-table: ICU has no zone data: " << u_errorName(status) << "\n";
        std::exit(1);
    }
    std::vector<Row> rows;
    while (const icu::UnicodeString* id = ids->snext(status)) {
        UErrorCode each = U_ZERO_ERROR;
        icu::UnicodeString windows, city, cityEn, country, countryEn;
        icu::TimeZone::getWindowsID(*id, windows, each);
        if (U_FAILURE(each) || windows.isEmpty()) {
            ++unmapped;
            continue;
        }
        char region[8] = {};
        icu::TimeZone::getRegion(*id, region, sizeof region, each);
        ja->getExemplarLocationName(*id, city);
        en->getExemplarLocationName(*id, cityEn);
        icu::Locale("", region).getDisplayCountry(icu::Locale("ja"), country);
        icu::Locale("", region).getDisplayCountry(icu::Locale("en"), countryEn);
        rows.push_back({Utf8(city), Utf8(cityEn), Utf8(country), Utf8(countryEn), Utf8(windows), Utf8(*id)});
    }
    return rows;
}

// Rows a test adds: the checks below see them as they would see ICU's.
void AddRows(const char* path, std::vector<Row>& rows) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << "gen-city-table: cannot read " << path << "\n";
        std::exit(1);
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Row row;
        std::getline(fields, row.city, '\t');
        std::getline(fields, row.cityEn, '\t');
        std::getline(fields, row.country, '\t');
        std::getline(fields, row.countryEn, '\t');
        std::getline(fields, row.key, '\t');
        row.source = path;
        rows.push_back(row);
    }
}

bool Check(const std::vector<Row>& rows) {
    bool good = true;
    std::set<std::pair<std::string, std::string>> seen, seenEn;
    for (const Row& r : rows) {
        auto refuse = [&](const char* why) {
            std::cerr << "gen-city-table: " << r.source << ": " << why << "\n";
            good = false;
        };
        if (r.city.empty() || r.cityEn.empty() || r.country.empty() || r.countryEn.empty() || r.key.empty()) refuse("an empty field");
        else if (!seen.insert({r.city, r.country}).second || !seenEn.insert({r.cityEn, r.countryEn}).second) refuse("a city repeated in its country");
        else if (!FitsShiftJis(r.city) || !FitsShiftJis(r.country)) refuse("a Japanese name without a Shift-JIS form");
    }
    return good;
}

template <typename T>
int IndexOf(const std::vector<T>& list, const T& item) {
    return static_cast<int>(std::find(list.begin(), list.end(), item) - list.begin());
}

void Write(const std::vector<Row>& rows) {
    std::vector<std::string> keys;
    std::vector<std::pair<std::string, std::string>> countries;
    for (const Row& r : rows) {
        keys.push_back(r.key);
        countries.push_back({r.country, r.countryEn});
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::sort(countries.begin(), countries.end());
    countries.erase(std::unique(countries.begin(), countries.end()), countries.end());

    std::cout << "// Cities of the CLDR data (ICU " << U_ICU_VERSION << "), generated by script/gen-city-table.\n"
              << "// Do not edit by hand.\n#include \"city_table.h\"\n\nnamespace qv::cities {\n\n";
    std::cout << "const int kZoneKeyCount = " << keys.size() << ";\nconst char* const kZoneKeys[] = {\n";
    for (const auto& k : keys) std::cout << "    " << Quoted(k) << ",\n";
    std::cout << "};\n\nconst int kCountryCount = " << countries.size() << ";\nconst Country kCountries[] = {\n";
    for (const auto& [c, e] : countries) std::cout << "    {" << Quoted(c) << ", " << Quoted(e) << "},\n";
    std::cout << "};\n\n// Japanese name, English name, country, zone key.\nconst int kCityCount = " << rows.size()
              << ";\nconst City kCities[] = {\n";
    for (const Row& r : rows) {
        std::cout << "    {" << Quoted(r.city) << ", " << Quoted(r.cityEn) << ", " << IndexOf(countries, {r.country, r.countryEn})
                  << ", " << IndexOf(keys, r.key) << "},\n";
    }
    std::cout << "};\n\n}  // namespace qv::cities\n";
}

}  // namespace

int main(int argc, char** argv) {
    int unmapped = 0;
    std::vector<Row> rows = RowsFromIcu(unmapped);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--also") AddRows(argv[i + 1], rows);
    }
    if (!Check(rows)) return 1;
    Write(rows);
    std::cerr << "gen-city-table: " << rows.size() << " cities, " << unmapped << " without a Windows key left out\n";
    return 0;
}
