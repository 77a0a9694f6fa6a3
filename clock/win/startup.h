// The start-up window Vr: the splash with the version label, the first-run
// pass of its one-shot timer, and the restart pass of its load handler.
#pragma once

#include <windows.h>

#include <string>

#include "app_context.h"
#include "application.h"
#include "handles.h"
#include "picture.h"
#include "window.h"

namespace qv::win {

class StartupWindow final : public ProgramWindow, public WindowBase<StartupWindow> {
public:
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1Interval = 2000;
    static constexpr wchar_t kClassName[] = L"Vr";

    StartupWindow(AppContext& app, Application& application);
    ~StartupWindow() override;

    // Creates the window and runs Form_Load; shows it unless the load closed it.
    void Load();
    void Close();
    bool IsOpen() const override { return hwnd_ != nullptr; }

    const std::wstring& VersionCaption() const { return versionCaption_; }
    bool TimerEnabled() const { return timerEnabled_; }
    void Paint(HDC dc);

private:
    friend class WindowBase<StartupWindow>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnDestroyed();

    void Form_Load();
    // ReadPlaces, ReadDisplay, ReadWindow, as both passes run them.
    void ReadSettingsFiles();
    void Timer1_Timer();
    void DisableTimer1();

    AppContext& app_;
    Application& application_;
    Picture image1_;
    UniqueFont labelFont_;
    std::wstring versionCaption_ = L"Ver";
    bool timerEnabled_ = false;
    int dpi_ = 96;
};

}  // namespace qv::win
