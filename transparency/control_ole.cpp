// CVitrel32Ctrl: IOleObject (site, verbs, extent, advise) and IOleControl.
#include "control.h"
#include "resource.h"
#include "text.h"
#include "verbs.h"

namespace vitrel {

STDMETHODIMP CVitrel32Ctrl::SetClientSite(IOleClientSite* site) {
    // Some hosts load before they set the site: both orders work.
    clientSite_ = ComPtr<IOleClientSite>(site);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    return clientSite_.CopyTo(site);
}

STDMETHODIMP CVitrel32Ctrl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP CVitrel32Ctrl::Close(DWORD) {
    InPlaceDeactivate();
    if (oleAdvise_) oleAdvise_->SendOnClose();
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (!moniker) return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CVitrel32Ctrl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::GetClipboardData(DWORD, IDataObject** data) {
    if (!data) return E_POINTER;
    *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CVitrel32Ctrl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) {
    if (site && !clientSite_) clientSite_ = ComPtr<IOleClientSite>(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE: {
        const HRESULT hr = InPlaceActivate(verb == OLEIVERB_UIACTIVATE);
        if (SUCCEEDED(hr) && pos) SetObjectRects(pos, pos);
        return hr;
    }
    case OLEIVERB_PROPERTIES:
        return ShowPropertyFrame(parent);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (window_) ShowWindow(window_, SW_HIDE);
        return S_OK;
    default:
        return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP CVitrel32Ctrl::EnumVerbs(IEnumOLEVERB** verbs) {
    if (!verbs) return E_POINTER;
    *verbs = nullptr;
    return CreateVerbEnumerator(verbs);
}

STDMETHODIMP CVitrel32Ctrl::Update() { return S_OK; }
STDMETHODIMP CVitrel32Ctrl::IsUpToDate() { return S_OK; }

STDMETHODIMP CVitrel32Ctrl::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = contract::kControlClass;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetUserType(DWORD, LPOLESTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    std::wstring text;
    if (const HRESULT hr = Guarded([&text] { text = LoadModuleString(IDS_VITREL32_CONTROL); }); FAILED(hr))
        return hr;
    *name = qv::win::CoTaskCopy(text);
    return *name ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CVitrel32Ctrl::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    dirty_ = true;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    *size = {};
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!connection) return E_POINTER;
    *connection = 0;
    if (!oleAdvise_) {
        if (const HRESULT hr = CreateOleAdviseHolder(oleAdvise_.Put()); FAILED(hr)) return hr;
    }
    return oleAdvise_->Advise(sink, connection);
}

STDMETHODIMP CVitrel32Ctrl::Unadvise(DWORD connection) {
    if (!oleAdvise_) return OLE_E_NOCONNECTION;
    return oleAdvise_->Unadvise(connection);
}

STDMETHODIMP CVitrel32Ctrl::EnumAdvise(IEnumSTATDATA** advise) {
    if (!advise) return E_POINTER;
    *advise = nullptr;
    if (!oleAdvise_) return E_FAIL;
    return oleAdvise_->EnumAdvise(advise);
}

STDMETHODIMP CVitrel32Ctrl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = kMiscStatus;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    // No mnemonics.
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::OnMnemonic(MSG*) { return E_NOTIMPL; }

STDMETHODIMP CVitrel32Ctrl::OnAmbientPropertyChange(DISPID) { return S_OK; }

STDMETHODIMP CVitrel32Ctrl::FreezeEvents(BOOL freeze) {
    // Freezes nest.
    if (freeze) ++freezeCount_;
    else if (freezeCount_ > 0) --freezeCount_;
    return S_OK;
}

}  // namespace vitrel
