// The base of every COM object we implement: one reference count for all of its
// interfaces and a QueryInterface that walks the object's table of interfaces.
#pragma once

#include <unknwn.h>

#include <new>
#include <utility>

namespace qv::win {

// One row of an object's interface table: an interface identifier and how
// the object becomes that interface. A table ends with {}.
template <class Object>
struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(Object*);
};

template <class Object, class Interface>
IUnknown* As(Object* self) {
    return static_cast<Interface*>(self);
}

// Object derives from ComObject<Object, its interfaces...> and has a public
// `static const InterfaceEntry<Object> kInterfaces[]`. It is final with a
// private destructor: only the last Release deletes it.
template <class Object, class... Interfaces>
class ComObject : public Interfaces... {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        for (const InterfaceEntry<Object>* entry = Object::kInterfaces; entry->iid; ++entry) {
            if (*entry->iid != iid) continue;
            *out = entry->cast(static_cast<Object*>(this));
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&refs_));
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    LONG refs_ = 1;  // the creator's reference
};

// A new Object handed out as iid: new (nothrow), QueryInterface, Release.
template <class Object, class... Args>
HRESULT CreateComObject(REFIID iid, void** out, Args&&... args) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* object = new (std::nothrow) Object(std::forward<Args>(args)...);
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

}  // namespace qv::win
