// The clock's OLE site for the transparency control. Everything a control may
// ask beyond placing itself and reading the user-mode ambient is answered as
// not implemented.
#include "control_site.h"

#include <new>

namespace qv::win {

ControlSite* ControlSite::Create(HWND container, const RECT& rect) {
    return new (std::nothrow) ControlSite(container, rect);
}

const InterfaceEntry<ControlSite> ControlSite::kInterfaces[] = {
    {&IID_IUnknown, &As<ControlSite, IOleClientSite>},
    {&IID_IOleClientSite, &As<ControlSite, IOleClientSite>},
    {&IID_IOleWindow, &As<ControlSite, IOleInPlaceSite>},
    {&IID_IOleInPlaceSite, &As<ControlSite, IOleInPlaceSite>},
    {&IID_IOleInPlaceUIWindow, &As<ControlSite, IOleInPlaceFrame>},
    {&IID_IOleInPlaceFrame, &As<ControlSite, IOleInPlaceFrame>},
    {&IID_IDispatch, &As<ControlSite, IDispatch>},
    {},
};

STDMETHODIMP ControlSite::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk) *ppmk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer) *ppContainer = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP ControlSite::ShowObject() { return S_OK; }
STDMETHODIMP ControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP ControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP ControlSite::GetWindow(HWND* phwnd) {
    if (!phwnd) return E_POINTER;
    *phwnd = container_;
    return S_OK;
}
STDMETHODIMP ControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP ControlSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP ControlSite::OnUIActivate() { return S_OK; }

STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                           LPRECT lprcPosRect, LPRECT lprcClipRect,
                                           LPOLEINPLACEFRAMEINFO lpFrameInfo) {
    if (ppFrame) {
        *ppFrame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (ppDoc) *ppDoc = nullptr;
    if (lprcPosRect) *lprcPosRect = rect_;
    if (lprcClipRect) *lprcClipRect = rect_;
    if (lpFrameInfo) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = container_;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}
STDMETHODIMP ControlSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP ControlSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP ControlSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP ControlSite::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT) { return S_OK; }

STDMETHODIMP ControlSite::GetBorder(LPRECT) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::RequestBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }

STDMETHODIMP ControlSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::SetStatusText(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::TranslateAccelerator(LPMSG, WORD) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
}
STDMETHODIMP ControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult,
                                 EXCEPINFO*, UINT*) {
    if (dispIdMember != DISPID_AMBIENT_USERMODE) return DISP_E_MEMBERNOTFOUND;
    if (pVarResult) {
        VariantInit(pVarResult);
        pVarResult->vt = VT_BOOL;
        pVarResult->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

}  // namespace qv::win
