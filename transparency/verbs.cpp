// IEnumOLEVERB over the control's verbs: edit, then properties.
#include "verbs.h"

#include "com_object.h"
#include "module.h"
#include "text.h"

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

class VerbEnumerator final : public qv::win::ComObject<VerbEnumerator, IEnumOLEVERB> {
public:
    explicit VerbEnumerator(ULONG position) : position_(position) {}

    static const qv::win::InterfaceEntry<VerbEnumerator> kInterfaces[];

    STDMETHODIMP Next(ULONG count, OLEVERB* verbs, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!verbs) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && position_ < kVerbCount) {
            const Verb& verb = kVerbs[position_];
            LPOLESTR name = qv::win::CoTaskCopy(verb.name);
            if (!name) break;
            verbs[n] = {verb.id, name, 0, OLEVERBATTRIB_ONCONTAINERMENU};
            ++n;
            ++position_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    // S_OK when all count were skipped; a count past the end stops there.
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = kVerbCount - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumOLEVERB** out) override {
        return qv::win::CreateComObject<VerbEnumerator>(IID_IEnumOLEVERB, reinterpret_cast<void**>(out), position_);
    }

private:
    ~VerbEnumerator() = default;

    ModuleLock lock_;
    ULONG position_;
};

const qv::win::InterfaceEntry<VerbEnumerator> VerbEnumerator::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<VerbEnumerator, IEnumOLEVERB>},
    {&IID_IEnumOLEVERB, &qv::win::As<VerbEnumerator, IEnumOLEVERB>},
    {},
};

}  // namespace

HRESULT CreateVerbEnumerator(IEnumOLEVERB** out) {
    return qv::win::CreateComObject<VerbEnumerator>(IID_IEnumOLEVERB, reinterpret_cast<void**>(out), ULONG{0});
}

}  // namespace vitrel
