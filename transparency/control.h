// CVitrel32Ctrl, the transparency control object: one reference count shared by
// all of its interfaces. The methods are spread over control_*.cpp by
// interface group, persistence.cpp, browsing.cpp and about.cpp.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "com_object.h"
#include "connection_point.h"
#include "engine.h"
#include "ids.h"
#include "module.h"

namespace vitrel {

// The persisted fields of the control (the property exchange).
struct ControlProperties {
    short transMode = TransClient;
    short layeredAlpha = 255;
    short layeredFlag = 1;
    OLE_COLOR layeredColor = 0;
};

// LayeredColor from any 32-bit value: signed or unsigned, a whole double, or
// decimal or &H text; DISP_E_TYPEMISMATCH for anything else.
[[nodiscard]] HRESULT ColorFromVariant(const VARIANT& value, OLE_COLOR& color);

class CVitrel32Ctrl final
    : public qv::win::ComObject<CVitrel32Ctrl, IDispatch, IVitrel32Members, IProvideClassInfo2,
                                IConnectionPointContainer, IPersistStreamInit, IPersistStorage, IPersistPropertyBag,
                                IPerPropertyBrowsing, ISpecifyPropertyPages, IOleObject, IOleInPlaceObject,
                                IOleInPlaceActiveObject, IOleControl, IViewObject2>,
      private EngineHost {
public:
    static HRESULT Create(REFIID iid, void** out);
    CVitrel32Ctrl();

    // IUnknown, through ComObject: one reference count for all interfaces.
    static const qv::win::InterfaceEntry<CVitrel32Ctrl> kInterfaces[];
    // The control window's messages, through the one window procedure.
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argError) override;

    // IVitrel32Members: the members of _DVitrel32, reached through Invoke.
    STDMETHODIMP get_TransMode(short* value) override;
    STDMETHODIMP put_TransMode(short value) override;
    STDMETHODIMP get_LayeredColor(LONG* value) override;
    STDMETHODIMP put_LayeredColor(VARIANT value) override;
    STDMETHODIMP get_LayeredAlpha(short* value) override;
    STDMETHODIMP put_LayeredAlpha(short value) override;
    STDMETHODIMP get_LayeredFlag(short* value) override;
    STDMETHODIMP put_LayeredFlag(short value) override;
    STDMETHODIMP get__TransMode(short* value) override;
    STDMETHODIMP put__TransMode(short value) override;
    STDMETHODIMP IsLayered(VARIANT_BOOL* result) override;
    STDMETHODIMP AboutBox() override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* storage) override;
    STDMETHODIMP HandsOffStorage() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IPerPropertyBrowsing
    STDMETHODIMP GetDisplayString(DISPID id, BSTR* text) override;
    STDMETHODIMP MapPropertyToPage(DISPID id, CLSID* clsid) override;
    STDMETHODIMP GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
    STDMETHODIMP GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                        LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* name) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject, IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                      HDC drawDc, LPCRECTL bounds, LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                             LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

private:
    ~CVitrel32Ctrl();
    CVitrel32Ctrl(const CVitrel32Ctrl&) = delete;
    CVitrel32Ctrl& operator=(const CVitrel32Ctrl&) = delete;

    // EngineHost
    void FirePaint(HDC dc) override;
    short CurrentTransMode() const override { return props_.transMode; }
    LayeredSettings CurrentLayered() const override;

    // Property writes: mark modified, then tell the property-notify sinks.
    void PropertyChanged(DISPID id);
    HRESULT LoadTypeInfos();

    // Ambient user mode of the site; TRUE when the site cannot say.
    bool UserMode() const;

    // In-place activation and the control window (control_window.cpp).
    HRESULT InPlaceActivate(bool uiActivate);
    HRESULT CreateControlWindow(HWND parent, const RECT& pos);
    // Our own destruction of the control window, not its container's.
    void DestroyControlWindow();
    HRESULT ShowPropertyFrame(HWND owner);
    void DrawDesigner(HDC dc, const RECT& bounds);
    void RequestDesignerSize();

    // The property exchange (persistence.cpp).
    void ResetToDefaults();
    HRESULT LoadFromStream(IStream* stream);
    HRESULT SaveToStream(IStream* stream);

    ModuleLock moduleLock_;
    ControlProperties props_;
    SIZEL extent_{contract::kDefaultExtent, contract::kDefaultExtent};
    bool dirty_ = false;
    Engine engine_;

    ConnectionPoint eventsPoint_;
    ConnectionPoint notifyPoint_;
    ComPtr<ITypeInfo> dispatchInfo_;  // _DVitrel32, handed to hosts
    ComPtr<ITypeInfo> membersInfo_;   // IVitrel32Members, for DispInvoke

    ComPtr<IOleClientSite> clientSite_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleAdviseHolder> oleAdvise_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    ComPtr<IStorage> storage_;
    HWND window_ = nullptr;
    bool destroyingWindow_ = false;
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    int freezeCount_ = 0;
};

}  // namespace vitrel
