// The settings windows' common machinery: class registration, twips layout,
// centring, self-ownership, the dialog keys of modeless windows and the focus
// they give back on activation.
#include "form.h"

#include <functional>

#include "dialogs.h"
#include "dpi.h"
#include "input_mode.h"
#include "monitors.h"
#include "twips.h"
#include "window.h"

namespace qv::win {

namespace {

constexpr wchar_t kFormProperty[] = L"QV.Form";

bool IsComboBox(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"ComboBox") == 0;
}

// An input-method composition is committed or dropped with Enter and Esc,
// and an open drop-down list closes with them: those keys are theirs. The
// composition comes first, in a drop-down box's edit field as anywhere.
bool KeyTakenByControl(HWND focus, const std::function<bool(HWND)>& composing) {
    if (!focus) return false;
    if (composing ? composing(focus) : InputComposing(focus)) return true;
    for (HWND control : {focus, GetParent(focus)}) {
        if (IsComboBox(control)) return SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
    return false;
}

// Enter, Esc and Space act once per press: held down, their repeat would
// press a button in the window the first press opened. In a text box a held
// Space still types spaces.
bool IgnoredRepeat(const MSG& msg, HWND focus) {
    if (msg.message != WM_KEYDOWN || !IsKeyRepeat(msg.lParam)) return false;
    switch (msg.wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
        return true;
    case VK_SPACE:
        return !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
    default:
        return false;
    }
}

}  // namespace

UniqueFont MakeFormFont(int dpi, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

Form::Form(AppContext& app) : app_(app) {}

Form::~Form() = default;

std::wstring Form::HelpFile() const {
    return JoinPath(app_.programFolder, L"Qv_help.hlp");
}

HWND Form::Open(std::unique_ptr<Form> form, const FormStyle& style) {
    // The program's icon, which its hidden owner carries, in the caption and
    // the Alt+Tab entry.
    const AppContext& app = form->app_;
    HICON icon = app.owner ? reinterpret_cast<HICON>(GetClassLongPtrW(app.owner, GCLP_HICON)) : nullptr;
    HINSTANCE instance =
        RegisterWindowClass({style.className, Proc, 0, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    form->clientWidth_ = style.clientWidth;
    form->clientHeight_ = style.clientHeight;
    // Laid out at the DPI of the monitor it opens on: centred on the primary
    // screen, where the system DPI gives its first size.
    auto outerAt = [&](int dpi) {
        const RECT client{0, 0, TwipsToPixels(style.clientWidth, dpi), TwipsToPixels(style.clientHeight, dpi)};
        RECT outer = OuterForClient(client, style.style, style.exStyle, dpi);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        return RECT{x, y, x + width, y + height};
    };
    form->dpi_ = DpiAt(outerAt(ScreenDpi()), Monitors(form->app_));
    form->font_ = MakeFormFont(form->dpi_);
    const RECT outer = outerAt(form->dpi_);
    const int x = outer.left, y = outer.top, width = outer.right - outer.left, height = outer.bottom - outer.top;

    HWND hwnd = CreateWindowExW(style.exStyle, style.className, style.title.c_str(), style.style & ~WS_VISIBLE, x, y,
                                width, height, app.owner, nullptr, instance, form.get());
    if (!hwnd) return nullptr;
    Form* self = form.release();
    self->ownedByWindow_ = true;
    self->FitClientArea();
    self->BuildControls();
    self->Load();
    self->lastFocus_ = self->FirstFocus();
    ShowWindow(hwnd, SW_SHOW);
    // Showing activates the window, which focuses the first control; a
    // window shown while another program is in front is not activated.
    self->RestoreFocus();
    return hwnd;
}

HWND Form::AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                      const TwipsBox& box) {
    RECT r = PixelRect(box);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    HWND child = CreateWindowExW(exStyle, cls, text.c_str(), style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        placed_.push_back({child, box});
    }
    return child;
}

void Form::FitClientArea() {
    RECT client{}, outer{};
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &outer);
    const int dx = TwipsToPixels(clientWidth_, dpi_) - client.right;
    const int dy = TwipsToPixels(clientHeight_, dpi_) - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ApplyDpi(int dpi) {
    dpi_ = dpi;
    // The controls take the new font before the old one goes.
    UniqueFont font = MakeFormFont(dpi_);
    for (const PlacedControl& placed : placed_) {
        const RECT r = PixelRect(placed.box);
        SetWindowPos(placed.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    font_ = std::move(font);
    for (const PlacedControl& placed : placed_) SizeToText(placed);
    Relaid();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

PlacedControl* Form::Placed(HWND control) {
    for (PlacedControl& placed : placed_) {
        if (placed.control == control) return &placed;
    }
    return nullptr;
}

RECT Form::PixelRect(const TwipsBox& box) const {
    return TwipsRect(box.left, box.top, box.width, box.height, dpi_);
}

SIZE Form::TextSize(int id) const {
    const std::wstring text = ItemText(id);
    WindowDc dc(Item(id));
    SelectScope selected(dc.get(), font());
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

void Form::WidenToText(int id) {
    if (PlacedControl* placed = Placed(Item(id))) {
        placed->text = PlacedControl::Text::Wider;
        SizeToText(*placed);
    }
}

void Form::FitToText(int id) {
    if (PlacedControl* placed = Placed(Item(id))) {
        placed->text = PlacedControl::Text::Fit;
        SizeToText(*placed);
    }
}

void Form::SizeToText(const PlacedControl& placed) {
    if (placed.text == PlacedControl::Text::Box) return;
    const SIZE extent = TextSize(GetDlgCtrlID(placed.control));
    RECT box{};
    GetClientRect(placed.control, &box);
    if (placed.text == PlacedControl::Text::Fit) {
        SetWindowPos(placed.control, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (extent.cx > box.right) {
        SetWindowPos(placed.control, nullptr, 0, 0, extent.cx, box.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::wstring Form::ItemText(int id) const {
    HWND item = Item(id);
    int n = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(item, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return text;
}

void Form::SetItemText(int id, const std::wstring& text) {
    SetWindowTextW(Item(id), text.c_str());
}

bool Form::IsChecked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(int id, bool checked) {
    SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::ShowHelp() {
    app_.choosers.ShowHelp(hwnd_, HelpFile());
}

void Form::Close() {
    DestroyWindow(hwnd_);
}

void Form::FocusNext(HWND from) {
    // The focus may be inside a control (the edit box of a drop-down box):
    // the keyboard order is that of the window's own children.
    while (from && GetParent(from) != hwnd_) from = GetParent(from);
    HWND next = GetNextDlgTabItem(hwnd_, from, FALSE);
    if (!next) return;
    SetFocus(next);
    // As Tab does: the text of a box one arrives at is selected, so typing replaces it.
    if (IsTextBox(next)) SendMessageW(next, EM_SETSEL, 0, -1);
}

bool Form::IsPushButton(HWND control) {
    return control && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool Form::IsTextBox(HWND control) {
    return control && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
}

void Form::OnEnter(HWND) {}

void Form::OnEscape(HWND) {}

void Form::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void Form::RestoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsChild(hwnd_, target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = FirstFocus();
    }
    if (target && GetFocus() != target) SetFocus(target);
}

bool Form::TranslateKey(MSG& msg) {
    if (IgnoredRepeat(msg, GetFocus()) && !KeyTakenByControl(GetFocus(), app_.composing)) return true;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_F1:
            ShowHelp();
            return true;
        case VK_RETURN:
        case VK_ESCAPE: {
            HWND focus = GetFocus();
            if (KeyTakenByControl(focus, app_.composing)) return false;
            if (msg.wParam == VK_RETURN) {
                OnEnter(focus);
            } else {
                OnEscape(focus);
            }
            return true;  // the window may be gone
        }
        default:
            break;
        }
    }
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

bool HandleDialogKey(MSG& msg) {
    if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    auto* form = static_cast<Form*>(GetPropW(GetAncestor(msg.hwnd, GA_ROOT), kFormProperty));
    return form && form->TranslateKey(msg);
}

void Form::OnCommand(int, int, HWND) {}

bool Form::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void Form::Paint(HDC) {}

void Form::Relaid() {}

void Form::OnDestroyed() {
    std::unique_ptr<Form> owner(ownedByWindow_ ? this : nullptr);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The message loop finds the form of a window through this property.
    if (msg == WM_NCCREATE) SetPropW(hwnd_, kFormProperty, this);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd_, msg, wp, lp);
        RemovePropW(hwnd_, kFormProperty);
        return result;
    }
    LRESULT result = 0;
    if (OnMessage(msg, wp, lp, result)) return result;
    if (PaintMessage(msg, wp)) return 0;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_HELP:
        ShowHelp();
        return TRUE;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the controls at their twips
        // there, in the rectangle the system suggests, the client area made exact.
        ApplyDpi(LOWORD(wp));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitClientArea();
        return 0;
    }
    // As the dialog manager does: the control the user was in keeps the
    // focus across a chooser, a message, the help or another program.
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            RememberFocus();
        } else {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace qv::win
