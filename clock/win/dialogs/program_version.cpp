// Reads VS_FIXEDFILEINFO straight from the RT_VERSION resource, so the
// program needs no version.dll.
#include "program_version.h"

#include <cstring>

namespace qv::win {

std::optional<ProgramVersion> ReadProgramVersion(HMODULE module) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    if (!info) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, info);
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    DWORD size = SizeofResource(module, info);
    if (!data) return std::nullopt;
    // The fixed part follows the "VS_VERSION_INFO" key on a 32-bit boundary;
    // its signature finds it whatever the key's padding.
    for (DWORD offset = 0; offset + sizeof(VS_FIXEDFILEINFO) <= size; offset += 4) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, data + offset, sizeof fixed);
        if (fixed.dwSignature == 0xFEEF04BD) {
            return ProgramVersion{HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS),
                                  HIWORD(fixed.dwFileVersionLS)};
        }
    }
    return std::nullopt;
}

std::wstring VersionCaption(const ProgramVersion& version) {
    return L"Ver. " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
           std::to_wstring(version.revision);
}

}  // namespace qv::win
