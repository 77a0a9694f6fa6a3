// The setup program run silently as a normal user: it installs into the user's
// local programs folder, makes the Start-menu shortcut, registers the control
// for the user and an uninstaller; QV.exe runs from there and saves its
// settings there; the silent uninstallation removes everything but the
// user's settings files and leaves no registry key of the control behind.
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <thread>

#include "clock/win/common/com_ptr.h"
#include "tests/release/qv_run.h"

namespace qv::release {
namespace {

using namespace std::chrono_literals;

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QV";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kProgId[] = L"Software\\Classes\\VITREL32.Vitrel32Ctrl.1";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

bool KeyExists(const std::wstring& subkey, REGSAM view, HKEY root = HKEY_CURRENT_USER) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Windows writes a per-user type library under HKCU; Wine's
// RegisterTypeLibForUser registers it for the machine instead.
bool TypeLibRegistered(const std::wstring& libid, REGSAM view) {
    return KeyExists(L"Software\\Classes\\TypeLib\\" + libid, view) ||
           KeyExists(L"TypeLib\\" + libid, view, HKEY_CLASSES_ROOT);
}

// A string value of a key under HKCU; empty when the key or value is missing.
std::wstring ReadString(const std::wstring& subkey, const wchar_t* name, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return {};
    win::UniqueKey key(opened);
    wchar_t buffer[1024];
    DWORD size = sizeof buffer - sizeof buffer[0];
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    buffer[size / sizeof buffer[0]] = L'\0';
    return buffer;
}

// For failure messages: the path's characters as they are, ASCII being enough.
std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Where a shortcut leads; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& link) {
    win::ComPtr<IShellLinkW> shell_link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shell_link.PutVoid())))
        return {};
    auto file = shell_link.As<IPersistFile>();
    if (!file || FAILED(file->Load(link.c_str(), STGM_READ))) return {};
    wchar_t target[MAX_PATH] = L"";
    if (FAILED(shell_link->GetPath(target, MAX_PATH, nullptr, 0))) return {};
    return target;
}

// Whether this machine runs 32-bit programs: always from a 32-bit test; from a
// 64-bit one, a 32-bit system program must start and report back.
bool CanRun32BitPrograms() {
    if (sizeof(void*) == 4) return true;
    wchar_t wow[MAX_PATH];
    if (GetSystemWow64DirectoryW(wow, MAX_PATH) == 0) return false;
    return RunToEnd(JoinPath(wow, L"cmd.exe"), L"/c exit 7", 30s) == 7;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        install_ = JoinPath(KnownFolder(FOLDERID_LocalAppData), L"Programs\\QV");
        shortcut_ = JoinPath(KnownFolder(FOLDERID_Programs), L"QV.lnk");
    }
    void TearDown() override {
        // The settings files the silent uninstallation keeps, and anything a
        // failed case left.
        for (const wchar_t* name : {L"STEI.QV", L"STEI1.QV", L"STEI2.QV"})
            DeleteFileW(JoinPath(install_, name).c_str());
        RemoveDirectoryW(install_.c_str());
        CoUninitialize();
    }

    // The whole round: install, look, run QV, uninstall, look again.
    void InstallRunUninstall(const std::wstring& setup, REGSAM view);

    std::wstring install_;
    std::wstring shortcut_;
};

void Installer::InstallRunUninstall(const std::wstring& setup, REGSAM view) {
    ASSERT_TRUE(FileExists(setup)) << "no setup program";
    ASSERT_FALSE(FileExists(JoinPath(install_, L"QV.exe"))) << "QV is already installed in " << Narrow(install_);

    ASSERT_EQ(RunToEnd(setup, L"/S", 120s), 0u) << "the silent installation failed";

    // Files, shortcut, uninstaller entry; the optional autostart is off.
    for (const wchar_t* name : {L"QV.exe", L"Vitrel32.ocx", L"Qv_help.html", L"Uninstall.exe"})
        EXPECT_TRUE(FileExists(JoinPath(install_, name))) << "not installed: " << Narrow(name);
    EXPECT_TRUE(SamePath(ShortcutTarget(shortcut_), JoinPath(install_, L"QV.exe")))
        << "the Start-menu shortcut is missing or leads elsewhere";
    std::wstring uninstall = ReadString(kUninstallKey, L"UninstallString", view);
    EXPECT_TRUE(SamePath(uninstall, L"\"" + JoinPath(install_, L"Uninstall.exe") + L"\""));
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName", view), L"QV");
    EXPECT_TRUE(ReadString(kRunKey, L"QV", view).empty()) << "start with Windows is on by default";

    // The control is registered for this user, at the installed file.
    std::wstring clsid = ReadString(std::wstring(kProgId) + L"\\CLSID", nullptr, view);
    ASSERT_FALSE(clsid.empty()) << "the control's ProgID is not registered for the user";
    std::wstring clsid_key = L"Software\\Classes\\CLSID\\" + clsid;
    EXPECT_TRUE(SamePath(ReadString(clsid_key + L"\\InprocServer32", nullptr, view),
                         JoinPath(install_, L"Vitrel32.ocx")));
    std::wstring libid = ReadString(clsid_key + L"\\TypeLib", nullptr, view);
    EXPECT_TRUE(!libid.empty() && TypeLibRegistered(libid, view)) << "the type library is not registered";

    // QV runs from the installed folder and saves its settings there.
    {
        RunningProgram qv(JoinPath(install_, L"QV.exe"), L"", L"");
        ASSERT_TRUE(qv.started()) << "CreateProcess failed: " << qv.error();
        HWND clock = qv.WaitForClockWindow(20s);
        ASSERT_NE(clock, nullptr) << "no clock window appeared";
        DoubleClickEndButton(clock);
        ASSERT_TRUE(qv.WaitForExit(15s)) << "the end button did not end QV";
    }
    EXPECT_EQ(ReadShiftJisLines(JoinPath(install_, L"STEI2.QV")).size(), 9u)
        << "QV did not save its window settings in the installed folder";

    // The uninstaller copies itself away and returns at once; it is done when
    // its entry and its own file are gone.
    ASSERT_EQ(RunToEnd(JoinPath(install_, L"Uninstall.exe"), L"/S", 60s), 0u);
    auto deadline = std::chrono::steady_clock::now() + 60s;
    while ((KeyExists(kUninstallKey, view) || FileExists(JoinPath(install_, L"Uninstall.exe"))) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(200ms);

    EXPECT_FALSE(KeyExists(kUninstallKey, view)) << "the uninstaller entry is still there";
    for (const wchar_t* name : {L"QV.exe", L"Vitrel32.ocx", L"Qv_help.html", L"Uninstall.exe"})
        EXPECT_FALSE(FileExists(JoinPath(install_, name))) << "not removed: " << Narrow(name);
    EXPECT_FALSE(FileExists(shortcut_)) << "the Start-menu shortcut is still there";
    EXPECT_FALSE(KeyExists(kProgId, view)) << "the control's ProgID is still registered";
    EXPECT_FALSE(KeyExists(clsid_key, view)) << "the control's class is still registered";
    EXPECT_FALSE(!libid.empty() && TypeLibRegistered(libid, view)) << "the type library is still registered";
    // A silent uninstallation keeps the user's settings.
    EXPECT_TRUE(FileExists(JoinPath(install_, L"STEI2.QV"))) << "the settings were deleted without asking";
}

TEST_F(Installer, SilentInstallRunAndUninstall) {
    InstallRunUninstall(HostPath(QV_RELEASE_SETUP), sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
}

#ifdef QV_RELEASE_SETUP_X86
// The shipped 32-bit setup program, from the 64-bit test build.
TEST_F(Installer, Shipped32BitSetupSilentInstallRunAndUninstall) {
    std::wstring setup = HostPath(QV_RELEASE_SETUP_X86);
    if (!FileExists(setup)) GTEST_SKIP() << "the 32-bit setup program is not built (build the win32 preset)";
    if (!CanRun32BitPrograms())
        GTEST_SKIP() << "this machine cannot run 32-bit programs (no 32-bit Wine: the kernel has 32-bit "
                        "support switched off), so the shipped 32-bit installer cannot run here";
    InstallRunUninstall(setup, KEY_WOW64_32KEY);
}
#endif

}  // namespace
}  // namespace qv::release
