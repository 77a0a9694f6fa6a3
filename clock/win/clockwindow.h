// The clock windows QV1 (thin sizing frame) and QV2 (no border): ten places
// as windowless labels, three circular buttons, the clock tick, the column
// layout and the mouse commands.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "clock_tick.h"
#include "shown_moment.h"
#include "app_context.h"
#include "application.h"
#include "clock_accessible.h"
#include "clock_labels.h"
#include "com_ptr.h"
#include "handles.h"
#include "picture.h"
#include "transparency_control.h"
#include "platform.h"
#include "window.h"

namespace qv::win {

enum class ClockStyle { QV1, QV2 };

class ClockWindow final : public ProgramWindow, public WindowBase<ClockWindow> {
public:
    // The system's zone data changed: the places' rules are read again and
    // the times shown at once.
    void ZonesChanged();
    // Timer1 runs the tick; its period comes from the core (TickPeriodFor).
    static constexpr UINT_PTR kTimer1 = 1;
    // Posted to run a button's command (wParam 1..3) for a screen reader.
    static constexpr UINT kRunButton = WM_APP + 1;
    // Hides the shown moment's tool tip a while after the last move.
    static constexpr UINT_PTR kShiftTipTimer = 2;
    static constexpr UINT kShiftTipMs = 4000;
    // Posted when monitors or work areas changed: the buttons go back onto one.
    static constexpr UINT kKeepReachable = WM_APP + 2;
    // A tool tip's id over a label: the label's child id plus this (a button's is its own).
    static constexpr UINT_PTR kPlaceTipBase = 100;
    // The widest hover text line, in twips, before it wraps.
    static constexpr double kPlaceTipWidth = 6000;

    ClockWindow(AppContext& app, Application& application, ProcessServices& process, ClockStyle style);
    ~ClockWindow() override;

    static const wchar_t* ClassName(ClockStyle style) { return style == ClockStyle::QV1 ? L"QV1" : L"QV2"; }

    // Creates the window (hidden) and runs Form_Load, which shows it.
    void Load();
    // Closes the window: Form_Unload, then the window goes.
    void Close();
    bool IsOpen() const override { return hwnd_ != nullptr; }
    ClockStyle style() const { return style_; }

    // What the window shows, for the paint routine and for tests.
    const RowLabel& Label(int index) const { return labels_[static_cast<std::size_t>(index)]; }
    static int NameLabel(int n) { return n - 1; }         // L1 .. L10
    static int TimeLabel(int n) { return 9 + n; }         // T1 .. T10
    const LabelFont& Font() const { return font_; }
    bool HasPicture() const { return static_cast<bool>(picture_); }
    // Vitrel1, the transparency control; none when it could not be created.
    const TransparencyControl* Vitrel1() const { return vitrel1_.get(); }
    // Transparent display: the background in the control's key colour.
    bool TransparentDisplay() const { return transparentDisplay_; }
    // Label repaints requested by the tick (a caption or colour that really changed).
    long TickRepaints() const { return tickRepaints_; }
    // Milliseconds Timer1 sleeps between ticks now.
    UINT Timer1Period() const { return timer1Period_; }
    const FilePath& HelpFile() const { return helpFile_; }
    // The DPI the window draws at: its monitor's.
    int Dpi() const { return dpi_; }
    // The button (1..3) that has the keyboard focus, 0 for none.
    int FocusedButton() const { return focusedButton_; }
    // The moment the places show: now, or where the wheel or keys moved it.
    const ShownMoment& Moment() const { return moment_; }
    // The shown moment in words ("+1日 3:30 · 12/10(木) 13:30"), or that it is now.
    std::wstring MomentText() const;
    // What a place's labels do not show (its zone, its difference, its next change).
    std::wstring PlaceHelp(int place) const;
    // The shown moment's tool tip window, and whether it shows.
    HWND ShiftTip() const { return shiftTip_.get(); }

    // The window's children as screen readers know them (clock_accessible.h
    // gives their ids). A child's box in client pixels; the child at a client
    // point (0 for the window itself); a label's text and colour state.
    RECT ChildPixels(long child) const;
    long ChildAt(POINT client) const;
    const RowLabel* ChildLabel(long child) const;
    std::wstring ChildDescription(long child) const;
    // Runs a button's command once the caller has returned: it may close the window.
    void PostButtonCommand(int button) const;

    // Draws the whole client area: background, picture, circles, labels.
    void Paint(HDC dc, const RECT& area) const;
    // Paint through an off-screen bitmap, so a tick never flickers.
    void PaintBuffered(HDC dc, const RECT& area) const;

private:
    friend class WindowBase<ClockWindow>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnDestroyed();

    void Form_Load();
    void Form_Resize();
    void Timer1_Timer();
    // The tick at the shown moment and the labels it changed; screen readers
    // hear of each label only when `announce` (at now, tick by tick).
    void ShowTick(bool announce);
    // Moves the shown moment (notches or days; a wheel turn) and shows it.
    void MoveMoment(int steps, bool days);
    void OnWheel(WPARAM wp);
    void ShowMoved(bool moved);
    // Any press, Home, Esc: the places show now again.
    void BackToNow();
    void AfterReturnToNow();
    // The marker that says the times are not now, beside each time label.
    void PaintMarkers(HDC dc) const;
    int MarkerDirection() const;
    void InvalidateMarkers();
    void UpdateShiftTip();
    void HideShiftTip();
    void CreateShiftTip();
    // The tool tips' tool over a child (clock_accessible.h ids), at its box now.
    TTTOOLINFOW ChildTool(long child) const;
    // Every tool at its child's box and the hover texts' width, at dpi_.
    void MoveToolTips();
    LRESULT OnNotify(NMHDR& header);
    // Sets the timer for just after the next change, in phase with the local clock's seconds.
    void ArmTimer1();
    void Form_Unload();
    void OP1_DblClick();
    void OP2_DblClick();
    void OP3_DblClick();
    // Tab and Shift+Tab move the focus among the buttons; Enter and Space
    // run the focused one as its double-click does.
    void OnKey(WPARAM key, LPARAM flags);
    void MoveButtonFocus(int step);
    // A button's double-click command (1..3); the window may be gone after.
    void RunButton(int button);
    void InvalidateButtons();
    // WM_GETOBJECT: the client area's IAccessible for screen readers.
    LRESULT AnswerGetObject(WPARAM wp, LPARAM lp);
    void DetachAccessible();
    // Form_MouseDown, L1_MouseDown .. L10_MouseDown, T1_MouseDown .. T10_MouseDown.
    void MouseDown(int button);

    // Which button area (1..3) holds a client point, 0 for none.
    int ButtonAt(POINT client) const;
    // The three buttons' strip in screen coordinates.
    RECT ButtonsOnScreen() const;
    // The window's outer rectangle from the stored place and size; sets dpi_
    // to the DPI of the monitor there.
    RECT StoredPlace();
    // Moves the window the least distance that puts its buttons wholly on a work area.
    void KeepButtonsOnWorkArea();
    // WM_DPICHANGED: draws at the new DPI and takes the system's rectangle.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnButtonPress(int button, LPARAM lp);
    void CreateToolTips();
    void ApplyFontFace();
    void SaveWindowSettings();
    void InvalidateLabel(const RowLabel& label);
    RECT LabelPixels(const RowLabel& label) const;

    AppContext& app_;
    Application& application_;
    ProcessServices& process_;
    ClockStyle style_;
    int dpi_ = 96;  // the DPI of the monitor the window is on
    bool unloaded_ = false;
    bool saveFailureShown_ = false;
    FilePath helpFile_;
    std::array<RowLabel, 20> labels_;
    LabelFont font_;
    UniqueFont hfont_;
    Picture picture_;
    RowLabels tick_;  // the tick's view of the rows (UTF-8)
    std::array<std::string, kPlaceCount> shownTimes_;  // time captions on screen, as the tick wrote them
    long tickRepaints_ = 0;
    UINT timer1Period_ = 0;  // the period Timer1 runs with now; 0 before it is armed
    UniqueWindow toolTips_;
    std::unique_ptr<TransparencyControl> vitrel1_;
    bool transparentDisplay_ = false;
    // The time labels' two colours, for the places whose zone decides between them.
    COLORREF summerColor_ = 0;
    COLORREF timeColor_ = 0;
    ComPtr<ClockAccessible> accessible_;  // made at the first screen reader's request
    int focusedButton_ = 0;     // 1..3 when a button has the keyboard focus
    bool keyboardUsed_ = false; // the focus rectangle shows once the keyboard was used
    ShownMoment moment_;        // never stored: a new window shows now
    int markerShown_ = 0;       // the markers painted: 1 later, -1 earlier, 0 none
    UniqueWindow shiftTip_;     // the shown moment in words, beside the window
    std::wstring shiftTipText_;
    std::string shiftScratch_;
    std::wstring placeTipText_; // the hover text handed to the tool tip
};

}  // namespace qv::win
