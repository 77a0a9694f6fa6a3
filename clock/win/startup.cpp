// Vr: borderless centred splash, 2000 ms one-shot first-run pass, restart pass.
#include "startup.h"

#include <cmath>

#include "settings_files.h"
#include "zone_places.h"
#include "resource.h"
#include "twips.h"
#include "program_version.h"

namespace qv::win {
namespace {

// Design values of Vr, in twips.
constexpr double kClientWidth = 4755, kClientHeight = 1845;
constexpr double kImageWidth = 4755, kImageHeight = 1860;
constexpr double kLabelLeft = 3840, kLabelTop = 1560;
constexpr COLORREF kLabelColor = RGB(128, 128, 255);

}  // namespace

StartupWindow::StartupWindow(AppContext& app, Application& application) : app_(app), application_(application) {}

StartupWindow::~StartupWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void StartupWindow::Load() {
    HINSTANCE instance = RegisterWindowClass({kClassName, Proc});
    dpi_ = ScreenDpi();
    int width = TwipsToPixels(kClientWidth, dpi_);
    int height = TwipsToPixels(kClientHeight, dpi_);
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    // A tool window has no taskbar button; a popup has no border or title bar.
    CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, left, top, width, height, nullptr, nullptr,
                    instance, this);
    if (!hwnd_) return;

    image1_ = Picture::FromResource(app_.instance, IDR_SPLASH);
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(8.25 * dpi_ / 72.0));
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(lf.lfFaceName, L"ＭＳ Ｐゴシック");
    labelFont_.reset(CreateFontIndirectW(&lf));

    SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
    timerEnabled_ = true;
    Form_Load();
    // A restart pass has closed the window already: it is never shown.
    if (hwnd_) {
        // Shown without taking the focus: the splash is never typed into, and
        // an activated window is one the window manager must release again.
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);
    }
}

void StartupWindow::Close() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void StartupWindow::DisableTimer1() {
    if (hwnd_) KillTimer(hwnd_, kTimer1);
    timerEnabled_ = false;
}

void StartupWindow::ReadSettingsFiles() {
    SettingsModel& model = app_.model;
    ReadPlaces(model, app_.programFolder);
    // Every start and restart reads the rules anew, only for the places' zones.
    RefreshZones(app_, false);
    ReadDisplay(model, app_.programFolder);
    // A window file the last save could not replace is older than the model:
    // reading it would undo the switch or move the user just made.
    if (!app_.windowFileBehind) ReadWindow(model, app_.programFolder);
}

void StartupWindow::Form_Load() {
    SettingsModel& model = app_.model;
    if (model.RestartFlag.Equals(1)) {
        ReadSettingsFiles();
        FormatWorkStart(model);
        FormatWorkEnd(model);
        DisableTimer1();
        ApplyEveryStartDefaults(model);
        application_.LoadClockWindow();
        model.RestartFlag = Value::Integer(0);
        Close();
        return;
    }
    auto version = ReadProgramVersion(app_.instance);
    versionCaption_ = qv::win::VersionCaption(version.value_or(ProgramVersion{}));
}

void StartupWindow::Timer1_Timer() {
    // One shot: the window closes at the end of this handler in every case.
    DisableTimer1();
    SettingsModel& model = app_.model;
    if (model.RestartFlag.IsEmpty() || model.RestartFlag.Equals(0)) {
        ResetSummerTime(model);
        ReadSettingsFiles();
        ApplyFirstRunDefaults(model);
        FormatWorkStart(model);
        FormatWorkEnd(model);
        if (!model.ClockLoaded.Equals(1)) application_.LoadClockWindow();
    }
    Close();
}

void StartupWindow::Paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // Image1 holds the picture stored with the window: it keeps its stored
    // size in twips (the artwork's pixels at 96 dpi), so at a higher DPI it
    // grows with the window instead of leaving a bare strip.
    image1_.DrawInto(dc, TwipsRect(0, 0, kImageWidth, kImageHeight, dpi_));
    // The version label grows to fit its text and has no background.
    SelectScope font(dc, labelFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelColor);
    TextOutW(dc, TwipsToPixels(kLabelLeft, dpi_), TwipsToPixels(kLabelTop, dpi_), versionCaption_.c_str(),
             static_cast<int>(versionCaption_.size()));
}

LRESULT StartupWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (PaintMessage(msg, wp)) return 0;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wp == kTimer1 && timerEnabled_) Timer1_Timer();
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void StartupWindow::OnDestroyed() {
    timerEnabled_ = false;
    application_.WindowGone();
}

}  // namespace qv::win
