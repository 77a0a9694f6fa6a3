// The clock window's IAccessible, and what the window tells it about its
// children: boxes, hit tests, texts and colour states.
#include "clock_accessible.h"

#include "clockwindow.h"
#include "text.h"
#include "twips.h"

namespace qv::win {

namespace {

constexpr wchar_t kWindowName[] = L"QV";
constexpr wchar_t kPress[] = L"押す";
constexpr wchar_t kInBusinessHours[] = L"就業時間中";
constexpr wchar_t kSummerTime[] = L"サマータイム";

using clock_child::IsButton;

// The place (1..10) of a label child and whether it is the name label.
int PlaceOf(long child, bool* isName = nullptr) {
    if (child <= clock_child::kLastButton || child > clock_child::kCount) return 0;
    if (isName) *isName = child % 2 == 0;
    return static_cast<int>((child - 2) / 2);
}

// A child given as a VARIANT: its id, or -1 when there is no such child.
long ChildId(const VARIANT& child) {
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > clock_child::kCount) return -1;
    return child.lVal;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (text.empty()) return S_FALSE;
    return BstrCopy(text, out);
}

void SetChild(VARIANT* out, long child) {
    out->vt = VT_I4;
    out->lVal = child;
}

}  // namespace

// The children as the window knows them.

RECT ClockWindow::ChildPixels(long child) const {
    RECT r{};
    if (child == CHILDID_SELF) {
        GetClientRect(hwnd_, &r);
    } else if (IsButton(child)) {
        r = TwipsRect(0, kButtons[child - 1].top, kButtonSize, kButtonSize, dpi_);
    } else if (const RowLabel* label = ChildLabel(child)) {
        r = LabelPixels(*label);
    }
    return r;
}

long ClockWindow::ChildAt(POINT client) const {
    if (int button = ButtonAt(client)) return button;
    for (long child = clock_child::kLastButton + 1; child <= clock_child::kCount; ++child) {
        const RowLabel* label = ChildLabel(child);
        RECT r = ChildPixels(child);
        if (label && !label->caption.empty() && PtInRect(&r, client)) return child;
    }
    return CHILDID_SELF;
}

const RowLabel* ClockWindow::ChildLabel(long child) const {
    bool isName = false;
    const int place = PlaceOf(child, &isName);
    if (place == 0) return nullptr;
    return &labels_[static_cast<std::size_t>(isName ? NameLabel(place) : TimeLabel(place))];
}

std::wstring ClockWindow::ChildDescription(long child) const {
    bool isName = false;
    const int place = PlaceOf(child, &isName);
    if (place == 0 || ChildLabel(child)->caption.empty()) return {};
    const SettingsModel& model = app_.model;
    if (isName) {
        // The colour tells: a name in the work colour is inside its business
        // hours, unless the two colours are one and the same.
        const COLORREF work = ToColorRef(ColorOr(model.WorkColor, defaults::kWorkColor));
        const COLORREF plain = ToColorRef(ColorOr(model.NameColor, defaults::kNameColor));
        return work != plain && ChildLabel(child)->color == work ? kInBusinessHours : L"";
    }
    // A place that follows a zone keeps summer time as its zone does now.
    const auto row = static_cast<std::size_t>(place - 1);
    const bool summer = tick_.followsZone[row] ? tick_.summer[row] : model.SummerTime[place].Equals(1);
    return summer ? kSummerTime : L"";
}

void ClockWindow::PostButtonCommand(int button) const {
    PostMessageW(hwnd_, kRunButton, static_cast<WPARAM>(button), 0);
}

LRESULT ClockWindow::AnswerGetObject(WPARAM wp, LPARAM lp) {
    if (static_cast<LONG>(lp) != OBJID_CLIENT) return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
    if (!accessible_) {
        ComPtr<IAccessible> created;
        if (FAILED(CreateComObject<ClockAccessible>(__uuidof(IAccessible), created.PutVoid(), *this))) return 0;
        accessible_ = ComPtr<ClockAccessible>(static_cast<ClockAccessible*>(created.Get()));
    }
    return LresultFromObject(__uuidof(IAccessible), wp, accessible_.Get());
}

void ClockWindow::DetachAccessible() {
    if (accessible_) accessible_->Detach();
    accessible_.Reset();
}

// The IAccessible.

const InterfaceEntry<ClockAccessible> ClockAccessible::kInterfaces[] = {
    {&IID_IUnknown, &As<ClockAccessible, IAccessible>},
    {&IID_IDispatch, &As<ClockAccessible, IAccessible>},
    {&__uuidof(IAccessible), &As<ClockAccessible, IAccessible>},
    {},
};

STDMETHODIMP ClockAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ClockAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(clock_->hwnd(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
}

STDMETHODIMP ClockAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = clock_child::kCount;
    return clock_ ? S_OK : RPC_E_DISCONNECTED;
}

STDMETHODIMP ClockAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    // The children are simple elements of this object, not objects of their own.
    return ChildId(child) > CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

STDMETHODIMP ClockAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    if (id == CHILDID_SELF) return ReturnText(kWindowName, name);
    if (IsButton(id)) return ReturnText(kButtons[id - 1].tip, name);
    return ReturnText(clock_->ChildLabel(id)->caption, name);
}

// The clock's value is the moment its places show, in the tool tip's words:
// a move of it is announced as one change of this value.
STDMETHODIMP ClockAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    if (id != CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    return ReturnText(clock_->MomentText(), value);
}

STDMETHODIMP ClockAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (!description) return E_POINTER;
    *description = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    return ReturnText(clock_->ChildDescription(id), description);
}

STDMETHODIMP ClockAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    SetChild(role, id == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : IsButton(id) ? ROLE_SYSTEM_PUSHBUTTON
                                                                           : ROLE_SYSTEM_STATICTEXT);
    return S_OK;
}

STDMETHODIMP ClockAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    const bool focused = GetFocus() == clock_->hwnd();
    long flags = 0;
    if (id == CHILDID_SELF) {
        flags = STATE_SYSTEM_FOCUSABLE;
        if (focused && clock_->FocusedButton() == 0) flags |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(clock_->hwnd())) flags |= STATE_SYSTEM_INVISIBLE;
    } else if (IsButton(id)) {
        flags = STATE_SYSTEM_FOCUSABLE;
        if (focused && clock_->FocusedButton() == id) flags |= STATE_SYSTEM_FOCUSED;
    } else {
        flags = STATE_SYSTEM_READONLY;
        if (clock_->ChildLabel(id)->caption.empty()) flags |= STATE_SYSTEM_INVISIBLE;  // a row without a place
    }
    SetChild(state, flags);
    return S_OK;
}

// A place's labels: what the label does not show (zone, difference, next change).
STDMETHODIMP ClockAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    const int place = PlaceOf(id);
    if (place == 0) return DISP_E_MEMBERNOTFOUND;
    if (clock_->ChildLabel(id)->caption.empty()) return S_FALSE;
    return ReturnText(clock_->PlaceHelp(place), help);
}

STDMETHODIMP ClockAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP ClockAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (shortcut) *shortcut = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP ClockAccessible::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!clock_) return RPC_E_DISCONNECTED;
    if (GetFocus() != clock_->hwnd()) return S_FALSE;
    SetChild(focus, clock_->FocusedButton());
    return S_OK;
}

STDMETHODIMP ClockAccessible::get_accSelection(VARIANT* selection) {
    if (selection) VariantInit(selection);
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP ClockAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (!clock_) return RPC_E_DISCONNECTED;
    return IsButton(ChildId(child)) ? ReturnText(kPress, action) : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP ClockAccessible::accSelect(long, VARIANT) {
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    RECT r = clock_->ChildPixels(id);
    MapWindowPoints(clock_->hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

STDMETHODIMP ClockAccessible::accNavigate(long, VARIANT, VARIANT* end) {
    if (end) VariantInit(end);
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!clock_) return RPC_E_DISCONNECTED;
    POINT point{x, y};
    ScreenToClient(clock_->hwnd(), &point);
    RECT client{};
    GetClientRect(clock_->hwnd(), &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    SetChild(child, clock_->ChildAt(point));
    return S_OK;
}

// The command may end the process or destroy the window: it runs after
// this call has returned to the screen reader.
STDMETHODIMP ClockAccessible::accDoDefaultAction(VARIANT child) {
    if (!clock_) return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (!IsButton(id)) return id < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    clock_->PostButtonCommand(static_cast<int>(id));
    return S_OK;
}

STDMETHODIMP ClockAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP ClockAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

}  // namespace qv::win
