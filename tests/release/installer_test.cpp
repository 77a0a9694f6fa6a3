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

#include "com_ptr.h"
#include "tests/release/qv_run.h"
#include "text.h"

namespace qv::release {
namespace {

using namespace std::chrono_literals;
using win::Narrow;  // for failure messages

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

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        install_ = JoinPath(KnownFolder(FOLDERID_LocalAppData), L"Programs\\QV");
        shortcut_ = JoinPath(KnownFolder(FOLDERID_Programs), L"QV.lnk");
    }
    void TearDown() override {
        // Whatever a failed case left installed, then the settings files a
        // silent uninstallation keeps.
        std::wstring uninstaller = JoinPath(install_, L"Uninstall.exe");
        if (FileExists(uninstaller) && FileExists(JoinPath(install_, L"QV.exe")))
            RunToEnd(uninstaller, L"/S _?=" + install_, 60s);
        RemoveFolder(install_);
        CoUninitialize();
    }

    // Installs silently and puts settings files where QV keeps them.
    void InstallWithSettings(const std::wstring& setup);
    // Runs the uninstaller in place (so it is this test's own process),
    // confirms, and answers its settings question: by the Enter key (the
    // default answer) or by clicking "Yes". Returns the question's text.
    std::wstring UninstallInteractively(bool clickYes);

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

namespace {

struct DialogSearch {
    DWORD process;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t name[16] = L"";
    GetClassNameW(hwnd, name, 16);
    if (owner != search->process || hwnd == search->except || !IsWindowVisible(hwnd) ||
        lstrcmpW(name, L"#32770") != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A visible dialog of the process other than except; nullptr after the timeout.
HWND WaitForDialog(DWORD process, HWND except, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        DialogSearch search{process, except, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM param) {
    wchar_t text[512] = L"";
    GetWindowTextW(child, text, 512);
    *reinterpret_cast<std::wstring*>(param) += text;
    return TRUE;
}

void PressEnter() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
}

}  // namespace

void Installer::InstallWithSettings(const std::wstring& setup) {
    ASSERT_FALSE(FileExists(JoinPath(install_, L"QV.exe"))) << "QV is already installed in " << Narrow(install_);
    ASSERT_EQ(RunToEnd(setup, L"/S", 120s), 0u) << "the silent installation failed";
    for (const wchar_t* name : {L"STEI.QV", L"STEI1.QV", L"STEI2.QV"})
        ASSERT_TRUE(WriteShiftJisLines(JoinPath(install_, name), {L"設定"}));
}

std::wstring Installer::UninstallInteractively(bool clickYes) {
    RunningProgram uninstaller(JoinPath(install_, L"Uninstall.exe"), L"_?=" + install_, L"");
    if (!uninstaller.started()) return L"(the uninstaller did not start)";
    HWND main = WaitForDialog(uninstaller.id(), nullptr, 20s);
    if (!main) return L"(no uninstaller window)";
    // The confirmation page's "Uninstall" button.
    SendMessageW(GetDlgItem(main, IDOK), BM_CLICK, 0, 0);

    HWND question = WaitForDialog(uninstaller.id(), main, 20s);
    if (!question) return L"(no question)";
    std::wstring text;
    EnumChildWindows(question, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    if (clickYes) {
        SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    } else {
        SetForegroundWindow(question);
        PressEnter();
    }
    // When the work is done the "Close" button is enabled.
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (IsWindow(question) && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(100ms);
    while (!IsWindowEnabled(GetDlgItem(main, IDOK)) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    SendMessageW(GetDlgItem(main, IDOK), BM_CLICK, 0, 0);
    if (!uninstaller.WaitForExit(30s)) return L"(the uninstaller did not end)";
    return text;
}

TEST_F(Installer, UninstallAsksAndKeepsTheSettingsByDefault) {
    InstallWithSettings(HostPath(QV_RELEASE_SETUP));
    if (HasFatalFailure()) return;
    std::wstring question = UninstallInteractively(false);
    EXPECT_NE(question.find(L"STEI.QV"), std::wstring::npos) << "asked no question about the settings files";
    EXPECT_FALSE(FileExists(JoinPath(install_, L"QV.exe")));
    EXPECT_FALSE(KeyExists(kUninstallKey, sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY));
    for (const wchar_t* name : {L"STEI.QV", L"STEI1.QV", L"STEI2.QV"})
        EXPECT_TRUE(FileExists(JoinPath(install_, name))) << "the default answer deleted " << Narrow(name);
}

TEST_F(Installer, UninstallDeletesTheSettingsWhenTheUserSaysYes) {
    InstallWithSettings(HostPath(QV_RELEASE_SETUP));
    if (HasFatalFailure()) return;
    std::wstring question = UninstallInteractively(true);
    EXPECT_NE(question.find(L"STEI.QV"), std::wstring::npos) << "asked no question about the settings files";
    EXPECT_FALSE(FileExists(JoinPath(install_, L"QV.exe")));
    for (const wchar_t* name : {L"STEI.QV", L"STEI1.QV", L"STEI2.QV"})
        EXPECT_FALSE(FileExists(JoinPath(install_, name))) << "kept after Yes: " << Narrow(name);
}

TEST_F(Installer, SilentInstallRunAndUninstall) {
    InstallRunUninstall(HostPath(QV_RELEASE_SETUP), sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
}

#ifdef QV_RELEASE_SETUP_X86
// Whether this machine runs 32-bit programs: always from a 32-bit test; from a
// 64-bit one, a 32-bit system program must start and report back.
bool CanRun32BitPrograms() {
    if (sizeof(void*) == 4) return true;
    wchar_t wow[MAX_PATH];
    if (GetSystemWow64DirectoryW(wow, MAX_PATH) == 0) return false;
    return RunToEnd(JoinPath(wow, L"cmd.exe"), L"/c exit 7", 30s) == 7;
}

// The shipped 32-bit setup program, from the 64-bit test build.
TEST_F(Installer, Shipped32BitSetupSilentInstallRunAndUninstall) {
    std::wstring setup = HostPath(QV_RELEASE_SETUP_X86);
    if (!FileExists(setup)) GTEST_SKIP() << "the 32-bit setup program is not built (build the win32 preset)";
    if (!CanRun32BitPrograms())
        GTEST_SKIP() << "this machine cannot run 32-bit programs (a 32-bit cmd.exe did not run: no 32-bit "
                        "Wine, as on a kernel without 32-bit support), so the shipped 32-bit installer cannot "
                        "run here";
    InstallRunUninstall(setup, KEY_WOW64_32KEY);
}
#endif

}  // namespace
}  // namespace qv::release
