// Reading the system's zones: each key's binary rule ("TZI"), its yearly
// rules ("Dynamic DST", FirstEntry to LastEntry) and its display name.
#include "system_zones.h"

#include <string>
#include <vector>

#include "handles.h"
#include "text.h"
#include "zone_places.h"

namespace qv::win {

namespace {

constexpr wchar_t kZonesKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
// The 64-bit view: a 32-bit program on 64-bit Windows would otherwise read
// the WOW64 copy. (The 32-bit test prefix has no WOW64; the flag is ignored there.)
constexpr REGSAM kZonesAccess = KEY_READ | KEY_WOW64_64KEY;

// The registry's binary layout of a rule (a TIME_ZONE_INFORMATION without names).
struct RegistryRule {
    LONG bias;
    LONG standardBias;
    LONG daylightBias;
    SYSTEMTIME standardDate;
    SYSTEMTIME daylightDate;
};
static_assert(sizeof(RegistryRule) == 44);

ZoneChange ChangeOf(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::optional<ZoneYearRule> ReadRule(HKEY key, const wchar_t* value) {
    RegistryRule rule{};
    DWORD size = sizeof rule;
    if (RegGetValueW(key, nullptr, value, RRF_RT_REG_BINARY, nullptr, &rule, &size) != ERROR_SUCCESS || size != sizeof rule) {
        return std::nullopt;
    }
    return RuleFromTimeZoneInformation(rule.bias, rule.standardBias, rule.daylightBias, rule.standardDate, rule.daylightDate);
}

std::optional<DWORD> ReadNumber(HKEY key, const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegGetValueW(key, nullptr, value, RRF_RT_REG_DWORD, nullptr, &number, &size) != ERROR_SUCCESS) return std::nullopt;
    return number;
}

std::wstring ReadText(HKEY key, const wchar_t* value) {
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0) return {};
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS) return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

// The display name in the user's language from the system's resources,
// else the key's own "Display" text.
std::wstring DisplayName(HKEY key) {
    wchar_t buffer[256];
    DWORD needed = 0;
    if (RegLoadMUIStringW(key, L"MUI_Display", buffer, sizeof buffer, &needed, 0, nullptr) == ERROR_SUCCESS && buffer[0]) {
        return buffer;
    }
    return ReadText(key, L"Display");
}

// The yearly rules: "Dynamic DST" where the zone has it, else its one rule.
std::optional<ZoneRules> ReadRules(HKEY zone) {
    const auto base = ReadRule(zone, L"TZI");
    if (!base) return std::nullopt;
    ZoneRules rules = ZoneRules::Of(*base);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(zone, L"Dynamic DST", 0, kZonesAccess, &opened) != ERROR_SUCCESS) return rules;
    UniqueKey dynamic(opened);
    const auto first = ReadNumber(opened, L"FirstEntry");
    const auto last = ReadNumber(opened, L"LastEntry");
    if (!first || !last || *first > *last || *last - *first > 1000) return rules;
    std::vector<ZoneYearRule> years;
    for (DWORD year = *first; year <= *last; ++year) {
        // A year missing from the list keeps the year before's rule.
        auto rule = ReadRule(opened, std::to_wstring(year).c_str());
        years.push_back(rule ? *rule : years.empty() ? *base : years.back());
    }
    return ZoneRules{static_cast<int>(*first), std::move(years)};
}

// The zone of one key under the zones key, when its rules can be read.
std::optional<ZoneEntry> ReadZone(HKEY zones, const wchar_t* name) {
    HKEY zoneKey = nullptr;
    if (RegOpenKeyExW(zones, name, 0, kZonesAccess, &zoneKey) != ERROR_SUCCESS) return std::nullopt;
    UniqueKey zone(zoneKey);
    auto rules = ReadRules(zoneKey);
    if (!rules) return std::nullopt;
    std::wstring display = DisplayName(zoneKey);
    if (display.empty()) display = name;
    return ZoneEntry{Narrow(name), Narrow(display), std::move(*rules)};
}

UniqueKey OpenZones(REGSAM access) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kZonesKey, 0, access, &opened) != ERROR_SUCCESS) return {};
    return UniqueKey(opened);
}

}  // namespace

ZoneYearRule RuleFromTimeZoneInformation(LONG bias, LONG standardBias, LONG daylightBias, const SYSTEMTIME& standardDate,
                                         const SYSTEMTIME& daylightDate) {
    return {static_cast<int>(bias), static_cast<int>(standardBias), static_cast<int>(daylightBias), ChangeOf(standardDate),
            ChangeOf(daylightDate)};
}

ZoneList LoadSystemZones() {
    UniqueKey zones = OpenZones(kZonesAccess);
    if (!zones) return {};
    std::vector<ZoneEntry> entries;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG status = RegEnumKeyExW(zones.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;  // a name too long for a key of the system's
        if (auto zone = ReadZone(zones.get(), name)) entries.push_back(std::move(*zone));
    }
    return ZoneList(std::move(entries));
}

ZoneList LoadSystemZones(const std::vector<std::string>& keys) {
    UniqueKey zones = OpenZones(kZonesAccess);
    if (!zones) return {};
    std::vector<ZoneEntry> entries;
    for (const std::string& key : keys) {
        // The same zone named twice (in two spellings) is read once.
        if (key.empty() || Utf16Length(key) > kMaxZoneKeyUnits) continue;
        const std::wstring name = Widen(key);
        bool known = false;
        for (const ZoneEntry& entry : entries) known = known || lstrcmpiW(Widen(entry.key).c_str(), name.c_str()) == 0;
        if (known) continue;
        if (auto zone = ReadZone(zones.get(), name.c_str())) entries.push_back(std::move(*zone));
    }
    return ZoneList(std::move(entries));
}

ZoneWatch::ZoneWatch() : key_(OpenZones(KEY_NOTIFY | KEY_WOW64_64KEY)), event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) { Arm(); }

void ZoneWatch::Arm() {
    armed_ = key_ && event_ &&
             RegNotifyChangeKeyValue(key_.get(), TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event_.get(), TRUE) ==
                 ERROR_SUCCESS;
}

bool ZoneWatch::Changed() {
    if (armed_ && WaitForSingleObject(event_.get(), 0) != WAIT_OBJECT_0) return false;
    if (!armed_) {
        constexpr ULONGLONG kUnarmedPeriod = 60'000;
        const ULONGLONG now = GetTickCount64();
        if (now - lastUnarmedLook_ < kUnarmedPeriod) return false;
        lastUnarmedLook_ = now;
    }
    // One notification per request: ask again before reading, so that a
    // change made while the zones are read is seen at the next look.
    if (event_) ResetEvent(event_.get());
    Arm();
    return true;
}

}  // namespace qv::win
