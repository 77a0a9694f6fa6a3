// Opening and closing the program's windows, and the message loop.
#include "application.h"

#include "clockwindow.h"
#include "startup.h"
#include "window.h"
#include "date_format.h"
#include "dialogs.h"
#include "resource.h"

namespace qv::win {
namespace {

constexpr wchar_t kClockOwnerClass[] = L"QV.ClockOwner";

struct WindowSearch {
    HINSTANCE instance;
    HWND clockOwner;
    bool found = false;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    // Our windows are created with our instance; owned windows (tool tips)
    // and the system's helper windows do not keep the program alive, nor
    // does the clock's hidden owner: the clock it owns does.
    if (hwnd == search->clockOwner) return TRUE;
    if (HWND owner = GetWindow(hwnd, GW_OWNER); owner && owner != search->clockOwner) return TRUE;
    if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)) != search->instance) return TRUE;
    search->found = true;
    return FALSE;
}

}  // namespace

Application::Application(HINSTANCE instance, ProcessServices& process) : instance_(instance), process_(process) {}

Application::~Application() {
    if (app_) UseClockForCurrentYear(nullptr);
}

void Application::Attach(AppContext& app) {
    app_ = &app;
    app.owner = ClockOwner();
    UseClockForCurrentYear(&app.clock);
}

void Application::LoadVr() {
    if (!app_) return;
    // Loading a window that is loaded already does nothing.
    if (vr_ && vr_->IsOpen()) return;
    if (vr_) closed_.push_back(std::move(vr_));
    vr_ = std::make_unique<StartupWindow>(*app_, *this);
    vr_->Load();
}

void Application::CloseVr() {
    if (vr_ && vr_->IsOpen()) vr_->Close();
}

void Application::LoadClockWindow() {
    if (!app_) return;
    ClockStyle style = app_->model.LayoutSwitch.Equals(0) ? ClockStyle::QV1 : ClockStyle::QV2;
    if (clock_) closed_.push_back(std::move(clock_));
    clock_ = std::make_unique<ClockWindow>(*app_, *this, process_, style);
    clock_->Load();
}

void Application::OpenHenko() {
    if (app_) OpenHenkoWindow(*app_);
}

void Application::OpenSyoki() {
    if (app_) OpenSyokiWindow(*app_);
}

void Application::OpenVerInfo() {
    if (app_) OpenVerInfoWindow(*app_);
}

void Application::WindowGone() {
    // A window may go inside a sent message (a system close), which returns
    // through GetMessage rather than DispatchMessage: wake the loop.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Application::CollectClosed() {
    std::erase_if(closed_, [](const std::unique_ptr<ProgramWindow>& w) { return !w->IsOpen(); });
    if (vr_ && !vr_->IsOpen()) vr_.reset();
    if (clock_ && !clock_->IsOpen()) clock_.reset();
}

HWND Application::ClockOwner() {
    if (!clockOwner_) {
        // It carries the program's icon for the windows it owns.
        HICON icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_QV));
        HINSTANCE instance = RegisterWindowClass({kClockOwnerClass, DefWindowProcW, 0, icon});
        clockOwner_.reset(CreateWindowExW(0, kClockOwnerClass, L"QV", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          instance, nullptr));
    }
    return clockOwner_.get();
}

bool Application::AnyWindowLeft() const {
    WindowSearch search{instance_, clockOwner_.get()};
    EnumThreadWindows(GetCurrentThreadId(), FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Application::NextMessage(MSG& msg) {
    // Asleep until a message comes, or the system's zone data changes (then
    // a wake-up message of the loop's own stands for it).
    while (app_ && app_->zonesEvent) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return msg.message != WM_QUIT;
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &app_->zonesEvent, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            msg = MSG{};
            msg.message = WM_NULL;
            msg.wParam = kZonesChangedWake;
            return true;
        }
        if (woke == WAIT_FAILED) break;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    return got != 0 && got != -1;
}

int Application::Run() {
    MSG msg;
    while (AnyWindowLeft()) {
        if (!NextMessage(msg)) break;
        if (msg.message == WM_NULL && !msg.hwnd && msg.wParam == kZonesChangedWake) {
            // The system's zone data changed: the running clock follows now.
            if (app_ && app_->zonesChanged && app_->zonesChanged() && clock_) clock_->ZonesChanged();
            continue;
        }
        // The settings windows' dialog keys, then everything else.
        if (!HandleDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // After each handler: free what has closed; the loop test ends the
        // process when no window remains. A hand-over inside one handler
        // (the clock closing, Vr opening the next) never gets here between.
        CollectClosed();
    }
    CollectClosed();
    return 0;
}

}  // namespace qv::win
