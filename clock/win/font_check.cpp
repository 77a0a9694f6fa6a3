// Font face check with EnumFontFamiliesExW and the FontSubstitutes key.
#include "font_check.h"

#include <windows.h>

#include <cwchar>

#include "handles.h"

namespace qv::win {
namespace {

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one answer is enough
}

bool FamilyInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    WindowDc screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &lf, CountFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The substitute the system names for a face ("Face" or "Face,charset"), if any.
std::wstring Substitute(const std::wstring& face) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", 0,
                      KEY_READ, &raw) != ERROR_SUCCESS)
        return {};
    UniqueKey key(raw);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        wchar_t value[256];
        DWORD nameLen = 256, valueBytes = sizeof value, type = 0;
        LONG rc = RegEnumValueW(key.get(), i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                &valueBytes);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
        std::wstring from(name, nameLen);
        from = from.substr(0, from.find(L','));
        if (_wcsicmp(from.c_str(), face.c_str()) != 0) continue;
        std::wstring to(value, wcsnlen(value, valueBytes / sizeof(wchar_t)));
        return to.substr(0, to.find(L','));
    }
    return {};
}

}  // namespace

bool FontFaceUsable(const std::wstring& face) {
    if (face.empty() || face.size() > LF_FACESIZE - 1) return false;
    if (FamilyInstalled(face)) return true;
    std::wstring to = Substitute(face);
    return !to.empty() && FamilyInstalled(to);
}

}  // namespace qv::win
