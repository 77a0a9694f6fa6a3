// CVitrel32Ctrl: creation, interface table and reference count, and the
// properties and methods of its dispatch interface.
#include "control.h"

#include "class_factory.h"

namespace vitrel {

const qv::win::InterfaceEntry<CVitrel32Ctrl> CVitrel32Ctrl::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<CVitrel32Ctrl, IDispatch>},
    {&IID_IDispatch, &qv::win::As<CVitrel32Ctrl, IDispatch>},
    {&contract::kDispatchId, &qv::win::As<CVitrel32Ctrl, IDispatch>},
    {&IID_IProvideClassInfo, &qv::win::As<CVitrel32Ctrl, IProvideClassInfo2>},
    {&IID_IProvideClassInfo2, &qv::win::As<CVitrel32Ctrl, IProvideClassInfo2>},
    {&IID_IConnectionPointContainer, &qv::win::As<CVitrel32Ctrl, IConnectionPointContainer>},
    {&IID_IPersist, &qv::win::As<CVitrel32Ctrl, IPersistStreamInit>},
    {&IID_IPersistStreamInit, &qv::win::As<CVitrel32Ctrl, IPersistStreamInit>},
    {&IID_IPersistStorage, &qv::win::As<CVitrel32Ctrl, IPersistStorage>},
    {&IID_IPersistPropertyBag, &qv::win::As<CVitrel32Ctrl, IPersistPropertyBag>},
    {&IID_IPerPropertyBrowsing, &qv::win::As<CVitrel32Ctrl, IPerPropertyBrowsing>},
    {&IID_ISpecifyPropertyPages, &qv::win::As<CVitrel32Ctrl, ISpecifyPropertyPages>},
    {&IID_IOleObject, &qv::win::As<CVitrel32Ctrl, IOleObject>},
    {&IID_IOleWindow, &qv::win::As<CVitrel32Ctrl, IOleInPlaceObject>},
    {&IID_IOleInPlaceObject, &qv::win::As<CVitrel32Ctrl, IOleInPlaceObject>},
    {&IID_IOleInPlaceActiveObject, &qv::win::As<CVitrel32Ctrl, IOleInPlaceActiveObject>},
    {&IID_IOleControl, &qv::win::As<CVitrel32Ctrl, IOleControl>},
    {&IID_IViewObject, &qv::win::As<CVitrel32Ctrl, IViewObject2>},
    {&IID_IViewObject2, &qv::win::As<CVitrel32Ctrl, IViewObject2>},
    {},
};

namespace {

bool InRange(short value, short low, short high) { return value >= low && value <= high; }

}  // namespace

HRESULT CreateControl(REFIID iid, void** out) { return CVitrel32Ctrl::Create(iid, out); }

HRESULT CVitrel32Ctrl::Create(REFIID iid, void** out) { return qv::win::CreateComObject<CVitrel32Ctrl>(iid, out); }

CVitrel32Ctrl::CVitrel32Ctrl()
    : engine_(*this, LookUpSetLayered()),
      eventsPoint_(*this, contract::kEventsId, true),
      notifyPoint_(*this, IID_IPropertyNotifySink, false) {
    props_.layeredColor = GetSysColor(COLOR_BTNFACE);
    engine_.SetActiveMode(TransClient);
}

CVitrel32Ctrl::~CVitrel32Ctrl() { DestroyControlWindow(); }

void CVitrel32Ctrl::PropertyChanged(DISPID id) {
    dirty_ = true;
    notifyPoint_.ForEach<IPropertyNotifySink>([id](IPropertyNotifySink* sink) { sink->OnChanged(id); });
}

void CVitrel32Ctrl::FirePaint(HDC dc) {
    if (freezeCount_ > 0) return;
    // The event carries the handle as a 32-bit integer; GDI handles fit.
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = static_cast<LONG>(reinterpret_cast<LONG_PTR>(dc));
    DISPPARAMS params{&arg, nullptr, 1, 0};
    eventsPoint_.ForEach<IDispatch>([&params](IDispatch* sink) {
        sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    });
}

LayeredSettings CVitrel32Ctrl::CurrentLayered() const {
    return {props_.layeredFlag, props_.layeredAlpha, props_.layeredColor};
}

bool CVitrel32Ctrl::UserMode() const {
    if (!clientSite_) return true;
    ComPtr<IDispatch> ambient;
    if (FAILED(clientSite_.As(ambient))) return true;
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    const HRESULT hr = ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT,
                                       DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    if (FAILED(hr)) return true;
    bool user = true;
    if (SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL))) user = result.boolVal != VARIANT_FALSE;
    VariantClear(&result);
    return user;
}

// TransMode: 0 to 4; the mode switch runs at once on a live window.
STDMETHODIMP CVitrel32Ctrl::get_TransMode(short* value) {
    if (!value) return E_POINTER;
    *value = props_.transMode;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::put_TransMode(short value) {
    if (!InRange(value, TransOff, TransLayered)) return S_OK;
    const short previous = props_.transMode;
    props_.transMode = value;
    engine_.SetActiveMode(value);
    PropertyChanged(contract::kDispTransMode);
    if (window_ && UserMode()) engine_.SwitchMode(value, previous);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::get__TransMode(short* value) { return get_TransMode(value); }
STDMETHODIMP CVitrel32Ctrl::put__TransMode(short value) { return put_TransMode(value); }

// The layered settings reach the window at the next switch to mode 4.
STDMETHODIMP CVitrel32Ctrl::get_LayeredColor(LONG* value) {
    if (!value) return E_POINTER;
    *value = static_cast<LONG>(props_.layeredColor);
    return S_OK;
}

// A system colour (&H80000005) may come as a negative long from a script, as
// an unsigned long or a double from a typed host, or as text from a bag.
HRESULT ColorFromVariant(const VARIANT& value, OLE_COLOR& color) {
    // VariantChangeType reads its source only; its declaration lacks the const.
    auto* source = const_cast<VARIANT*>(&value);
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, source, 0, VT_I4))) {
        color = static_cast<OLE_COLOR>(converted.lVal);
        return S_OK;
    }
    if (SUCCEEDED(VariantChangeType(&converted, source, 0, VT_UI4))) {
        color = converted.ulVal;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

STDMETHODIMP CVitrel32Ctrl::put_LayeredColor(VARIANT value) {
    if (const HRESULT hr = ColorFromVariant(value, props_.layeredColor); FAILED(hr)) return hr;
    PropertyChanged(contract::kDispLayeredColor);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::get_LayeredAlpha(short* value) {
    if (!value) return E_POINTER;
    *value = props_.layeredAlpha;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::put_LayeredAlpha(short value) {
    if (!InRange(value, 0, 255)) return S_OK;
    props_.layeredAlpha = value;
    PropertyChanged(contract::kDispLayeredAlpha);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::get_LayeredFlag(short* value) {
    if (!value) return E_POINTER;
    *value = props_.layeredFlag;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::put_LayeredFlag(short value) {
    if (!InRange(value, 0, 1)) return S_OK;
    props_.layeredFlag = value;
    PropertyChanged(contract::kDispLayeredFlag);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::IsLayered(VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = engine_.IsLayered() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

}  // namespace vitrel
