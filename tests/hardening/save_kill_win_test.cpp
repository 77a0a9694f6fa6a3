// Saves killed part-way on Windows: save_loop.exe writes a settings file over
// and over and is ended with TerminateProcess after a random delay; the file
// left behind is always one of the two complete versions. QV_SAVE_KILL_TRIALS
// sets the kills per file (default 20 here: each one starts a process).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <random>

#include "handles.h"
#include "temp_folder.h"
#include "tests/core/save_versions.h"
#include "tests/core/test_seed.h"

namespace qv::hardening {
namespace {

namespace fs = std::filesystem;
using test::BytesFor;
using test::ReadAllBytes;
using test::Version;
using test::WriterFor;

fs::path HelperPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / L"save_loop.exe";
}

class SaveUnderTerminate : public testing::TestWithParam<const char*> {};

TEST_P(SaveUnderTerminate, FileIsAlwaysOldOrNew) {
    const char* which = GetParam();
    const test::TempFolder temp(L"QV save test ");
    const fs::path& folder = temp.path();
    const std::string expected[2] = {BytesFor(which)(Version(0)), BytesFor(which)(Version(1))};
    ASSERT_FALSE(WriterFor(which)(Version(0), folder));
    fs::path file = folder / (std::string(which) == "places" ? kPlacesFile : std::string(which) == "display" ? kDisplayFile : kWindowFile);

    std::mt19937 random(test::TestSeed(which));
    std::uniform_int_distribution<DWORD> delay(0, 5);
    std::wstring command = L"\"" + HelperPath().wstring() + L"\" \"" + folder.wstring() + L"\" " +
                           std::wstring(which, which + std::strlen(which));
    for (int trial = 0; trial < test::SaveKillTrials(20); ++trial) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring line = command;
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        win::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
        // Kill only once the helper is saving: the file has turned into the other version.
        DWORD start = GetTickCount();
        while (ReadAllBytes(file) != expected[1] && GetTickCount() - start < 20000) Sleep(1);
        Sleep(delay(random));
        TerminateProcess(process.get(), 9);
        WaitForSingleObject(process.get(), INFINITE);
        std::string left = ReadAllBytes(file);
        ASSERT_TRUE(left == expected[0] || left == expected[1]) << which << " after kill " << trial << ": " << left.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(EachFile, SaveUnderTerminate, testing::Values("places", "display", "window"));

}  // namespace
}  // namespace qv::hardening
