// Damaged settings files, every line of each file in turn: the clock still
// opens a visible window on a monitor's work area and OP1 ends it.
#include "clock_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "clock_labels.h"
#include "text.h"
#include "twips.h"

#include "system_zones.h"

namespace qv::win::test {
namespace {

// The stored files of a user who has set up three places, two of which follow
// zones; each case damages one line.
std::vector<std::string> StoredPlaces() {
    std::vector<std::string> lines = PlacesFile({{"日本", " 0 ", "9:00", "18:00", " 0 "},
                                                 {"ニューヨーク", "-14 ", "9:00", "18:00", " 1 "},
                                                 {"ロンドン", "-9 ", "9:00", "18:00", " 1 "}});
    lines.insert(lines.end(), {"タイムゾーン", "", "Eastern Standard Time", "GMT Standard Time", "", "", "", "", "", "", ""});
    return lines;
}

const ZoneList& SystemZones() {
    static const ZoneList zones = LoadSystemZones();
    return zones;
}

// The display file of a user who keeps the clock on top, beside an option of
// some other copy of the program and a second, later value of our own key.
std::vector<std::string> StoredDisplay() {
    std::vector<std::string> lines = DefaultDisplayFile();
    lines.insert(lines.end(), {"表示オプション", "最前面=1", "色数=256", "最前面=2"});
    return lines;
}
// Lines 21 and 22 hold the options' title and the key that counts: damaged,
// the clock opens in the normal band; any other damage leaves it on top.
constexpr std::size_t kOptionsTitleLine = 21, kAlwaysOnTopLine = 22;

std::vector<std::string> StoredWindow() { return WindowFile(" 0 ", 1200, 885, 1410, 3000, " 0 "); }

struct Kind {
    const char* name;
    std::string bytes;  // the damaged line as stored, without its CR LF
};

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"empty", ""},
        {"junk", Sjis("#?x%s%n%d ｼﾞｬﾝｸ 〒 ,,;;")},
        {"1e300", "1e300"},
        {"99999999999", "99999999999"},
        {"negative", "-32769"},
        // Lead bytes without a valid trail, a lone trail byte, a cut-off pair.
        {"badsjis", "\x82\xff\x81\x7f\xa0\xfd\x81"},
        // Longer than any zone's key name.
        {"overlong", std::string(300, 'x')},
    };
    return kinds;
}

void WriteBytes(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines, std::size_t damaged,
                const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < utf8Lines.size(); ++i) out += (i + 1 == damaged ? bytes : Sjis(utf8Lines[i])) + "\r\n";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << out;
}

// Xvfb runs no window manager, and Wine waits up to two seconds for one to
// take each managed window off the screen: 500 cases would take minutes.
// Under Wine this program's windows are left unmanaged, a setting for this
// program only that the display driver reads when the process starts: the
// first run that sets it starts itself again (see main).
constexpr wchar_t kUnmanagedKey[] = L"Software\\Wine\\AppDefaults\\bad_settings_tests.exe\\X11 Driver";

// True when the setting was there already.
bool MakeUnmanaged() {
    wchar_t value[4] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kUnmanagedKey, L"Managed", RRF_RT_REG_SZ, nullptr, value, &size) ==
            ERROR_SUCCESS &&
        value[0] == L'N')
        return true;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUnmanagedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return true;  // runs managed, only slower
    RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    RegCloseKey(key);
    return false;
}

int RunAgain() {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = GetCommandLineW();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return 1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

class BadSettingsTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        // Under Wine the program folder goes to memory where there is a tmpfs:
        // each case saves twice, and a flush to a busy disk costs a second.
        std::error_code ec;
        std::filesystem::path shm = L"Z:\\dev\\shm";
        if (!std::filesystem::is_directory(shm, ec)) return;
        std::filesystem::remove_all(folder_, ec);
        folder_ = shm / folder_.filename();
        std::filesystem::create_directories(folder_, ec);
    }

    // A fresh process's state: empty model, no messages, a new application.
    void NewProcess() {
        CloseEverything();
        model_ = SettingsModel{};
        messages_.shown.clear();
        process_.ended = 0;
        application_ = std::make_unique<Application>(GetModuleHandleW(nullptr), process_);
        app_ = std::make_unique<AppContext>(
            AppContext{model_, folder_, clock_, messages_, choosers_, *application_, GetModuleHandleW(nullptr)});
        app_->zones = SystemZones();
        application_->Attach(*app_);
    }

    void CloseEverything() {
        if (application_->Clock() && application_->Clock()->IsOpen()) DestroyWindow(application_->Clock()->hwnd());
        application_->CloseVr();
        Pump();
    }

    // Whether the window meets a monitor's work area and OP1 lies on it, so
    // the user can see the clock and reach its end button.
    static bool OnWorkArea(HWND hwnd) {
        RECT outer;
        GetWindowRect(hwnd, &outer);
        HMONITOR monitor = MonitorFromRect(&outer, MONITOR_DEFAULTTONULL);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
        POINT op1{TwipsToPixels(kButtonSize / 2), TwipsToPixels(kButtonSize / 2)};
        ClientToScreen(hwnd, &op1);
        return PtInRect(&info.rcWork, op1) != FALSE;
    }

    // Runs one case; returns what went wrong, empty when nothing did. The
    // messages the program showed go to `shown`.
    std::string RunCase(const char* file, std::size_t line, const Kind& kind, std::string& shown) {
        if (std::getenv("QV_BAD_TRACE")) std::cerr << file << ' ' << line << ' ' << kind.name << std::endl;
        NewProcess();
        auto damaged = [&](const char* name) { return std::string(file) == name ? line : 0; };
        WriteBytes(File("STEI.QV"), StoredPlaces(), damaged("STEI.QV"), kind.bytes);
        WriteBytes(File("STEI1.QV"), StoredDisplay(), damaged("STEI1.QV"), kind.bytes);
        WriteBytes(File("STEI2.QV"), StoredWindow(), damaged("STEI2.QV"), kind.bytes);
        ClockWindow* clock = nullptr;
        try {
            clock = &StartFirstRun();
        } catch (const std::exception&) {
        }
        for (const auto& m : messages_.shown) shown += (shown.empty() ? "" : "; ") + Narrow(m.title);
        if (!clock || !IsWindow(clock->hwnd())) return "no clock window";
        HWND hwnd = clock->hwnd();
        if (!IsWindowVisible(hwnd)) return "clock window hidden";
        if (!OnWorkArea(hwnd)) {
            RECT r;
            GetWindowRect(hwnd, &r);
            std::ostringstream s;
            s << "OP1 off the work area: window " << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
            return s.str();
        }
        const bool onTop = damaged("STEI1.QV") != kOptionsTitleLine && damaged("STEI1.QV") != kAlwaysOnTopLine;
        if (((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) != onTop) {
            return onTop ? "not on top" : "on top although its option is damaged";
        }
        // The clock runs: ticks and a full paint, as the first seconds on screen.
        Tick();
        Tick();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PrintedPixel(hwnd, 1, 1);
        SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(TwipsToPixels(kButtonSize / 2), TwipsToPixels(kButtonSize / 2)));
        Pump();
        if (IsWindow(hwnd) || application_->Clock()) return "still open after OP1";
        if (application_->AnyWindowLeft()) return "a window of the program is left after OP1";
        if (process_.ended) return "ended through EndProgram";
        return {};
    }

    // Every line of one file with every kind; the failures are the test's,
    // the messages are printed as the record of what the user is told.
    void RunFile(const char* file, std::size_t lines) {
        std::map<std::string, int> messageCounts;
        int failures = 0;
        for (std::size_t line = 1; line <= lines; ++line) {
            for (const Kind& kind : Kinds()) {
                std::string shown;
                std::string failure = RunCase(file, line, kind, shown);
                if (!failure.empty()) {
                    ++failures;
                    ADD_FAILURE() << file << " line " << line << " <- " << kind.name << ": " << failure;
                }
                if (!shown.empty()) {
                    std::cout << file << " line " << line << " <- " << kind.name << ": message " << shown << "\n";
                    ++messageCounts[shown];
                }
            }
        }
        std::cout << file << ": " << lines * Kinds().size() << " cases, " << failures << " failed\n";
        for (const auto& [text, count] : messageCounts) std::cout << "  shown " << count << "x: " << text << "\n";
    }
};

TEST_F(BadSettingsTest, EveryLineOfThePlacesFile) {
    ASSERT_EQ(StoredPlaces().size(), 66u);
    RunFile("STEI.QV", 66);
}

TEST_F(BadSettingsTest, EveryLineOfTheDisplayFile) {
    ASSERT_EQ(StoredDisplay().size(), 24u);
    RunFile("STEI1.QV", 24);
}

TEST_F(BadSettingsTest, EveryLineOfTheWindowFile) {
    ASSERT_EQ(StoredWindow().size(), 9u);
    RunFile("STEI2.QV", 9);
}

}  // namespace
}  // namespace qv::win::test

int main(int argc, char** argv) {
    if (qv::win::test::UnderWine() && !qv::win::test::MakeUnmanaged()) return qv::win::test::RunAgain();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
