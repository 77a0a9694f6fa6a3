// QV1/QV2: load, tick, resize, unload, the mouse commands and the keys.
#include "clockwindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "layout.h"
#include "settings_files.h"
#include "text.h"
#include "twips.h"
#include "font_check.h"
#include "placement.h"

namespace qv::win {

ClockWindow::ClockWindow(AppContext& app, Application& application, ProcessServices& process, ClockStyle style)
    : app_(app), application_(application), process_(process), style_(style) {}

ClockWindow::~ClockWindow() {
    DetachAccessible();
    vitrel1_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
}

void ClockWindow::Load() {
    const wchar_t* name = ClassName(style_);
    // The program's icon, for its Alt+Tab entry.
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(application_.ClockOwner(), GCLP_HICON));
    HINSTANCE instance = RegisterWindowClass({name, Proc, CS_DBLCLKS, icon});
    for (int n = 1; n <= kPlaceCount; ++n) {
        labels_[static_cast<std::size_t>(NameLabel(n))] = RowLabel{};
        labels_[static_cast<std::size_t>(TimeLabel(n))] = RowLabel{};
    }
    // QV1: a sizing frame without caption or title bar; QV2: no border at all.
    // Owned by a hidden window, neither has a taskbar button; not being tool
    // windows, Alt+Tab reaches them, the keyboard's way to the clock.
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | (style_ == ClockStyle::QV1 ? WS_THICKFRAME : 0);
    // Always on top: born in the topmost band, above every window that is not
    // itself on top. The hidden owner stays where it is: an owned window may
    // be topmost over a normal owner, and a later opening without the option
    // then starts in the normal band with nothing to undo.
    DWORD exStyle = app_.model.AlwaysOnTop ? WS_EX_TOPMOST : 0;
    // Made where it will stand, at its size there: on the monitor whose DPI
    // it has. Made elsewhere, it would change monitors when the load places
    // it, and the system would scale it a second time.
    const RECT place = StoredPlace();
    CreateWindowExW(exStyle, name, L"QV", style, place.left, place.top, place.right - place.left,
                    place.bottom - place.top, application_.ClockOwner(), nullptr, instance, this);
    if (!hwnd_) return;
    ApplyFontFace();
    CreateToolTips();
    // Vitrel1 is in place, with its stored properties, before the load runs.
    vitrel1_ = TransparencyControl::Create(hwnd_, app_.programFolder);
    // The first tick follows the load at once, so the times show with the
    // window; from then on the timer keeps to the local clock's seconds.
    timer1Period_ = kShortestTimerMs;
    SetTimer(hwnd_, kTimer1, timer1Period_, nullptr);
    Form_Load();
}

void ClockWindow::Close() {
    if (!hwnd_) return;
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    // Hidden before the control goes: it gives the window back opaque, which
    // would show the key colour until the window is destroyed.
    ShowWindow(hwnd_, SW_HIDE);
    vitrel1_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
}

void ClockWindow::Form_Load() {
    SettingsModel& model = app_.model;
    // 1. The application help file.
    helpFile_ = JoinPath(app_.programFolder, L"Qv_help.hlp");
    // 2.
    model.ClockLoaded = Value::Integer(1);
    // 3. One copy per session.
    if (process_.AnotherCopyRunning()) {
        app_.messages.Show(hwnd_, L"既に起動されています", L"QV", MB_OK);
        process_.EndProgram();
        return;
    }
    // 4. A stored form state other than 0 no longer leaves the window loaded
    //    but hidden: the load goes on and shows it like any other.
    // 5. Background picture (opaque display only); one that cannot be loaded leaves none.
    //    Transparent display: no picture, and the control makes the window a
    //    layered one whose pixels of its key colour vanish. Without the
    //    control the window simply stays opaque.
    if (!qv::TransparentDisplay(model)) {
        picture_ = Picture::FromFile(Widen(model.PicturePath.ToText()));
    } else {
        picture_ = Picture();
        if (vitrel1_) {
            vitrel1_->SwitchOnTransparency();
            transparentDisplay_ = true;
        }
    }
    // 6. Captions.
    for (int n = 1; n <= kPlaceCount; ++n) {
        labels_[static_cast<std::size_t>(NameLabel(n))].caption = Widen(model.PlaceName[n]);
        tick_.nameCaption[static_cast<std::size_t>(n - 1)] = model.PlaceName[n];
    }
    // 7. Colours: names, then times.
    COLORREF nameColor = ToColorRef(ColorOr(model.NameColor, defaults::kNameColor));
    COLORREF timeColor = ToColorRef(ColorOr(model.TimeColor, defaults::kTimeColor));
    for (int n = 1; n <= kPlaceCount; ++n) {
        labels_[static_cast<std::size_t>(NameLabel(n))].color = nameColor;
        tick_.nameColor[static_cast<std::size_t>(n - 1)] = nameColor;
    }
    for (int n = 1; n <= kPlaceCount; ++n) labels_[static_cast<std::size_t>(TimeLabel(n))].color = timeColor;
    // 8. Label widths, then heights.
    double width = FieldWidthInEffect(model.FieldWidth);
    double height = FieldHeightInEffect(model.FieldHeight);
    for (auto& label : labels_) label.width = width;
    for (auto& label : labels_) label.height = height;
    // 9. Position and size (Top, Height, Width, Left); empty counts as 0. The
    //    three buttons must lie wholly on a monitor's work area (a borderless
    //    transparent window has nothing else to grab): otherwise the window
    //    moves the least distance that puts them there.
    RECT r = StoredPlace();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    KeepButtonsOnWorkArea();
    // 10. Summer-time colour of the time labels.
    //     A place that follows a zone takes it from the zone, tick by tick.
    COLORREF summerColor = ToColorRef(ColorOr(model.SummerColor, defaults::kSummerColor));
    summerColor_ = summerColor;
    timeColor_ = timeColor;
    for (int n = 1; n <= kPlaceCount; ++n) {
        if (model.SummerTime[n].Equals(1)) labels_[static_cast<std::size_t>(TimeLabel(n))].color = summerColor;
    }
    // 11. Show, not modal.
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    // 12. Font size, bold, italic, then face (FontErrorTrap for a face the
    //     labels cannot take: the other three stay applied).
    font_.size = FontSizePoints(model);
    font_.bold = model.FontBold.ToBoolean().value_or(false);
    font_.italic = model.FontItalic.ToBoolean().value_or(false);
    std::wstring face = Widen(model.FontName.ToText());
    bool faceUsable = FontFaceUsable(face);
    if (faceUsable) font_.face = face;
    ApplyFontFace();
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (!faceUsable) {
        app_.messages.Show(hwnd_, L"このフォントは対応していません。他フォントに設定してください。", L"フォントエラー",
                           MB_OK | MB_ICONEXCLAMATION);
        model.FontName = Value::Text(defaults::kFontName);
    }
}

RECT ClockWindow::StoredPlace() {
    const SettingsModel& model = app_.model;
    double top = NumberOr(model.WinTop, 0);
    double winHeight = PositiveOr(model.WinHeight, defaults::kWinHeight);
    double winWidth = PositiveOr(model.WinWidth, defaults::kWinWidth);
    double left = NumberOr(model.WinLeft, 0);
    // The place in twips at the system DPI, as a copy of the program that
    // knows no other DPI reads it; the size in twips at the DPI of the
    // monitor found there (docs/architecture.md, "Places in twips").
    const int systemDpi = ScreenDpi();
    const RECT atSystemDpi = TwipsRect(left, top, winWidth, winHeight, systemDpi);
    dpi_ = DpiAt(atSystemDpi, Monitors(app_));
    return RECT{atSystemDpi.left, atSystemDpi.top, atSystemDpi.left + TwipsToPixels(winWidth, dpi_),
                atSystemDpi.top + TwipsToPixels(winHeight, dpi_)};
}

void ClockWindow::KeepButtonsOnWorkArea() {
    // From where the system put the window: it clamps coordinates far out.
    RECT shown{};
    GetWindowRect(hwnd_, &shown);
    RECT placed = KeepButtonsReachable(shown, ButtonsOnScreen(), Monitors(app_));
    if (placed.left != shown.left || placed.top != shown.top) {
        SetWindowPos(hwnd_, nullptr, placed.left, placed.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
}

void ClockWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    // Everything the window draws follows dpi_: its font, its labels, its
    // buttons and their tool tips (moved with the rows, Form_Resize). The
    // twips stay; the pixels change.
    dpi_ = dpi;
    ApplyFontFace();
    // The system's rectangle keeps the window's size in twips and its place
    // under the pointer. Taking it lays the rows out again (WM_SIZE); a
    // rectangle of the same pixel size sends none.
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Form_Resize();
    // A window dropped at a monitor's edge may leave its buttons off it at the new size.
    PostMessageW(hwnd_, kKeepReachable, 0, 0);
}

RECT ClockWindow::ButtonsOnScreen() const {
    RECT buttons = TwipsRect(0, kButtons[0].top, kButtonSize, kButtons[2].top + kButtonSize, dpi_);
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    OffsetRect(&buttons, origin.x, origin.y);
    return buttons;
}

void ClockWindow::ApplyFontFace() {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font_.size * dpi_ / 72.0));
    lf.lfWeight = font_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font_.italic ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    // Over the colour key, smoothed edges would leave a fringe of the key
    // colour around every letter: draw them without.
    lf.lfQuality = transparentDisplay_ ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, font_.face.c_str(), LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectW(&lf);
    if (created) hfont_.reset(created);
}

void ClockWindow::Form_Resize() {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    SettingsModel& model = app_.model;
    LayoutRows(model, PixelsToTwips(outer.right - outer.left, dpi_));
    for (int n = 1; n <= kPlaceCount; ++n) {
        RowLabel& name = labels_[static_cast<std::size_t>(NameLabel(n))];
        name.left = model.NameLeft[n];
        name.top = model.NameTop[n];
        RowLabel& time = labels_[static_cast<std::size_t>(TimeLabel(n))];
        time.left = model.TimeLeft[n];
        time.top = model.TimeTop[n];
    }
    MoveToolTips();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ClockWindow::ArmTimer1() {
    if (moment_.Shifted()) {
        // Nothing shown changes while the moment stands still: the timer
        // waits for the return to now, re-armed by every move.
        const auto wait = static_cast<UINT>(std::min<std::int64_t>(moment_.MsUntilIdleReturn(app_.clock) + kTickMarginMs, kIdleReturnMs + kTickMarginMs));
        timer1Period_ = std::max(wait, kShortestTimerMs);
        SetTimer(hwnd_, kTimer1, timer1Period_, nullptr);
        return;
    }
    // The milliseconds first, then the second: should the second turn between
    // the two reads, the timer wakes a second early and re-arms, never late.
    const int millisecond = app_.clock.Millisecond();
    const int seconds = SecondsUntilTickChanges(app_.model, tick_, app_.clock.Now(), app_.clock.UtcNow(), kTickLongestWait);
    const UINT period = TickPeriodFor(seconds, static_cast<unsigned>(millisecond));
    if (period == timer1Period_) return;
    // Re-arming replaces the window's one timer, so ticks never pile up.
    timer1Period_ = period;
    SetTimer(hwnd_, kTimer1, period, nullptr);
}

void ClockWindow::ZonesChanged() {
    RefreshZones(app_, false);
    Timer1_Timer();
}

void ClockWindow::Timer1_Timer() {
    // Windows Update changed a zone's rules: the places follow at this tick.
    if (app_.zonesChanged && app_.zonesChanged()) RefreshZones(app_, false);
    // A minute without a wheel turn or key: a glance later never meets a stale time.
    if (moment_.ReturnIfIdle(app_.clock)) {
        AfterReturnToNow();
        return;
    }
    ShowTick(!moment_.Shifted());
}

void ClockWindow::ShowTick(bool announce) {
    if (moment_.Shifted()) ClockTick(app_.model, MomentClock(app_.clock, moment_.Instant()), tick_);
    else ClockTick(app_.model, app_.clock, tick_);
    for (int n = 1; n <= kPlaceCount; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        RowLabel& time = labels_[static_cast<std::size_t>(TimeLabel(n))];
        const std::string& caption = tick_.timeCaption[i];
        // Compare before widening: the tick runs every second and the
        // caption changes once a minute with the default format.
        if (caption != shownTimes_[i]) {
            shownTimes_[i] = caption;
            time.caption = Widen(caption);
            InvalidateLabel(time);
            if (announce) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, clock_child::TimeLabel(n));
        }
        if (tick_.followsZone[i]) {
            const COLORREF zoneColor = tick_.summer[i] ? summerColor_ : timeColor_;
            if (zoneColor != time.color) {
                time.color = zoneColor;
                InvalidateLabel(time);
                if (announce) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, clock_child::TimeLabel(n));
            }
        }
        RowLabel& name = labels_[static_cast<std::size_t>(NameLabel(n))];
        COLORREF color = ToColorRef(tick_.nameColor[i]);
        if (color != name.color) {
            name.color = color;
            InvalidateLabel(name);
            if (announce) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, clock_child::NameLabel(n));
        }
    }
}

void ClockWindow::InvalidateLabel(const RowLabel& label) {
    ++tickRepaints_;
    RECT r = LabelPixels(label);
    InvalidateRect(hwnd_, &r, FALSE);
}

RECT ClockWindow::LabelPixels(const RowLabel& label) const {
    return TwipsRect(label.left, label.top, label.width, label.height, dpi_);
}

void ClockWindow::SaveWindowSettings() {
    auto error = WriteWindow(app_.model, app_.programFolder);
    app_.windowFileBehind = error.has_value();
    // The end and settings commands save twice, the second time as the
    // window closes: one failure, one message.
    if (error && !saveFailureShown_) {
        saveFailureShown_ = true;
        ShowSaveError(app_, hwnd_, *error);
    }
}

void ClockWindow::Form_Unload() {
    SettingsModel& model = app_.model;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    // The place at the system DPI, the size at the window's own (StoredPlace).
    const int systemDpi = ScreenDpi();
    model.WinTop = Value::Single(static_cast<float>(PixelsToTwips(outer.top, systemDpi)));
    model.WinWidth = Value::Single(static_cast<float>(PixelsToTwips(outer.right - outer.left, dpi_)));
    model.WinHeight = Value::Single(static_cast<float>(PixelsToTwips(outer.bottom - outer.top, dpi_)));
    model.WinLeft = Value::Single(static_cast<float>(PixelsToTwips(outer.left, systemDpi)));
    SaveWindowSettings();
    app_.windows.CloseVr();
}

void ClockWindow::OP1_DblClick() {
    app_.model.FormState = Value::Integer(0);
    SaveWindowSettings();
    Close();
    app_.windows.CloseVr();
}

void ClockWindow::OP2_DblClick() {
    SettingsModel& model = app_.model;
    model.RestartFlag = Value::Integer(1);
    model.FormState = Value::Integer(0);
    model.LayoutSwitch = Value::Integer(model.LayoutSwitch.Equals(0) ? 1 : 0);
    Close();
    // The restart pass of Vr opens the other window before this handler returns.
    app_.windows.LoadVr();
}

void ClockWindow::OP3_DblClick() {
    app_.model.FormState = Value::Integer(0);
    SaveWindowSettings();
    Close();
    app_.windows.OpenHenko();
    app_.windows.CloseVr();
}

void ClockWindow::OnKey(WPARAM key, LPARAM flags) {
    // A held Enter or Space runs the button once: its repeat would reach the
    // window the command opened. Esc too acts once a press.
    if (IsKeyRepeat(flags) && (key == VK_RETURN || key == VK_SPACE || key == VK_ESCAPE)) return;
    switch (key) {
    // The shown moment: Down/Up a notch, PageDown/PageUp a day (both repeat
    // while held), Home and Esc back to now.
    case VK_DOWN:
    case VK_UP:
        MoveMoment(key == VK_DOWN ? 1 : -1, false);
        break;
    case VK_NEXT:
    case VK_PRIOR:
        MoveMoment(key == VK_NEXT ? 1 : -1, true);
        break;
    case VK_HOME:
    case VK_ESCAPE:
        BackToNow();
        break;
    case VK_TAB:
        MoveButtonFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        break;
    case VK_RETURN:
    case VK_SPACE:
        RunButton(focusedButton_);
        break;
    default:
        break;
    }
}

void ClockWindow::MoveButtonFocus(int step) {
    keyboardUsed_ = true;
    if (focusedButton_ == 0) {
        focusedButton_ = step > 0 ? 1 : 3;
    } else {
        focusedButton_ = (focusedButton_ - 1 + step + 3) % 3 + 1;
    }
    InvalidateButtons();
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, focusedButton_);
}

void ClockWindow::RunButton(int button) {
    switch (button) {
    case 1: OP1_DblClick(); break;
    case 2: OP2_DblClick(); break;
    case 3: OP3_DblClick(); break;
    default: break;
    }
}

void ClockWindow::InvalidateButtons() {
    RECT buttons = TwipsRect(0, kButtons[0].top, kButtonSize, kButtons[2].top + kButtonSize, dpi_);
    InflateRect(&buttons, 1, 1);
    InvalidateRect(hwnd_, &buttons, FALSE);
}

void ClockWindow::MouseDown(int button) {
    if (button == 1) {
        // The system's move loop, as if the press were on a title bar; it
        // returns when the button is released. Declared narrow on purpose:
        // the position comes from the press message itself.
        ReleaseCapture();
        SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    if (!hwnd_) return;  // closed while the move loop ran
    ShowWindow(hwnd_, SW_HIDE);
    ShowWindow(hwnd_, SW_SHOW);
}

int ClockWindow::ButtonAt(POINT client) const {
    for (int b = 0; b < 3; ++b) {
        RECT r = TwipsRect(0, kButtons[b].top, kButtonSize, kButtonSize, dpi_);
        if (PtInRect(&r, client)) return b + 1;
    }
    return 0;
}

void ClockWindow::OnButtonPress(int button, LPARAM lp) {
    // Every press brings the places back to now, whatever it then does.
    BackToNow();
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    // The buttons answer double-clicks only; a press on them does nothing.
    if (ButtonAt(pt) != 0) return;
    MouseDown(button);
}

void ClockWindow::CreateToolTips() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    // Owned by the clock window: it goes with it and is no window of its own.
    toolTips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                    ModuleInstance(), nullptr));
    if (toolTips_) {
        // A tool over each child: a button's name, a place's hover text.
        SendMessageW(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kPlaceTipWidth, dpi_));
        for (long child = 1; child <= clock_child::kCount; ++child) {
            TTTOOLINFOW info = ChildTool(child);
            info.uFlags = TTF_SUBCLASS;
            info.lpszText = clock_child::IsButton(child) ? const_cast<wchar_t*>(kButtons[child - 1].tip) : LPSTR_TEXTCALLBACKW;
            SendMessageW(toolTips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    CreateShiftTip();
}

TTTOOLINFOW ClockWindow::ChildTool(long child) const {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = hwnd_;
    info.uId = static_cast<UINT_PTR>(clock_child::IsButton(child) ? child : kPlaceTipBase + child);
    info.rect = ChildPixels(child);
    return info;
}

void ClockWindow::MoveToolTips() {
    if (!toolTips_) return;
    // After a change of DPI the hover texts' width follows the labels'.
    SendMessageW(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kPlaceTipWidth, dpi_));
    for (long child = 1; child <= clock_child::kCount; ++child) {
        TTTOOLINFOW info = ChildTool(child);
        SendMessageW(toolTips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

LRESULT ClockWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd_);
        PaintBuffered(paint.dc(), paint.rect());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(hwnd_, &client);
        Paint(reinterpret_cast<HDC>(wp), client);
        return 0;
    }
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_GETFONT:
        // The labels' font, as a window with real label controls would report it.
        return reinterpret_cast<LRESULT>(hfont_.get());
    case WM_GETMINMAXINFO:
        // No minimum size of our own: the frame alone limits it.
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = POINT{1, 1};
        return 0;
    case WM_TIMER:
        if (wp == kTimer1) {
            Timer1_Timer();
            ArmTimer1();
        } else if (wp == kShiftTipTimer) {
            HideShiftTip();
        }
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(wp);
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_TIMECHANGE:
        // The user set the computer's clock: show it now, not at the old second.
        Timer1_Timer();
        ArmTimer1();
        return 0;
    case WM_POWERBROADCAST:
        // Back from sleep: the timer was set before the computer slept.
        if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) {
            Timer1_Timer();
            ArmTimer1();
        }
        return TRUE;
    case WM_LBUTTONDOWN:
        OnButtonPress(1, lp);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        OnButtonPress(2, lp);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        OnButtonPress(4, lp);
        return 0;
    case WM_LBUTTONDBLCLK: {
        BackToNow();
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        switch (ButtonAt(pt)) {
        case 1: OP1_DblClick(); break;
        case 2: OP2_DblClick(); break;
        case 3: OP3_DblClick(); break;
        default: MouseDown(1); break;  // a quick second press on the surface drags too
        }
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(wp, lp);
        return 0;
    case kRunButton:
        RunButton(static_cast<int>(wp));
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_DISPLAYCHANGE:
        // Monitors came or went, or changed resolution: once the system has
        // rearranged the windows, the buttons go back onto a work area.
        PostMessageW(hwnd_, kKeepReachable, 0, 0);
        return 0;
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETWORKAREA) PostMessageW(hwnd_, kKeepReachable, 0, 0);
        return DefWindowProcW(hwnd_, msg, wp, lp);
    case kKeepReachable:
        KeepButtonsOnWorkArea();
        return 0;
    case WM_GETOBJECT:
        return AnswerGetObject(wp, lp);
    case WM_SETFOCUS:
        InvalidateButtons();  // the focus rectangle comes back with the focus
        // Back in the window, a screen reader hears which button has the focus, as after Tab.
        if (focusedButton_ != 0) NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, focusedButton_);
        return 0;
    case WM_KILLFOCUS:
        InvalidateButtons();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        // Closed by someone else (the system): the control goes first.
        vitrel1_.reset();
        DetachAccessible();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends without a WM_CLOSE: store the place all the same.
        if (wp && !unloaded_) {
            unloaded_ = true;
            Form_Unload();
        }
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void ClockWindow::OnDestroyed() {
    toolTips_.release();  // destroyed with its owner
    shiftTip_.release();
    // The application frees this object once the handler stack has unwound.
    application_.WindowGone();
}

}  // namespace qv::win
