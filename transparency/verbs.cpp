// IEnumOLEVERB over the control's verbs: edit, then properties.
#include "verbs.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "module.h"

namespace vitrel {
namespace {

struct Verb {
    LONG id;
    const wchar_t* name;
};

constexpr Verb kVerbs[] = {
    {OLEIVERB_PRIMARY, L"&Edit"},
    {OLEIVERB_PROPERTIES, L"&Properties..."},
};
constexpr ULONG kVerbCount = sizeof(kVerbs) / sizeof(kVerbs[0]);

class VerbEnumerator final : public IEnumOLEVERB {
public:
    explicit VerbEnumerator(ULONG position) : position_(position) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IEnumOLEVERB) return E_NOINTERFACE;
        *out = static_cast<IEnumOLEVERB*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

    STDMETHODIMP Next(ULONG count, OLEVERB* verbs, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!verbs) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && position_ < kVerbCount) {
            const Verb& verb = kVerbs[position_];
            const size_t bytes = (std::wcslen(verb.name) + 1) * sizeof(wchar_t);
            auto* name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (!name) break;
            std::memcpy(name, verb.name, bytes);
            verbs[n] = {verb.id, name, 0, OLEVERBATTRIB_ONCONTAINERMENU};
            ++n;
            ++position_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ = position_ + count > kVerbCount ? kVerbCount : position_ + count;
        return position_ < kVerbCount ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumOLEVERB** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        auto* copy = new (std::nothrow) VerbEnumerator(position_);
        if (!copy) return E_OUTOFMEMORY;
        *out = copy;
        return S_OK;
    }

private:
    ~VerbEnumerator() = default;

    ModuleLock lock_;
    LONG refs_ = 1;
    ULONG position_;
};

}  // namespace

HRESULT CreateVerbEnumerator(IEnumOLEVERB** out) {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) VerbEnumerator(0);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vitrel
