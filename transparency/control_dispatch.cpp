// CVitrel32Ctrl: IDispatch through the type library, class information, and
// the connection points of its events and property notifications.
#include "control.h"

namespace vitrel {

HRESULT CVitrel32Ctrl::LoadTypeInfos() {
    if (dispatchInfo_ && membersInfo_) return S_OK;
    ComPtr<ITypeLib> lib;
    if (const HRESULT hr = LoadVitrelTypeLib(lib); FAILED(hr)) return hr;
    if (const HRESULT hr = lib->GetTypeInfoOfGuid(contract::kDispatchId, dispatchInfo_.Put()); FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(IID_IVitrel32Members, membersInfo_.Put());
}

STDMETHODIMP CVitrel32Ctrl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    if (const HRESULT hr = LoadTypeInfos(); FAILED(hr)) return hr;
    return dispatchInfo_.CopyTo(out);
}

STDMETHODIMP CVitrel32Ctrl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (const HRESULT hr = LoadTypeInfos(); FAILED(hr)) return hr;
    // The vtable twin has the same names and DISPIDs, as plain functions.
    return DispGetIDsOfNames(membersInfo_.Get(), names, count, ids);
}

STDMETHODIMP CVitrel32Ctrl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excepInfo, UINT* argError) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (const HRESULT hr = LoadTypeInfos(); FAILED(hr)) return hr;
    // The system's own argument coercion, onto the vtable of IVitrel32Members.
    return DispInvoke(static_cast<IVitrel32Members*>(this), membersInfo_.Get(), id, flags, params, result,
                      excepInfo, argError);
}

STDMETHODIMP CVitrel32Ctrl::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<ITypeInfo> info;
    if (const HRESULT hr = LoadVitrelTypeInfo(contract::kControlClass, info); FAILED(hr)) return hr;
    *out = info.Detach();
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = contract::kEventsId;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return CreatePointEnumerator(&eventsPoint_, &notifyPoint_, out);
}

STDMETHODIMP CVitrel32Ctrl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ConnectionPoint* point = nullptr;
    if (iid == contract::kEventsId) point = &eventsPoint_;
    else if (iid == IID_IPropertyNotifySink) point = &notifyPoint_;
    else return CONNECT_E_NOCONNECTION;
    *out = point;
    point->AddRef();
    return S_OK;
}

}  // namespace vitrel
