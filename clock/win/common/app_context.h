// What every window of the clock program shares: the one settings model, the
// program folder, the clock, and the platform services a test can replace.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "date_value.h"
#include "settings_files.h"
#include "settings_model.h"
#include "choosers.h"
#include "work_area.h"

namespace qv::win {

// Message boxes, so a test can answer them.
class MessageService {
public:
    virtual ~MessageService() = default;
    // MessageBoxW's flags and result.
    virtual int Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) = 0;
};


// The windows of the program, opened by name. Each opens a window built anew;
// the process ends when, after a handler returns, no window remains.
class WindowLauncher {
public:
    virtual ~WindowLauncher() = default;
    virtual void LoadVr() = 0;        // start-up window; restarts when RestartFlag is 1
    virtual void CloseVr() = 0;       // closes it if it is still loaded
    virtual void OpenHenko() = 0;     // display settings dialog
    virtual void OpenSyoki() = 0;     // initial setup dialog
    virtual void OpenVerInfo() = 0;   // about box
};

struct AppContext {
    SettingsModel& model;
    FilePath programFolder;
    const ClockSource& clock;
    MessageService& messages;
    Choosers& choosers;
    WindowLauncher& windows;
    HINSTANCE instance = nullptr;
    // The hidden window that owns the program's top-level windows: owned,
    // they get no taskbar button; not being tool windows, each visible one
    // has its Alt+Tab entry. Null leaves them unowned.
    HWND owner = nullptr;
    // The last save of the window file failed: the model holds a newer place,
    // size and layout than the file, and a restart keeps them.
    bool windowFileBehind = false;
    // The system's time zones: at start those the places name, all of them
    // while the setup form is open, and again whenever the system's change.
    ZoneList zones{};
    // Reads the system's zones: the whole list (no keys) or those of `keys`.
    // Empty in a test that hands `zones` in itself.
    std::function<ZoneList(const std::vector<std::string>* keys)> loadZones{};
    // Whether the system's zone data changed since the last look, and the
    // event the program's loop waits on for that (none in a test).
    std::function<bool()> zonesChanged{};
    HANDLE zonesEvent = nullptr;
    // The display settings window's button the user left it from for the
    // initial setup or the about box (a control id): coming back, the focus
    // is there again. 0 when it opens anew.
    int henkoLeftFrom = 0;
    // Whether an input-method composition is open in a box; the system's
    // answer when empty. A test without an input method replaces it.
    std::function<bool(HWND box)> composing{};
    // The monitors (areas, work areas, DPIs); the system's when empty. A test
    // gives monitors that come and go, which it cannot make the system do.
    std::function<std::vector<Monitor>()> monitors{};
};

// Shows a failed settings save (the file and the system's reason); the old
// file, when there was one, is intact and the program goes on.
void ShowSaveError(AppContext& app, HWND owner, const SaveError& error);

// Reads the zones again (those the places name, or `all` of them) and gives
// each zone place its rules anew.
void RefreshZones(AppContext& app, bool all);

}  // namespace qv::win
