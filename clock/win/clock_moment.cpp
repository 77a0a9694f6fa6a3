// The clock window at any moment: the wheel and keys move the shown moment,
// a marker beside each time label and a tool tip say it is not now, and
// every press, Home, Esc or a minute without input bring back now. The
// places' hover texts are answered here too.
#include "clockwindow.h"

#include <commctrl.h>

#include "text.h"
#include "twips.h"

namespace qv::win {

namespace {

// The marker: a small triangle left of a time label, in the gap between the
// buttons' strip (or the column before) and the label, pointing the way the
// moment moved. Twips, relative to the label's left and top.
constexpr double kMarkerLeft = -95;
constexpr double kMarkerWidth = 80;
constexpr double kMarkerInset = 15;
// Vivid and far from every colour key and button face.
constexpr COLORREF kMarkerColor = RGB(230, 80, 0);

RECT MarkerPixels(const RowLabel& label, int dpi) {
    return TwipsRect(label.left + kMarkerLeft, label.top + kMarkerInset, kMarkerWidth, label.height - 2 * kMarkerInset, dpi);
}

}  // namespace

void ClockWindow::OnWheel(WPARAM wp) {
    const bool days = (GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0;
    ShowMoved(moment_.Wheel(GET_WHEEL_DELTA_WPARAM(wp), days, app_.clock));
}

void ClockWindow::MoveMoment(int steps, bool days) { ShowMoved(moment_.Step(steps, days, app_.clock)); }

void ClockWindow::ShowMoved(bool moved) {
    if (moved) {
        ShowTick(false);
        InvalidateMarkers();
        UpdateShiftTip();
        // One event for the whole move, in the tool tip's words; the labels'
        // own changes were held back.
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    }
    ArmTimer1();  // the minute without input counts from here
}

void ClockWindow::BackToNow() {
    if (moment_.BackToNow()) AfterReturnToNow();
}

void ClockWindow::AfterReturnToNow() {
    ShowTick(false);
    InvalidateMarkers();
    HideShiftTip();
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    ArmTimer1();
}

std::wstring ClockWindow::MomentText() const {
    if (!moment_.Shifted()) return Widen(kBackToNowText);
    std::string text;
    DescribeShift(text, moment_.Instant(), app_.clock);
    return Widen(text);
}

std::wstring ClockWindow::PlaceHelp(int place) const {
    return Widen(PlaceHoverText(app_.model, place, app_.zones, app_.clock));
}

int ClockWindow::MarkerDirection() const {
    if (!moment_.Shifted()) return 0;
    return moment_.Instant() >= RealNow(app_.clock) ? 1 : -1;
}

void ClockWindow::InvalidateMarkers() {
    const int direction = MarkerDirection();
    if (direction == markerShown_) return;
    markerShown_ = direction;
    for (int n = 1; n <= kPlaceCount; ++n) {
        RECT r = MarkerPixels(labels_[static_cast<std::size_t>(TimeLabel(n))], dpi_);
        InvalidateRect(hwnd_, &r, FALSE);
    }
}

void ClockWindow::PaintMarkers(HDC dc) const {
    if (markerShown_ == 0) return;
    UniqueBrush fill(CreateSolidBrush(kMarkerColor));
    UniquePen edge(CreatePen(PS_SOLID, 1, kMarkerColor));
    SelectScope brush(dc, fill.get());
    SelectScope pen(dc, edge.get());
    for (int n = 1; n <= kPlaceCount; ++n) {
        const RowLabel& time = labels_[static_cast<std::size_t>(TimeLabel(n))];
        if (time.caption.empty()) continue;
        const RECT r = MarkerPixels(time, dpi_);
        const LONG middle = (r.top + r.bottom) / 2;
        const LONG tip = markerShown_ > 0 ? r.right - 1 : r.left;
        const LONG base = markerShown_ > 0 ? r.left : r.right - 1;
        const POINT points[3] = {{base, r.top}, {tip, middle}, {base, r.bottom - 1}};
        Polygon(dc, points, 3);
    }
}

void ClockWindow::CreateShiftTip() {
    shiftTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                    ModuleInstance(), nullptr));
    if (!shiftTip_) return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    // Transparent to the mouse: a wheel turned over it reaches the clock.
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    info.hwnd = hwnd_;
    info.uId = 1;
    info.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(shiftTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void ClockWindow::UpdateShiftTip() {
    if (!shiftTip_) return;
    shiftTipText_ = MomentText();
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = hwnd_;
    info.uId = 1;
    info.lpszText = shiftTipText_.data();
    SendMessageW(shiftTip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    // Just below the window, where it hides no place.
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    SendMessageW(shiftTip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(outer.left, outer.bottom + 2));
    SendMessageW(shiftTip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    // While the wheel turns; the marker stays.
    SetTimer(hwnd_, kShiftTipTimer, kShiftTipMs, nullptr);
}

void ClockWindow::HideShiftTip() {
    KillTimer(hwnd_, kShiftTipTimer);
    if (shiftTip_) SendMessageW(shiftTip_.get(), TTM_TRACKACTIVATE, FALSE, 0);
}

LRESULT ClockWindow::OnNotify(NMHDR& header) {
    if (header.hwndFrom != toolTips_.get() || header.code != TTN_GETDISPINFOW || header.idFrom <= kPlaceTipBase) return 0;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const auto child = static_cast<long>(header.idFrom - kPlaceTipBase);
    const RowLabel* label = ChildLabel(child);
    // A row without a place shows no tip: its labels are blank.
    placeTipText_ = label && !label->caption.empty() ? PlaceHelp(static_cast<int>((child - 2) / 2)) : std::wstring();
    info.lpszText = placeTipText_.data();
    return 0;
}

}  // namespace qv::win
