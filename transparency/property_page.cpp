// CVitrel32PropPage: the page object, its dialog (resource 100) and the data
// exchange with the controls it edits.
#include "property_page.h"

#include <commctrl.h>

#include "class_factory.h"
#include "dispatch.h"
#include "dpi.h"
#include "display_strings.h"
#include "handles.h"
#include "resource.h"
#include "text.h"

namespace vitrel {
namespace {

constexpr SIZE kDialogUnits = {192, 110};
constexpr int kAlphaMax = 255;

// The property of the first control, as an integer; false when unreadable.
bool ReadProperty(IDispatch* control, const wchar_t* name, int& value) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    if (FAILED(control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                               nullptr)))
        return false;
    const bool ok = SUCCEEDED(VariantChangeType(&result, &result, 0, VT_I4));
    if (ok) value = result.lVal;
    VariantClear(&result);
    return ok;
}

void WriteProperty(IDispatch* control, const wchar_t* name, int value) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
    // The control's setter accepts or silently ignores the value.
    (void)qv::win::PutNumberProperty(control, id, VT_I4, value);
}

// The page's size in pixels: dialog units of its font, "ＭＳ Ｐゴシック" 10 pt,
// at the DPI the host's window has (the property frame, active when the host
// asks). Each host sees its own DPI: 96 when it knows none, the system's
// when it knows that one, its monitor's when it is aware of each monitor.
SIZE PageSizeInPixels() {
    const qv::win::WindowDc screen(nullptr);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(10, qv::win::WindowDpi(GetActiveWindow()), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af", LF_FACESIZE);
    const qv::win::UniqueFont handle(CreateFontIndirectW(&font));
    const qv::win::SelectScope selected(screen.get(), handle.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    SIZE extent{};
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(screen.get(), kAlphabet, 52, &extent);
    const int baseX = (extent.cx / 26 + 1) / 2;
    const int baseY = metrics.tmHeight;
    return {MulDiv(kDialogUnits.cx, baseX, 4), MulDiv(kDialogUnits.cy, baseY, 8)};
}

}  // namespace

HRESULT CreatePropertyPage(REFIID iid, void** out) { return CVitrel32PropPage::Create(iid, out); }

HRESULT CVitrel32PropPage::Create(REFIID iid, void** out) {
    return qv::win::CreateComObject<CVitrel32PropPage>(iid, out);
}

const qv::win::InterfaceEntry<CVitrel32PropPage> CVitrel32PropPage::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<CVitrel32PropPage, IPropertyPage>},
    {&IID_IPropertyPage, &qv::win::As<CVitrel32PropPage, IPropertyPage>},
    {},
};

CVitrel32PropPage::~CVitrel32PropPage() {
    if (dialog_) DestroyWindow(dialog_);
}

STDMETHODIMP CVitrel32PropPage::SetPageSite(IPropertyPageSite* site) {
    site_ = ComPtr<IPropertyPageSite>(site);
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (dialog_) return E_UNEXPECTED;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    dialog_ = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_PROPPAGE_VITREL32), parent,
                                 &qv::win::DialogThunk<CVitrel32PropPage>, reinterpret_cast<LPARAM>(this));
    if (!dialog_) return HRESULT_FROM_WIN32(GetLastError());
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::Deactivate() {
    if (!dialog_) return E_UNEXPECTED;
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    *info = {};
    info->cb = sizeof(*info);
    std::wstring title;
    if (const HRESULT hr = Guarded([&title] { title = LoadModuleString(IDS_VITREL32_PAGE_CAPTION); }); FAILED(hr))
        return hr;
    info->pszTitle = qv::win::CoTaskCopy(title);
    if (!info->pszTitle) return E_OUTOFMEMORY;
    info->size = PageSizeInPixels();
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    std::vector<ComPtr<IDispatch>> controls;
    try {
        for (ULONG i = 0; i < count; ++i) {
            ComPtr<IDispatch> control;
            if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(IID_IDispatch, control.PutVoid())))
                controls.push_back(std::move(control));
        }
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    objects_ = std::move(controls);
    if (dialog_ && !objects_.empty()) {
        initializing_ = true;
        ExchangeFromControls();
        initializing_ = false;
    }
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::Show(UINT show) {
    if (!dialog_) return E_UNEXPECTED;
    ShowWindow(dialog_, show);
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!dialog_) return E_UNEXPECTED;
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP CVitrel32PropPage::Apply() {
    if (dialog_) ExchangeToControls();
    dirty_ = false;
    return S_OK;
}

STDMETHODIMP CVitrel32PropPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32PropPage::TranslateAccelerator(MSG* msg) {
    if (!msg || !dialog_) return S_FALSE;
    return IsDialogMessageW(dialog_, msg) ? S_OK : S_FALSE;
}

void CVitrel32PropPage::SetDirty() {
    if (initializing_) return;
    dirty_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

void CVitrel32PropPage::ExchangeFromControls() {
    if (!objects_.empty()) {
        IDispatch* control = objects_.front().Get();
        ReadProperty(control, L"TransMode", transMode_);
        ReadProperty(control, L"LayeredAlpha", layeredAlpha_);
        ReadProperty(control, L"LayeredFlag", layeredFlag_);
    }
    // An index out of the list selects nothing.
    SendDlgItemMessageW(dialog_, IDC_TRANSMODE, CB_SETCURSEL, static_cast<WPARAM>(transMode_), 0);
    SetDlgItemInt(dialog_, IDC_LAYEREDALPHA, static_cast<UINT>(layeredAlpha_), TRUE);
    SendDlgItemMessageW(dialog_, IDC_LAYEREDFLAG, CB_SETCURSEL, static_cast<WPARAM>(layeredFlag_), 0);
    SendDlgItemMessageW(dialog_, IDC_SPIN1, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(layeredAlpha_), 0));
}

void CVitrel32PropPage::ExchangeToControls() {
    transMode_ = static_cast<int>(SendDlgItemMessageW(dialog_, IDC_TRANSMODE, CB_GETCURSEL, 0, 0));
    BOOL read = FALSE;
    const int alpha = static_cast<int>(GetDlgItemInt(dialog_, IDC_LAYEREDALPHA, &read, TRUE));
    if (read) layeredAlpha_ = alpha;
    layeredFlag_ = static_cast<int>(SendDlgItemMessageW(dialog_, IDC_LAYEREDFLAG, CB_GETCURSEL, 0, 0));
    for (const auto& control : objects_) {
        WriteProperty(control.Get(), L"TransMode", transMode_);
        WriteProperty(control.Get(), L"LayeredAlpha", layeredAlpha_);
        WriteProperty(control.Get(), L"LayeredFlag", layeredFlag_);
    }
}

void CVitrel32PropPage::OnInitDialog() {
    initializing_ = true;
    for (const wchar_t* text : kTransModeStrings)
        SendDlgItemMessageW(dialog_, IDC_TRANSMODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    for (const wchar_t* text : kLayeredFlagStrings)
        SendDlgItemMessageW(dialog_, IDC_LAYEREDFLAG, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageW(dialog_, IDC_SPIN1, UDM_SETRANGE, 0, MAKELPARAM(kAlphaMax, 0));
    SendDlgItemMessageW(dialog_, IDC_LAYEREDALPHA, EM_LIMITTEXT, 3, 0);
    ExchangeFromControls();
    initializing_ = false;
}

INT_PTR CVitrel32PropPage::DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        dialog_ = dialog;
        OnInitDialog();
        return TRUE;  // the system may set the focus
    }
    if (message == WM_NCDESTROY) {
        if (dialog_ == dialog) dialog_ = nullptr;
        return FALSE;
    }
    return OnMessage(message, wParam, lParam);
}

INT_PTR CVitrel32PropPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SPIN1 && header->code == UDN_DELTAPOS) {
            // The edit box shows the value the up-down stands for after the step.
            const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
            int value = change->iPos + change->iDelta;
            value = value < 0 ? 0 : (value > kAlphaMax ? kAlphaMax : value);
            wchar_t text[16] = {};
            wsprintfW(text, L"%d", value);
            SetDlgItemTextW(dialog_, IDC_LAYEREDALPHA, text);
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, 0);  // let the step happen
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if ((id == IDC_TRANSMODE || id == IDC_LAYEREDFLAG) && code == CBN_SELCHANGE) SetDirty();
        if (id == IDC_LAYEREDALPHA && code == EN_CHANGE) SetDirty();
        return FALSE;
    }
    return FALSE;
}

}  // namespace vitrel
