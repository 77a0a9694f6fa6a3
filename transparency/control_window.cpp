// CVitrel32Ctrl: in-place activation, the control's own child window, and its
// drawing (nothing at run time; the designer picture in a form designer).
#include "handles.h"
#include "control.h"
#include "resource.h"
#include "window_classes.h"

namespace vitrel {
namespace {

// The size the control keeps in a designer, in device units.
constexpr int kDesignerSize = 28;

}  // namespace

HRESULT CVitrel32Ctrl::InPlaceActivate(bool uiActivate) {
    if (!clientSite_) return E_UNEXPECTED;
    if (!inPlaceActive_) {
        ComPtr<IOleInPlaceSiteEx> siteEx;
        if (SUCCEEDED(clientSite_.As(siteEx))) inPlaceSite_ = ComPtr<IOleInPlaceSite>(siteEx.Get());
        else if (FAILED(clientSite_.As(inPlaceSite_))) return E_NOINTERFACE;
        if (inPlaceSite_->CanInPlaceActivate() != S_OK) {
            inPlaceSite_.Reset();
            return E_FAIL;
        }
        BOOL noRedraw = FALSE;
        const HRESULT activated =
            siteEx ? siteEx->OnInPlaceActivateEx(&noRedraw, 0) : inPlaceSite_->OnInPlaceActivate();
        if (FAILED(activated)) {
            inPlaceSite_.Reset();
            return activated;
        }
        inPlaceActive_ = true;
        HWND parent = nullptr;
        ComPtr<IOleInPlaceFrame> frame;
        ComPtr<IOleInPlaceUIWindow> document;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        HRESULT hr = inPlaceSite_->GetWindow(&parent);
        if (SUCCEEDED(hr)) hr = inPlaceSite_->GetWindowContext(frame.Put(), document.Put(), &pos, &clip, &frameInfo);
        if (SUCCEEDED(hr)) hr = CreateControlWindow(parent, pos);
        if (FAILED(hr)) {
            InPlaceDeactivate();
            return hr;
        }
        clientSite_->ShowObject();
    }
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
    }
    return S_OK;
}

HRESULT CVitrel32Ctrl::CreateControlWindow(HWND parent, const RECT& pos) {
    if (window_) return S_OK;
    EnsureControlWindowClass(&qv::win::WindowThunk<CVitrel32Ctrl>);
    HWND window = CreateWindowExW(0, kControlWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS, pos.left, pos.top,
                                  pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, ModuleInstance(),
                                  this);
    if (!window) return HRESULT_FROM_WIN32(GetLastError());
    // Created in mode 0 at run time, the control window stays hidden.
    if (!(props_.transMode == TransOff && UserMode())) ShowWindow(window, SW_SHOWNOACTIVATE);
    return S_OK;
}

LRESULT CVitrel32Ctrl::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const LRESULT created = DefWindowProcW(window, message, wParam, lParam);
        if (!created) return created;
        window_ = window;
        engine_.AttachToContainer(window, UserMode());
        return created;
    }
    case WM_ERASEBKGND:
        // Nothing erased: at run time the control is invisible.
        if (UserMode()) return 0;
        break;
    case WM_PAINT: {
        qv::win::PaintScope paint(window);
        if (!UserMode()) {
            RECT bounds{};
            GetClientRect(window, &bounds);
            DrawDesigner(paint.dc(), bounds);
        }
        return 0;
    }
    case WM_DESTROY:
        // The container gets its own procedure back; nothing fires on us any
        // more. A container that is itself going keeps its styles: changing
        // them now would only repaint it on its way out.
        engine_.Detach(destroyingWindow_);
        break;
    case WM_NCDESTROY:
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CVitrel32Ctrl::DrawDesigner(HDC dc, const RECT& bounds) {
    if (bounds.right - bounds.left != kDesignerSize || bounds.bottom - bounds.top != kDesignerSize) {
        RequestDesignerSize();
        return;
    }
    const qv::win::UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDB_VITREL32_DESIGNER), IMAGE_BITMAP, 0, 0, 0)));
    if (!picture) return;
    BITMAP info{};
    GetObjectW(picture.get(), sizeof(info), &info);
    const qv::win::UniqueMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return;
    const qv::win::SelectScope select(memory.get(), picture.get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, bounds.left, bounds.top, kDesignerSize, kDesignerSize, memory.get(), 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
}

// In a designer the control keeps 28 x 28 pixels: it asks its site for that.
void CVitrel32Ctrl::RequestDesignerSize() {
    if (!inPlaceSite_ || !window_) return;
    RECT pos{};
    GetWindowRect(window_, &pos);
    MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&pos), 2);
    pos.right = pos.left + kDesignerSize;
    pos.bottom = pos.top + kDesignerSize;
    inPlaceSite_->OnPosRectChange(&pos);
}

HRESULT CVitrel32Ctrl::ShowPropertyFrame(HWND owner) {
    CAUUID pages{};
    if (const HRESULT hr = GetPages(&pages); FAILED(hr)) return hr;
    IUnknown* self = static_cast<IDispatch*>(this);
    std::wstring caption;
    if (const HRESULT hr = Guarded([&caption] { caption = LoadModuleString(IDS_VITREL32_CONTROL); }); FAILED(hr)) {
        CoTaskMemFree(pages.pElems);
        return hr;
    }
    const HRESULT hr = OleCreatePropertyFrame(owner, 0, 0, caption.c_str(), 1, &self, pages.cElems, pages.pElems,
                                              LOCALE_USER_DEFAULT, 0, nullptr);
    CoTaskMemFree(pages.pElems);
    return hr;
}

STDMETHODIMP CVitrel32Ctrl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

void CVitrel32Ctrl::DestroyControlWindow() {
    if (!window_) return;
    destroyingWindow_ = true;
    DestroyWindow(window_);
    destroyingWindow_ = false;
}

STDMETHODIMP CVitrel32Ctrl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::InPlaceDeactivate() {
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    DestroyControlWindow();
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_.Reset();
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (window_) MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

STDMETHODIMP CVitrel32Ctrl::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP CVitrel32Ctrl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CVitrel32Ctrl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CVitrel32Ctrl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP CVitrel32Ctrl::EnableModeless(BOOL) { return S_OK; }

// IViewObject2: at run time the control draws nothing.
STDMETHODIMP CVitrel32Ctrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds,
                                 LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!drawDc || !bounds) return E_INVALIDARG;
    if (!UserMode()) DrawDesigner(drawDc, {bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (!colors) return E_POINTER;
    *colors = nullptr;
    return S_FALSE;
}

STDMETHODIMP CVitrel32Ctrl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (!freeze) return E_POINTER;
    *freeze = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CVitrel32Ctrl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = ComPtr<IAdviseSink>(sink);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) return viewSink_.CopyTo(sink);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

}  // namespace vitrel
