// IClassFactory for the module's classes: one new object per CreateInstance.
#include "class_factory.h"

#include <new>
#include <unknwn.h>

#include "com_object.h"
#include "ids.h"
#include "module.h"

namespace vitrel {
namespace {

struct ClassEntry {
    const CLSID* clsid;
    CreateFunction create;
};

constexpr ClassEntry kClasses[] = {
    {&contract::kControlClass, &CreateControl},
    {&contract::kPropertyPageClass, &CreatePropertyPage},
    {},
};

class ClassFactory final : public qv::win::ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    static const qv::win::InterfaceEntry<ClassFactory> kInterfaces[];

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
    CreateFunction create_;
};

const qv::win::InterfaceEntry<ClassFactory> ClassFactory::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<ClassFactory, IClassFactory>},
    {&IID_IClassFactory, &qv::win::As<ClassFactory, IClassFactory>},
    {},
};

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry* entry = kClasses; entry->clsid; ++entry) {
        if (*entry->clsid == clsid) return qv::win::CreateComObject<ClassFactory>(iid, out, entry->create);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vitrel
