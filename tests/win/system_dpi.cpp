// The user's LogPixels set for a test and put back, with a marker that
// survives a test program that dies in between.
#include "system_dpi.h"

#include <optional>

#include "handles.h"

namespace qv::win::test {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// The LogPixels a test replaced; 0 when there was none.
constexpr wchar_t kMarkerKey[] = L"Software\\QV Tests";
constexpr wchar_t kMarkerValue[] = L"Saved LogPixels";

std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool WriteDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    UniqueKey owner(opened);
    return RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool DeleteValue(const wchar_t* key, const wchar_t* name) {
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &opened);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    UniqueKey owner(opened);
    status = RegDeleteValueW(opened, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool RestoreSystemDpi() {
    std::optional<DWORD> saved = ReadDword(kMarkerKey, kMarkerValue);
    if (!saved) return true;
    bool back = *saved == 0 ? DeleteValue(kDesktopKey, kLogPixels) : WriteDword(kDesktopKey, kLogPixels, *saved);
    if (!back) return false;
    if (!DeleteValue(kMarkerKey, kMarkerValue)) return false;
    RegDeleteKeyW(HKEY_CURRENT_USER, kMarkerKey);  // empty now; a key with other values stays
    return true;
}

SystemDpiSetting::SystemDpiSetting(DWORD dpi) {
    // A marker left by a run that died holds the value from before that run.
    if (!RestoreSystemDpi()) return;
    DWORD before = ReadDword(kDesktopKey, kLogPixels).value_or(0);
    applied_ = WriteDword(kMarkerKey, kMarkerValue, before) && WriteDword(kDesktopKey, kLogPixels, dpi);
}

SystemDpiSetting::~SystemDpiSetting() {
    RestoreSystemDpi();
}

}  // namespace qv::win::test
