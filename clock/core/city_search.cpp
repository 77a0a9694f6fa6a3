// The zone search: folding texts to one form, and finding cities, countries
// and zones in the generated city table and the system's zone list.
#include "city_search.h"

#include <cstdint>

#include "city_table.h"

namespace qv {

namespace {

// No name of the table is longer; a longer text finds nothing.
constexpr std::size_t kLongestSearch = 64;
constexpr std::size_t kMostMatches = 100;
constexpr char kDash[] = " \xE2\x80\x94 ";  // " — " between a city and its zone

// Half-width katakana U+FF61..U+FF9F as their full-width forms.
constexpr char16_t kHalfWidth[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

// Decodes UTF-8; false for malformed bytes, surrogates and overlong forms.
bool Decode(std::string_view utf8, std::u32string& out) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size() + (extra == 0)) return false;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF)) return false;
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A voicing mark after a half-width kana joins it: カ+ﾞ = ガ, ハ+ﾟ = パ, ウ+ﾞ = ヴ.
bool JoinMark(std::u32string& folded, char32_t mark) {
    if (folded.empty()) return false;
    char32_t& kana = folded.back();
    if (mark == U'゛') {
        if (kana == U'ウ') return kana = U'ヴ', true;
        if (std::u32string_view(U"カキクケコサシスセソタチツテトハヒフヘホ").find(kana) != std::u32string_view::npos) return ++kana, true;
    } else if (kana >= U'ハ' && kana <= U'ホ' && (kana - U'ハ') % 3 == 0) {
        return kana += 2, true;
    }
    return false;
}

bool StartsWith(std::u32string_view text, std::u32string_view part) { return text.substr(0, part.size()) == part; }
bool Contains(std::u32string_view text, std::u32string_view part) { return text.find(part) != std::u32string_view::npos; }

std::string TextOf(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) Encode(c, out);
    return out;
}

// The system's entry for each key of the table, found once per search.
std::vector<const ZoneEntry*> ZonesOfKeys(const ZoneList& zones) {
    std::vector<const ZoneEntry*> found(static_cast<std::size_t>(cities::kZoneKeyCount));
    for (int k = 0; k < cities::kZoneKeyCount; ++k) found[static_cast<std::size_t>(k)] = zones.Find(cities::kZoneKeys[k]);
    return found;
}

std::string CityLine(const cities::City& city, const ZoneEntry& zone) {
    return std::string(city.japanese) + " (" + cities::kCountries[city.country].japanese + ")" + kDash + zone.display;
}

struct Ranked {
    ZoneMatch match;
    int rank;
};

}  // namespace

std::u32string FoldForSearch(std::string_view utf8) {
    std::u32string decoded, folded;
    if (utf8.size() > kLongestSearch * 4 || !Decode(utf8, decoded)) return {};
    for (char32_t c : decoded) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xFFFD) return {};
        if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;        // full-width ASCII
        if (c == 0x3000) c = U' ';                          // ideographic space
        if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
        if (c >= 0x3041 && c <= 0x3096) c += 0x60;          // hiragana as katakana
        if (c >= 0xFF61 && c <= 0xFF9F) {
            c = kHalfWidth[c - 0xFF61];
            if ((c == U'゛' || c == U'゜') && JoinMark(folded, c)) continue;
        }
        folded.push_back(c);
    }
    return folded.size() <= kLongestSearch ? folded : std::u32string{};
}

std::optional<int> OffsetOfText(std::u32string_view folded) {
    while (!folded.empty() && folded.front() == U' ') folded.remove_prefix(1);
    while (!folded.empty() && folded.back() == U' ') folded.remove_suffix(1);
    for (std::u32string_view prefix : {U"utc", U"gmt"}) {
        if (StartsWith(folded, prefix)) folded.remove_prefix(prefix.size());
    }
    int sign = 1;
    if (!folded.empty() && (folded.front() == U'+' || folded.front() == U'-' || folded.front() == U'\u2212')) {
        sign = folded.front() == U'+' ? 1 : -1;
        folded.remove_prefix(1);
    }
    auto digits = [&folded](std::size_t most) {
        int value = 0;
        std::size_t count = 0;
        while (count < folded.size() && count < most && folded[count] >= U'0' && folded[count] <= U'9') value = value * 10 + static_cast<int>(folded[count++] - U'0');
        folded.remove_prefix(count);
        return count == 0 ? -1 : value;
    };
    const int hours = digits(2);
    if (hours < 0 || hours > 14) return std::nullopt;
    int minutes = 0;
    if (!folded.empty() && folded.front() == U':') {
        folded.remove_prefix(1);
        if (folded.size() != 2) return std::nullopt;
        minutes = digits(2);
    } else if (!folded.empty() && folded.front() == U'.') {
        folded.remove_prefix(1);
        const std::size_t places = folded.size();
        const int fraction = digits(2);
        if (fraction < 0) return std::nullopt;
        minutes = fraction * 60 / (places == 1 ? 10 : 100);
    }
    if (!folded.empty() || minutes < 0 || minutes >= 60) return std::nullopt;
    return sign * (hours * 60 + minutes);
}

std::vector<ZoneMatch> FindZones(const ZoneList& zones, std::string_view typed) {
    const std::u32string folded = FoldForSearch(typed);
    std::u32string_view part = folded;
    while (!part.empty() && part.front() == U' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == U' ') part.remove_suffix(1);
    if (part.empty()) return {};
    std::vector<Ranked> found;
    if (const auto offset = OffsetOfText(part)) {
        for (const ZoneEntry& zone : zones.Zones()) {
            if (zone.StandardOffset() == *offset) found.push_back({{&zone, {}, zone.display, {}}, 0});
        }
        return [&] {
            std::vector<ZoneMatch> out;
            for (Ranked& r : found) out.push_back(std::move(r.match));
            return out;
        }();
    }
    const std::vector<const ZoneEntry*> keyZones = ZonesOfKeys(zones);
    std::vector<bool> zoneHasCity(zones.Zones().size());
    for (int i = 0; i < cities::kCityCount; ++i) {
        const cities::City& city = cities::kCities[i];
        const ZoneEntry* zone = keyZones[city.zoneKey];
        if (!zone) continue;  // a key this system lacks
        int rank = 4;
        std::string rest;
        for (const char* name : {city.japanese, city.english}) {
            std::u32string decoded;
            Decode(name, decoded);
            const std::u32string names = FoldForSearch(name);
            if (StartsWith(names, part)) {
                if (rank > 0 || rest.empty()) rest = TextOf(std::u32string_view(decoded).substr(std::min(part.size(), decoded.size())));
                rank = 0;
            } else if (Contains(names, part)) {
                rank = std::min(rank, 1);
            }
        }
        const cities::Country& country = cities::kCountries[city.country];
        if (rank > 2) {
            for (const char* name : {country.japanese, country.english}) {
                if (Contains(FoldForSearch(name), part)) rank = 2;
            }
        }
        if (rank > 2) continue;
        zoneHasCity[static_cast<std::size_t>(zone - zones.Zones().data())] = true;
        found.push_back({{zone, city.japanese, CityLine(city, *zone), rank == 0 ? rest : std::string{}}, rank});
    }
    // Zones by their own names, unless a city already stands for them.
    for (const ZoneEntry& zone : zones.Zones()) {
        if (zoneHasCity[static_cast<std::size_t>(&zone - zones.Zones().data())]) continue;
        if (Contains(FoldForSearch(zone.display), part) || Contains(FoldForSearch(zone.key), part)) {
            found.push_back({{&zone, {}, zone.display, {}}, 3});
        }
    }
    // Best first, then west to east, then by line: an insertion sort on
    // indices, as the zone list sorts (the algorithms' code costs more).
    auto before = [&found](std::size_t a, std::size_t b) {
        const Ranked& x = found[a];
        const Ranked& y = found[b];
        if (x.rank != y.rank) return x.rank < y.rank;
        const int ox = x.match.zone->StandardOffset(), oy = y.match.zone->StandardOffset();
        return ox != oy ? ox < oy : x.match.line < y.match.line;
    };
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < found.size(); ++i) {
        order.push_back(i);
        for (std::size_t j = order.size() - 1; j > 0 && before(order[j], order[j - 1]); --j) std::swap(order[j], order[j - 1]);
    }
    std::vector<ZoneMatch> out;
    for (std::size_t i = 0; i < order.size() && i < kMostMatches; ++i) out.push_back(std::move(found[order[i]].match));
    return out;
}

ZoneMatch ZoneNamed(const ZoneList& zones, std::string_view text) {
    if (const ZoneEntry* zone = zones.FindDisplay(text)) return {zone, {}, zone->display, {}};
    const std::vector<const ZoneEntry*> keyZones = ZonesOfKeys(zones);
    // A line of the list: its zone after the dash, its city before.
    if (const auto dash = text.find(kDash); dash != std::string_view::npos) {
        const ZoneEntry* zone = zones.FindDisplay(text.substr(dash + std::string_view(kDash).size()));
        if (!zone) return {};
        for (int i = 0; i < cities::kCityCount; ++i) {
            const cities::City& city = cities::kCities[i];
            if (keyZones[city.zoneKey] == zone && CityLine(city, *zone) == text) return {zone, city.japanese, std::string(text), {}};
        }
        return {};
    }
    const std::u32string folded = FoldForSearch(text);
    if (folded.empty()) return {};
    for (int i = 0; i < cities::kCityCount; ++i) {
        const cities::City& city = cities::kCities[i];
        const ZoneEntry* zone = keyZones[city.zoneKey];
        if (zone && (FoldForSearch(city.japanese) == folded || FoldForSearch(city.english) == folded)) {
            return {zone, city.japanese, CityLine(city, *zone), {}};
        }
    }
    // A country whose cities all keep one zone.
    for (int c = 0; c < cities::kCountryCount; ++c) {
        const cities::Country& country = cities::kCountries[c];
        if (FoldForSearch(country.japanese) != folded && FoldForSearch(country.english) != folded) continue;
        const ZoneEntry* only = nullptr;
        for (int i = 0; i < cities::kCityCount; ++i) {
            const cities::City& city = cities::kCities[i];
            if (city.country != c) continue;
            if (only && keyZones[city.zoneKey] != only) return {};
            only = keyZones[city.zoneKey];
        }
        if (only) return {only, country.japanese, only->display, {}};
        return {};
    }
    return {};
}

}  // namespace qv
