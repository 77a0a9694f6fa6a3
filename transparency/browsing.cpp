// CVitrel32Ctrl: what property browsers ask: the display strings and
// predefined values of TransMode and LayeredFlag, and the property pages.
#include <objbase.h>

#include <span>

#include "control.h"
#include "display_strings.h"
#include "text.h"

namespace vitrel {
namespace {

std::span<const wchar_t* const> PredefinedStrings(DISPID id) {
    if (id == contract::kDispTransMode) return kTransModeStrings;
    if (id == contract::kDispLayeredFlag) return kLayeredFlagStrings;
    return {};
}

}  // namespace

STDMETHODIMP CVitrel32Ctrl::GetDisplayString(DISPID id, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    const auto strings = PredefinedStrings(id);
    if (strings.empty()) return E_NOTIMPL;  // the browser's standard display
    const short value = id == contract::kDispTransMode ? props_.transMode : props_.layeredFlag;
    // A loaded value out of range shows as empty text.
    const bool known = value >= 0 && static_cast<size_t>(value) < strings.size();
    *text = SysAllocString(known ? strings[value] : L"");
    return *text ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CVitrel32Ctrl::MapPropertyToPage(DISPID, CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CVitrel32Ctrl::GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) {
    if (!strings || !cookies) return E_POINTER;
    *strings = {};
    *cookies = {};
    const auto list = PredefinedStrings(id);
    if (list.empty()) return E_NOTIMPL;
    const auto count = static_cast<ULONG>(list.size());
    auto* texts = static_cast<LPOLESTR*>(CoTaskMemAlloc(count * sizeof(LPOLESTR)));
    auto* values = static_cast<DWORD*>(CoTaskMemAlloc(count * sizeof(DWORD)));
    bool ok = texts && values;
    for (ULONG i = 0; ok && i < count; ++i) {
        texts[i] = qv::win::CoTaskCopy(list[i]);
        values[i] = i;
        if (!texts[i]) {
            for (ULONG j = 0; j < i; ++j) CoTaskMemFree(texts[j]);
            ok = false;
        }
    }
    if (!ok) {
        CoTaskMemFree(texts);
        CoTaskMemFree(values);
        return E_OUTOFMEMORY;
    }
    *strings = {count, texts};
    *cookies = {count, values};
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) {
    if (!value) return E_POINTER;
    // An [out] VARIANT: initialised, not cleared, since it may hold garbage.
    VariantInit(value);
    const auto list = PredefinedStrings(id);
    if (list.empty()) return E_NOTIMPL;
    if (cookie >= list.size()) return E_INVALIDARG;
    value->vt = VT_I2;
    value->iVal = static_cast<short>(cookie);
    return S_OK;
}

// The control's own page first, then the system's colour page for LayeredColor.
STDMETHODIMP CVitrel32Ctrl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    *pages = {};
    auto* ids = static_cast<GUID*>(CoTaskMemAlloc(2 * sizeof(GUID)));
    if (!ids) return E_OUTOFMEMORY;
    ids[0] = contract::kPropertyPageClass;
    ids[1] = kClsidStockColorPage;
    *pages = {2, ids};
    return S_OK;
}

}  // namespace vitrel
