// The program's windows and their lifetimes: opens the start-up window, the
// clock windows and the settings dialogs by name, keeps each window object
// until its window has gone, and runs the one message loop, which ends when,
// after a handler returns, no window of the program remains.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app_context.h"
#include "handles.h"
#include "platform.h"

namespace qv::win {

class StartupWindow;
class ClockWindow;

// What the application knows of each of its own windows.
class ProgramWindow {
public:
    virtual ~ProgramWindow() = default;
    virtual bool IsOpen() const = 0;
};

class Application final : public WindowLauncher {
public:
    Application(HINSTANCE instance, ProcessServices& process);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The context names this application as its launcher; set it before the
    // first window opens. Its clock also gives the format routine its year.
    void Attach(AppContext& app);

    void LoadVr() override;
    void CloseVr() override;
    void OpenHenko() override;
    void OpenSyoki() override;
    void OpenVerInfo() override;

    // Loads QV1 when LayoutSwitch tests equal to 0, QV2 otherwise.
    void LoadClockWindow();
    // The hidden window that owns the clock window: owned, the clock has no
    // taskbar button, yet Alt+Tab lists it (a tool window it is not).
    HWND ClockOwner();

    // A window of ours has gone: wakes the message loop so it can look
    // whether any window remains.
    void WindowGone();

    // Frees window objects whose windows have gone (never inside their handlers).
    void CollectClosed();
    // Whether any top-level window of the program is still there.
    bool AnyWindowLeft() const;
    // The message loop; returns the exit code when no window remains.
    int Run();

    StartupWindow* Vr() const { return vr_.get(); }
    ClockWindow* Clock() const { return clock_.get(); }
    HINSTANCE instance() const { return instance_; }

private:
    // The loop's next message: false at WM_QUIT. A change of the system's
    // zone data comes as a thread message WM_NULL with kZonesChangedWake.
    bool NextMessage(MSG& msg);
    static constexpr WPARAM kZonesChangedWake = 0x5A4E;  // "ZN"
    HINSTANCE instance_;
    ProcessServices& process_;
    AppContext* app_ = nullptr;
    std::unique_ptr<StartupWindow> vr_;
    std::unique_ptr<ClockWindow> clock_;
    std::vector<std::unique_ptr<ProgramWindow>> closed_;
    UniqueWindow clockOwner_;
};

}  // namespace qv::win
