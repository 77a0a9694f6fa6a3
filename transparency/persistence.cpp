// CVitrel32Ctrl: the property exchange, to and from streams (26 bytes),
// storages (a "Contents" stream) and property bags (by name).
#include "control.h"

namespace vitrel {
namespace {

using contract::StreamHeader;
using contract::StreamLayout;
using contract::StreamProperties;

constexpr wchar_t kContentsStream[] = L"Contents";

HRESULT ReadExactly(IStream* stream, void* buffer, ULONG size) {
    ULONG read = 0;
    const HRESULT hr = stream->Read(buffer, size, &read);
    if (FAILED(hr)) return hr;
    return read == size ? S_OK : STG_E_READFAULT;
}

HRESULT WriteExactly(IStream* stream, const void* buffer, ULONG size) {
    ULONG written = 0;
    const HRESULT hr = stream->Write(buffer, size, &written);
    if (FAILED(hr)) return hr;
    return written == size ? S_OK : STG_E_WRITEFAULT;
}

// Tells the bag's error log that a stored value was not taken.
void ReportUnconverted(IErrorLog* log, const wchar_t* name, HRESULT hr) {
    if (!log) return;
    EXCEPINFO error{};
    error.scode = hr;
    log->AddError(name, &error);
}

// Reads one named value as the bag holds it (VT_EMPTY) or of the given
// type; false when the bag lacks it.
bool ReadBagRaw(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, VARTYPE type, VARIANT& value) {
    VariantInit(&value);
    value.vt = type;
    if (SUCCEEDED(bag->Read(name, &value, log))) return true;
    VariantInit(&value);
    return false;
}

// Reads one named value of the given type; a value that does not convert is
// reported and left out.
bool ReadBag(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, VARTYPE type, VARIANT& value) {
    if (!ReadBagRaw(bag, log, name, type, value)) return false;
    if (const HRESULT hr = VariantChangeType(&value, &value, 0, type); FAILED(hr)) {
        VariantClear(&value);
        ReportUnconverted(log, name, hr);
        return false;
    }
    return true;
}

void ReadBagLong(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, LONG& field) {
    VARIANT value;
    if (ReadBag(bag, log, name, VT_I4, value)) field = value.lVal;
}

void ReadBagShort(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, short& field) {
    VARIANT value;
    if (ReadBag(bag, log, name, VT_I2, value)) field = value.iVal;
}

// Colours as the bag holds them: a bag asked for VT_I4 would refuse
// &H80000000 and above.
void ReadBagColor(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, OLE_COLOR& field) {
    VARIANT value;
    if (!ReadBagRaw(bag, log, name, VT_EMPTY, value)) return;
    if (const HRESULT hr = ColorFromVariant(value, field); FAILED(hr)) ReportUnconverted(log, name, hr);
    VariantClear(&value);
}

HRESULT WriteBagLong(IPropertyBag* bag, const wchar_t* name, LONG field) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = field;
    return bag->Write(name, &value);
}

HRESULT WriteBagShort(IPropertyBag* bag, const wchar_t* name, short field) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I2;
    value.iVal = field;
    return bag->Write(name, &value);
}

}  // namespace

// Another format version: the stored values are not understood and the
// construction values return.
void CVitrel32Ctrl::ResetToDefaults() {
    props_ = ControlProperties{};
    props_.layeredColor = GetSysColor(COLOR_BTNFACE);
    engine_.SetActiveMode(TransClient);
}

STDMETHODIMP CVitrel32Ctrl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = contract::kControlClass;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

// A host's reset: the construction values stay.
STDMETHODIMP CVitrel32Ctrl::InitNew() {
    engine_.SetActiveMode(props_.transMode);
    dirty_ = false;
    return S_OK;
}

HRESULT CVitrel32Ctrl::LoadFromStream(IStream* stream) {
    if (!stream) return E_POINTER;
    StreamHeader header{};
    if (const HRESULT hr = ReadExactly(stream, &header, sizeof(header)); FAILED(hr)) return hr;
    StreamProperties stored{};
    const HRESULT hr = ReadExactly(stream, &stored, sizeof(stored));
    // A short stream of this version fails before anything is taken.
    if (header.version == contract::kStreamVersion && FAILED(hr)) return hr;
    extent_ = {header.extentX, header.extentY};
    if (header.version != contract::kStreamVersion) {
        ResetToDefaults();
    } else {
        // Loaded values are taken as they are, without a range check.
        props_ = {stored.transMode, stored.layeredAlpha, stored.layeredFlag, stored.layeredColor};
        engine_.SetActiveMode(props_.transMode);
    }
    dirty_ = false;
    return S_OK;
}

HRESULT CVitrel32Ctrl::SaveToStream(IStream* stream) {
    if (!stream) return E_POINTER;
    const StreamLayout stored{{contract::kStreamVersion, extent_.cx, extent_.cy, 0},
                              {props_.transMode, props_.layeredAlpha, props_.layeredFlag, props_.layeredColor}};
    if (const HRESULT hr = WriteExactly(stream, &stored, sizeof(stored)); FAILED(hr)) return hr;
    engine_.SetActiveMode(props_.transMode);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::Load(IStream* stream) { return LoadFromStream(stream); }

STDMETHODIMP CVitrel32Ctrl::Save(IStream* stream, BOOL clearDirty) {
    if (const HRESULT hr = SaveToStream(stream); FAILED(hr)) return hr;
    if (clearDirty) dirty_ = false;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = sizeof(StreamLayout);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::InitNew(IStorage* storage) {
    if (!storage) return E_POINTER;
    storage_ = ComPtr<IStorage>(storage);
    return InitNew();
}

STDMETHODIMP CVitrel32Ctrl::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    ComPtr<IStream> stream;
    if (const HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                               stream.Put());
        FAILED(hr))
        return hr;
    if (const HRESULT hr = LoadFromStream(stream.Get()); FAILED(hr)) return hr;
    storage_ = ComPtr<IStorage>(storage);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::Save(IStorage* storage, BOOL) {
    if (!storage) return E_POINTER;
    ComPtr<IStream> stream;
    if (const HRESULT hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE,
                                                 0, 0, stream.Put());
        FAILED(hr))
        return hr;
    if (const HRESULT hr = SaveToStream(stream.Get()); FAILED(hr)) return hr;
    dirty_ = false;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::SaveCompleted(IStorage* storage) {
    if (storage) storage_ = ComPtr<IStorage>(storage);
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::HandsOffStorage() {
    storage_.Reset();
    return S_OK;
}

// Property bags: a missing entry leaves its field as it was.
STDMETHODIMP CVitrel32Ctrl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    LONG version = contract::kStreamVersion;
    ReadBagLong(bag, log, L"_Version", version);
    ReadBagLong(bag, log, L"_ExtentX", extent_.cx);
    ReadBagLong(bag, log, L"_ExtentY", extent_.cy);
    LONG stockMask = 0;
    ReadBagLong(bag, log, L"_StockProps", stockMask);
    if (version == contract::kStreamVersion) {
        ReadBagShort(bag, log, L"TransMode", props_.transMode);
        ReadBagShort(bag, log, L"LayeredAlpha", props_.layeredAlpha);
        ReadBagShort(bag, log, L"LayeredFlag", props_.layeredFlag);
        ReadBagColor(bag, log, L"LayeredColor", props_.layeredColor);
        engine_.SetActiveMode(props_.transMode);
    } else {
        ResetToDefaults();
    }
    dirty_ = false;
    return S_OK;
}

STDMETHODIMP CVitrel32Ctrl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    const HRESULT results[] = {
        WriteBagLong(bag, L"_Version", contract::kStreamVersion),
        WriteBagLong(bag, L"_ExtentX", extent_.cx),
        WriteBagLong(bag, L"_ExtentY", extent_.cy),
        WriteBagLong(bag, L"_StockProps", 0),
        WriteBagShort(bag, L"TransMode", props_.transMode),
        WriteBagShort(bag, L"LayeredAlpha", props_.layeredAlpha),
        WriteBagShort(bag, L"LayeredFlag", props_.layeredFlag),
        WriteBagLong(bag, L"LayeredColor", static_cast<LONG>(props_.layeredColor)),
    };
    for (const HRESULT hr : results)
        if (FAILED(hr)) return hr;
    engine_.SetActiveMode(props_.transMode);
    if (clearDirty) dirty_ = false;
    return S_OK;
}

}  // namespace vitrel
