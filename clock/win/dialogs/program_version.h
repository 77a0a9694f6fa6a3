// The program's version numbers, as its version resource gives them, and the
// about box's caption for them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qv::win {

struct ProgramVersion {
    unsigned major = 0, minor = 0, revision = 0;
};

// The file version of the module's VERSIONINFO: major, minor and the third
// number. Nothing when the module has no version resource.
std::optional<ProgramVersion> ReadProgramVersion(HMODULE module);

// "Ver. 0.5.0": decimal numbers without blanks, joined by ".".
std::wstring VersionCaption(const ProgramVersion& version);

}  // namespace qv::win
