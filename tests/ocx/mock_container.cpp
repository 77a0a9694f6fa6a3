// The tests' own container: window, in-place site and sinks.
#include "mock_container.h"

#include <algorithm>

#include "handles.h"

namespace vitrel::test {
namespace {

constexpr wchar_t kContainerClass[] = L"QvTestContainer";

}  // namespace

ContainerWindow::ContainerWindow(DWORD style, int x, int y, int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ContainerWindow::Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kContainerClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, kContainerClass, L"container", style, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    PumpMessages();
    messages_.clear();
}

ContainerWindow::~ContainerWindow() {
    if (window_) DestroyWindow(window_);
    PumpMessages();
}

namespace {
constexpr wchar_t kForeignProperty[] = L"QvTest.ForeignSubclass";
}  // namespace

ForeignSubclass::ForeignSubclass(HWND window) : window_(window) {
    SetPropW(window, kForeignProperty, this);
    below_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclass::Procedure)));
}

ForeignSubclass::~ForeignSubclass() {
    if (!IsWindow(window_)) return;
    if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ForeignSubclass::Procedure))
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(below_));
    RemovePropW(window_, kForeignProperty);
}

LRESULT CALLBACK ForeignSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<ForeignSubclass*>(GetPropW(window, kForeignProperty));
    ++self->seen_;
    return CallWindowProcW(self->below_, window, message, wParam, lParam);
}

WNDPROC ContainerWindow::OwnProcedure() const { return &ContainerWindow::Procedure; }

int ContainerWindow::Count(UINT message) const {
    return static_cast<int>(std::count_if(messages_.begin(), messages_.end(),
                                          [message](const RecordedMessage& m) { return m.message == message; }));
}

LRESULT CALLBACK ContainerWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ContainerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        self->messages_.push_back({message, wParam, lParam});
        if (message == WM_NCDESTROY) {
            self->window_ = nullptr;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

struct OverlaySearch {
    HWND container;
    HWND found;
};

BOOL CALLBACK MatchOverlay(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OverlaySearch*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, L"TransProc") == 0 && GetWindow(window, GW_OWNER) == search->container) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindOverlay(HWND container) {
    OverlaySearch search{container, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchOverlay, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
}

LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

int RegionKind(HWND window) {
    const qv::win::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, region.get());
}

ComPtr<TestSite> TestSite::Create(HWND container, RECT rect, bool userMode) {
    return ComPtr<TestSite>::Adopt(new TestSite(container, rect, userMode));
}

const qv::win::InterfaceEntry<TestSite> TestSite::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<TestSite, IOleClientSite>},
    {&IID_IOleClientSite, &qv::win::As<TestSite, IOleClientSite>},
    {&IID_IOleWindow, &qv::win::As<TestSite, IOleInPlaceSite>},
    {&IID_IOleInPlaceSite, &qv::win::As<TestSite, IOleInPlaceSite>},
    {&IID_IDispatch, &qv::win::As<TestSite, IDispatch>},
    {},
};

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* window) {
    *window = container_;
    return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                        LPOLEINPLACEFRAMEINFO) {
    calls_.push_back("GetWindowContext");
    *frame = nullptr;
    *doc = nullptr;
    *pos = rect_;
    *clip = rect_;
    return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (id != DISPID_AMBIENT_USERMODE || !result) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    result->vt = VT_BOOL;
    result->boolVal = userMode_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

const qv::win::InterfaceEntry<EventSink> EventSink::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<EventSink, IDispatch>},
    {&IID_IDispatch, &qv::win::As<EventSink, IDispatch>},
    {&DIID__DVitrel32Events, &qv::win::As<EventSink, IDispatch>},
    {},
};

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                               UINT*) {
    if (id != 1 || !(flags & DISPATCH_METHOD) || !params || params->cArgs != 1 || params->rgvarg[0].vt != VT_I4)
        return DISP_E_MEMBERNOTFOUND;
    HDC dc = reinterpret_cast<HDC>(static_cast<LONG_PTR>(params->rgvarg[0].lVal));
    // Usable: something can be drawn into it.
    RECT clip{};
    const bool usable = GetClipBox(dc, &clip) != ERROR && Rectangle(dc, 0, 0, 4, 4) != FALSE;
    paints.push_back({dc, WindowFromDC(dc), usable});
    return S_OK;
}

Connection::Connection(IUnknown* control, REFIID iid, IUnknown* sink) {
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()))) return;
    if (FAILED(container->FindConnectionPoint(iid, point_.Put()))) return;
    if (FAILED(point_->Advise(sink, &cookie_))) cookie_ = 0;
}

Connection::~Connection() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
}

}  // namespace vitrel::test
