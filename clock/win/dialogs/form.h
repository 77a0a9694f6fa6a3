// The base of the three settings windows: a top-level window owned by the
// program's hidden window (no taskbar button, an Alt+Tab entry), whose client
// size and child controls are given in twips, centred on the screen and laid
// out at the DPI of the monitor it is on (again when that changes),
// owning itself from creation to WM_NCDESTROY, with dialog keys, F1 help and
// the focus kept on the control the user was in.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app_context.h"
#include "handles.h"
#include "window.h"

namespace qv::win {

struct FormStyle {
    const wchar_t* className;
    std::wstring title;
    DWORD style;
    DWORD exStyle;
    double clientWidth;   // twips
    double clientHeight;  // twips
};

struct TwipsBox {
    double left, top, width, height;
};

// A control with the twips box it was made at, to lay it out again at another DPI.
struct PlacedControl {
    enum class Text { Box, Wider, Fit };
    HWND control;
    TwipsBox box;
    Text text = Text::Box;  // WidenToText, FitToText
};

class Form : public WindowBase<Form> {
public:
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The help file of the program: its folder followed by "\Qv_help.hlp".
    std::wstring HelpFile() const;

protected:
    explicit Form(AppContext& app);

    // Creates the window hidden, builds its controls (BuildControls), runs
    // Load, then shows it. The window owns the form until it is destroyed.
    // Returns the window, or null when it could not be created.
    static HWND Open(std::unique_ptr<Form> form, const FormStyle& style);

    virtual void BuildControls() = 0;
    virtual void Load() = 0;
    // The control that has the focus when the window opens.
    virtual HWND FirstFocus() = 0;
    // Enter and Esc, once no open drop-down list or input-method composition
    // takes them; `focus` is the focused control. The default does nothing.
    // Either may close the window: touch no member after that.
    virtual void OnEnter(HWND focus);
    virtual void OnEscape(HWND focus);
    virtual void OnCommand(int id, int code, HWND control);
    // A message the form answers itself; false leaves it to the default.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void Paint(HDC dc);
    // After the controls were laid out again at a new DPI (dpi_): what the
    // form sized in pixels itself. The default does nothing.
    virtual void Relaid();

    // A child control at a twips box of the client area, in the form's font.
    HWND AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                    const TwipsBox& box);
    RECT PixelRect(const TwipsBox& box) const;
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::wstring ItemText(int id) const;
    // The size of a control's text in the form's font.
    SIZE TextSize(int id) const;
    // Widens a label whose text is wider than its box, so no character is cut off.
    void WidenToText(int id);
    // Sizes a label to its text, wherever the box ends.
    void FitToText(int id);
    void SetItemText(int id, const std::wstring& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    HFONT font() const { return font_.get(); }

    // F1 and the help button: the program's help file; failures are ignored.
    void ShowHelp();
    // Destroys the window, and with it this form: touch no member afterwards.
    void Close();
    // Moves the focus to the next control in the keyboard order.
    void FocusNext(HWND from);

    // What a focused control is, as it tells the dialog keys.
    static bool IsPushButton(HWND control);
    static bool IsTextBox(HWND control);

    AppContext& app_;
    int dpi_ = 96;

private:
    friend class WindowBase<Form>;
    friend bool HandleDialogKey(MSG& msg);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The keys of this window's controls: F1, Enter, Esc, then the dialog
    // manager's Tab and arrows. True when the message was handled.
    bool TranslateKey(MSG& msg);
    void RememberFocus();
    void RestoreFocus();
    // After WM_NCDESTROY: the window owned the form since Open; it goes with the window.
    void OnDestroyed();
    // Lays the window out at `dpi`: its font, every control at its twips box.
    void ApplyDpi(int dpi);
    // Sizes the window so that its client area is the form's twips at dpi_,
    // whatever frame the system gives it.
    void FitClientArea();
    void SizeToText(const PlacedControl& placed);
    PlacedControl* Placed(HWND control);

    UniqueFont font_;
    double clientWidth_ = 0, clientHeight_ = 0;  // twips
    // Every control with the twips box it was made at and how it follows its text.
    std::vector<PlacedControl> placed_;
    HWND lastFocus_ = nullptr;  // the control to give the focus back to on activation
    bool ownedByWindow_ = false;
};

// "ＭＳ Ｐゴシック" 9 pt, the face of the settings windows.
UniqueFont MakeFormFont(int dpi, bool underline = false);

}  // namespace qv::win
