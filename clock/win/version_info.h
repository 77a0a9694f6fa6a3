// The program's version numbers, read from its own version resource.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qv::win {

struct ProgramVersion {
    int major = 0, minor = 0, revision = 0;
};

// From the fixed file information of the module's VERSIONINFO (the third
// number is the revision). Nothing when the module carries none.
std::optional<ProgramVersion> ReadProgramVersion(HMODULE module);

// "Ver. 0.5.0": plain decimal numbers, no leading zeros or blanks.
std::wstring VersionLabel(const ProgramVersion& version);

}  // namespace qv::win
