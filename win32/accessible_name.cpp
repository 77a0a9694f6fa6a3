// The system's accessible object of a control, named, described or given a
// role otherwise: every other call goes to the system's object.
#include "accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <optional>

#include "com_object.h"
#include "com_ptr.h"
#include "text.h"

namespace qv::win {

namespace {

// What a window says of itself instead of the system; unset parts are the system's.
struct Annotation {
    std::optional<std::wstring> name;
    std::optional<std::wstring> description;
    std::optional<long> role;
};

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

class NamedAccessible final : public ComObject<NamedAccessible, IAccessible> {
public:
    static const InterfaceEntry<NamedAccessible> kInterfaces[];

    NamedAccessible(ComPtr<IAccessible> system, Annotation annotation)
        : system_(std::move(system)), annotation_(std::move(annotation)) {}

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || !annotation_.name) return system_->get_accName(child, name);
        return BstrCopy(*annotation_.name, name);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        if (!IsSelf(child) || !annotation_.description) return system_->get_accDescription(child, text);
        return BstrCopy(*annotation_.description, text);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !annotation_.role) return system_->get_accRole(child, role);
        if (!role) return E_POINTER;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = *annotation_.role;
        return S_OK;
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
    Annotation annotation_;
};

const InterfaceEntry<NamedAccessible> NamedAccessible::kInterfaces[] = {
    {&IID_IUnknown, &As<NamedAccessible, IAccessible>},
    {&IID_IDispatch, &As<NamedAccessible, IAccessible>},
    {&__uuidof(IAccessible), &As<NamedAccessible, IAccessible>},
    {},
};

constexpr UINT_PTR kSubclassId = 0x514E;  // one annotation per window
// Where a window's annotation is found again (GetWindowSubclass is exported by ordinal only).
constexpr wchar_t kAnnotationProperty[] = L"QV.Accessible";

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* annotation = reinterpret_cast<Annotation*>(data);
    if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT) {
        ComPtr<IAccessible> system, named;
        if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), system.PutVoid())) &&
            SUCCEEDED(CreateComObject<NamedAccessible>(__uuidof(IAccessible), named.PutVoid(), system, *annotation))) {
            return LresultFromObject(__uuidof(IAccessible), wp, named.Get());
        }
    } else if (msg == WM_NCDESTROY) {
        // The subclass owned the annotation since it was first set.
        std::unique_ptr<Annotation> owned(annotation);
        RemovePropW(hwnd, kAnnotationProperty);
        RemoveWindowSubclass(hwnd, NamedControlProc, kSubclassId);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// The window's annotation, made (and the window subclassed) on first use; null when that failed.
Annotation* AnnotationOf(HWND window) {
    if (auto* found = static_cast<Annotation*>(GetPropW(window, kAnnotationProperty))) return found;
    auto owned = std::make_unique<Annotation>();
    if (!SetPropW(window, kAnnotationProperty, owned.get())) return nullptr;
    if (!SetWindowSubclass(window, NamedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(owned.get()))) {
        RemovePropW(window, kAnnotationProperty);
        return nullptr;
    }
    return owned.release();  // the subclass's until WM_NCDESTROY
}

// Changes the window's annotation; false when the window could not take one.
template <typename Change>
bool Annotate(HWND window, Change change) {
    Annotation* annotation = AnnotationOf(window);
    if (annotation) change(*annotation);
    return annotation != nullptr;
}

}  // namespace

bool SetAccessibleName(HWND control, std::wstring name) {
    return Annotate(control, [&](Annotation& a) { a.name = std::move(name); });
}

bool SetAccessibleDescription(HWND window, std::wstring description) {
    return Annotate(window, [&](Annotation& a) { a.description = std::move(description); });
}

bool SetAccessibleRole(HWND window, long role) {
    return Annotate(window, [&](Annotation& a) { a.role = role; });
}

}  // namespace qv::win
