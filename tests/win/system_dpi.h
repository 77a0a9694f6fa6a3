// The system DPI of the test runs: set for the programs started afterwards,
// and put back.
#pragma once

#include <windows.h>

namespace qv::win::test {

// The user's LogPixels (HKCU\Control Panel\Desktop), which Windows and Wine
// read when a program starts: a program started while this object lives runs
// at `dpi`. The value it replaces is kept in a marker value first, so that a
// test program that dies before its destructor runs still leaves enough
// behind for RestoreSystemDpi to put it back.
class SystemDpiSetting {
public:
    explicit SystemDpiSetting(DWORD dpi);
    ~SystemDpiSetting();
    SystemDpiSetting(const SystemDpiSetting&) = delete;
    SystemDpiSetting& operator=(const SystemDpiSetting&) = delete;
    bool applied() const { return applied_; }

private:
    bool applied_ = false;
};

// Puts back the LogPixels that a SystemDpiSetting replaced, when a marker
// says one did; true when nothing is left to put back.
bool RestoreSystemDpi();

}  // namespace qv::win::test
