// The windows at 120, 144 and 192 dpi: sets the system DPI, starts the geometry
// tests of the clock windows and of the settings windows as new programs (the
// DPI is read when a program starts), and puts the DPI back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dpi_checks.h"
#include "system_dpi.h"
#include "windows_support.h"

namespace qv::win::test {
namespace {

// A full Windows path; the build hands over the test programs' paths as they
// are on the build machine.
std::wstring FullPath(const wchar_t* path) {
    wchar_t full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    return n ? std::wstring(full, n) : std::wstring(path);
}

// Runs the geometry tests of a test program in a new process that is told
// which DPI it should find; its output joins this program's. Returns its exit
// code, or -1 when it could not start or did not finish in time.
int RunGeometryTests(const wchar_t* program, int dpi) {
    std::wstring path = FullPath(program);
    std::wstring commandLine = L"\"" + path + L"\"";
    SetEnvironmentVariableW(kAskedDpiVariable, std::to_wstring(dpi).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    SetEnvironmentVariableW(kAskedDpiVariable, nullptr);
    if (!started) {
        ADD_FAILURE() << "cannot start the geometry tests, error " << GetLastError();
        return -1;
    }
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 90000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        ADD_FAILURE() << "the geometry tests did not finish";
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

void RunAtHigherDpis(const wchar_t* program) {
    for (int dpi : {120, 144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        SystemDpiSetting setting(static_cast<DWORD>(dpi));
        ASSERT_TRUE(setting.applied());
        EXPECT_EQ(RunGeometryTests(program, dpi), 0);
    }
}

TEST(SystemDpi, ClockWindowsKeepTheirTwipsAt120To192Dpi) {
    RunAtHigherDpis(QV_CLOCK_GEOMETRY_TESTS);
}

TEST(SystemDpi, SettingsWindowsKeepTheirTwipsAt120To192Dpi) {
    RunAtHigherDpis(QV_DIALOGS_GEOMETRY_TESTS);
}

// After the setting goes, a program started next is back at the DPI this
// one started with (96 in the test runs), and the marker has gone with it.
TEST(SystemDpi, TheDpiBeforeComesBack) {
    int before = MeasuredDpi();
    {
        SystemDpiSetting setting(before == 144 ? 120 : 144);
        ASSERT_TRUE(setting.applied());
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\QV Tests"));
    EXPECT_EQ(RunGeometryTests(QV_CLOCK_GEOMETRY_TESTS, before), 0);
    EXPECT_EQ(RunGeometryTests(QV_DIALOGS_GEOMETRY_TESTS, before), 0);
}

}  // namespace
}  // namespace qv::win::test
