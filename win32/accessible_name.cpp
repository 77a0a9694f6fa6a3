// The system's accessible object of a control, named otherwise: every call
// but the control's own name goes to the system's object.
#include "accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>

#include "com_object.h"
#include "com_ptr.h"

namespace qv::win {

namespace {

class NamedAccessible final : public ComObject<NamedAccessible, IAccessible> {
public:
    static const InterfaceEntry<NamedAccessible> kInterfaces[];

    NamedAccessible(ComPtr<IAccessible> system, std::wstring name)
        : system_(std::move(system)), name_(std::move(name)) {}

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return system_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // Everything else is the system's.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return system_->GetTypeInfoCount(n); }
    STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return system_->GetTypeInfo(i, l, t); }
    STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return system_->GetIDsOfNames(r, n, c, l, d);
    }
    STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                        UINT* a) override {
        return system_->Invoke(d, r, l, f, p, v, e, a);
    }
    STDMETHODIMP get_accParent(IDispatch** p) override { return system_->get_accParent(p); }
    STDMETHODIMP get_accChildCount(long* n) override { return system_->get_accChildCount(n); }
    STDMETHODIMP get_accChild(VARIANT c, IDispatch** p) override { return system_->get_accChild(c, p); }
    STDMETHODIMP get_accValue(VARIANT c, BSTR* v) override { return system_->get_accValue(c, v); }
    STDMETHODIMP get_accDescription(VARIANT c, BSTR* d) override { return system_->get_accDescription(c, d); }
    STDMETHODIMP get_accRole(VARIANT c, VARIANT* r) override { return system_->get_accRole(c, r); }
    STDMETHODIMP get_accState(VARIANT c, VARIANT* s) override { return system_->get_accState(c, s); }
    STDMETHODIMP get_accHelp(VARIANT c, BSTR* h) override { return system_->get_accHelp(c, h); }
    STDMETHODIMP get_accHelpTopic(BSTR* f, VARIANT c, long* t) override { return system_->get_accHelpTopic(f, c, t); }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return system_->get_accKeyboardShortcut(c, k);
    }
    STDMETHODIMP get_accFocus(VARIANT* f) override { return system_->get_accFocus(f); }
    STDMETHODIMP get_accSelection(VARIANT* s) override { return system_->get_accSelection(s); }
    STDMETHODIMP get_accDefaultAction(VARIANT c, BSTR* a) override { return system_->get_accDefaultAction(c, a); }
    STDMETHODIMP accSelect(long f, VARIANT c) override { return system_->accSelect(f, c); }
    STDMETHODIMP accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        return system_->accLocation(x, y, w, h, c);
    }
    STDMETHODIMP accNavigate(long d, VARIANT s, VARIANT* e) override { return system_->accNavigate(d, s, e); }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* c) override { return system_->accHitTest(x, y, c); }
    STDMETHODIMP accDoDefaultAction(VARIANT c) override { return system_->accDoDefaultAction(c); }
    STDMETHODIMP put_accName(VARIANT c, BSTR n) override { return system_->put_accName(c, n); }
    STDMETHODIMP put_accValue(VARIANT c, BSTR v) override { return system_->put_accValue(c, v); }

private:
    ~NamedAccessible() override = default;

    ComPtr<IAccessible> system_;
    std::wstring name_;
};

const InterfaceEntry<NamedAccessible> NamedAccessible::kInterfaces[] = {
    {&IID_IUnknown, &As<NamedAccessible, IAccessible>},
    {&IID_IDispatch, &As<NamedAccessible, IAccessible>},
    {&__uuidof(IAccessible), &As<NamedAccessible, IAccessible>},
    {},
};

constexpr UINT_PTR kSubclassId = 0x514E;  // one name per control

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* name = reinterpret_cast<std::wstring*>(data);
    if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT) {
        ComPtr<IAccessible> system, named;
        if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), system.PutVoid())) &&
            SUCCEEDED(CreateComObject<NamedAccessible>(__uuidof(IAccessible), named.PutVoid(), system, *name))) {
            return LresultFromObject(__uuidof(IAccessible), wp, named.Get());
        }
    } else if (msg == WM_NCDESTROY) {
        // The subclass owned the name since SetAccessibleName.
        std::unique_ptr<std::wstring> owned(name);
        RemoveWindowSubclass(hwnd, NamedControlProc, kSubclassId);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool SetAccessibleName(HWND control, std::wstring name) {
    auto owned = std::make_unique<std::wstring>(std::move(name));
    if (!SetWindowSubclass(control, NamedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(owned.get()))) {
        return false;
    }
    owned.release();  // the subclass's until WM_NCDESTROY
    return true;
}

}  // namespace qv::win
