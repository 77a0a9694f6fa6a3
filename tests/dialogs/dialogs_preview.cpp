// Opens one settings window (henko, syoki or verinfo) over sample settings in
// the program's own folder, with the real choosers, and runs until no settings
// window is left: for screenshots and trying the windows by hand. A third
// argument gives every monitor that DPI (the second is 初期設定's search text).
#include <windows.h>

#include <filesystem>
#include <string>

#include "dialogs.h"
#include "system_zones.h"
#include "zone_places.h"
#include "henko_window.h"
#include "monitors.h"
#include "syoki_window.h"
#include "verinfo_window.h"

namespace {

using namespace qv;
using namespace qv::win;

class BoxMessages final : public MessageService {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override {
        return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
    }
};

struct SystemClock final : ClockSource {
    CivilTime Now() const override {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};

class Launcher final : public WindowLauncher {
public:
    AppContext* app = nullptr;
    void LoadVr() override {}
    void CloseVr() override {}
    void OpenHenko() override { OpenHenkoWindow(*app); }
    void OpenSyoki() override { OpenSyokiWindow(*app); }
    void OpenVerInfo() override { OpenVerInfoWindow(*app); }
};

bool AnySettingsWindow() {
    return FindWindowW(henko::kClassName, nullptr) || FindWindowW(syoki::kClassName, nullptr) ||
           FindWindowW(verinfo::kClassName, nullptr);
}

void SampleSettings(SettingsModel& m) {
    m.PlaceName[1] = "東京";
    m.TimeDiff[1] = Value::Integer(0);
    m.WorkStart[1] = Value::Text("09:00");
    m.WorkEnd[1] = Value::Text("18:00");
    m.PlaceName[2] = "ロンドン";
    m.TimeDiff[2] = Value::Integer(-9);
    m.SummerTime[2] = Value::Integer(1);
    m.PlaceName[3] = "ニューヨーク";
    m.TimeDiff[3] = Value::Text("-14");
    for (int n = 1; n <= kPlaceCount; ++n) {
        if (m.SummerTime[n].IsEmpty()) m.SummerTime[n] = Value::Integer(0);
    }
    m.NameColor = std::string("0");
    m.SummerColor = std::string("12648447");
    m.WorkColor = std::string("16711680");
    m.TimeColor = std::string("8388608");
    m.Transparent = std::string("1");
    m.AlwaysOnTop = true;
    m.DateFormat = Value::Text("mm/dd hh:mm");
    m.FieldHeight = Value::Integer(180);
    m.FieldWidth = Value::Integer(1095);
    m.RowGap = Value::Integer(75);
    m.FontBold = Value::Boolean(true);
    m.FontItalic = Value::Boolean(false);
    m.FontName = Value::Text("ＭＳ ゴシック");
    m.FontSize = Value::Text(" 9 ");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring which = argc > 1 ? argv[1] : L"henko";
    // "syoki TEXT": TEXT typed into row 4's time difference (its list is then opened by a click).
    const std::wstring search = argc > 2 ? argv[2] : L"";
    // A third argument: the DPI of every monitor, as where a monitor's scale
    // differs from the system's (Wine has only the system's).
    const int monitorDpi = argc > 3 ? _wtoi(argv[3]) : 0;
    LocalFree(argv);

    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    SettingsModel model;
    SampleSettings(model);
    SystemClock clock;
    BoxMessages messages;
    auto choosers = MakeSystemChoosers();
    Launcher launcher;
    AppContext app{model, std::filesystem::path(exe).parent_path(), clock, messages, *choosers, launcher, instance};
    launcher.app = &app;
    if (monitorDpi > 0) {
        app.monitors = [monitorDpi] {
            std::vector<Monitor> monitors = SystemMonitors();
            for (Monitor& m : monitors) m.dpi = monitorDpi;
            return monitors;
        };
    }
    // London, New York and Sydney follow their zones; row 9 a zone this
    // system lacks.
    app.zones = LoadSystemZones();
    model.ZoneName[2] = "GMT Standard Time";
    model.ZoneName[3] = "Eastern Standard Time";
    model.ZoneName[5] = "AUS Eastern Standard Time";
    model.ZoneName[9] = "Mars Standard Time";
    ApplyZones(model, app.zones);

    if (which == L"syoki") {
        OpenSyokiWindow(app);
        if (HWND syoki = FindWindowW(syoki::kClassName, nullptr); syoki && !search.empty()) {
            HWND combo = GetDlgItem(syoki, syoki::J + 4);
            COMBOBOXINFO parts{};
            parts.cbSize = sizeof parts;
            GetComboBoxInfo(combo, &parts);
            SetFocus(parts.hwndItem);
            for (wchar_t c : search) PostMessageW(parts.hwndItem, WM_CHAR, c, 1);
        }
    } else if (which == L"verinfo") {
        OpenVerInfoWindow(app);
    } else {
        OpenHenkoWindow(app);
    }
    MSG msg;
    while (AnySettingsWindow() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (HandleDialogKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
