// IClassFactory for the module's classes: one new object per CreateInstance.
#include "class_factory.h"

#include <new>
#include <unknwn.h>

#include "com_ptr.h"
#include "ids.h"
#include "module.h"

namespace vitrel {
namespace {

struct ClassEntry {
    const CLSID* clsid;
    CreateFunction create;
};

constexpr ClassEntry kClasses[] = {
    {&CLSID_Vitrel, &CreateControl},
    {&kClsidPropPage, &CreatePropertyPage},
    {},
};

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) LockModule();
        else UnlockModule();
        return S_OK;
    }

private:
    ~ClassFactory() = default;

    ModuleLock lock_;
    LONG refs_ = 1;
    CreateFunction create_;
};

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry* entry = kClasses; entry->clsid; ++entry) {
        if (*entry->clsid != clsid) continue;
        auto factory = ComPtr<ClassFactory>::Adopt(new (std::nothrow) ClassFactory(entry->create));
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vitrel
