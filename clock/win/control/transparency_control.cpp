// Hosting the transparency control: creation (registered, or from the program
// folder), the stored 26-byte property stream, in-place activation, and the
// two property puts of transparent display.
#include "transparency_control.h"

#include <ole2.h>
#include <olectl.h>

#include <array>
#include <cstring>

#include "control_site.h"

namespace qv::win {
namespace {

// {6E31C4A3-52B7-11D0-B3F4-7A91D2C5E8B6}
constexpr CLSID kControlClass = {0x6E31C4A3, 0x52B7, 0x11D0, {0xB3, 0xF4, 0x7A, 0x91, 0xD2, 0xC5, 0xE8, 0xB6}};

constexpr long kDispIdTransMode = 1;
constexpr long kDispIdLayeredFlag = 4;

// The properties every clock window stores for its control: format version
// 1.0, extent 741 x 741 HIMETRIC (28 x 28 pixels), no stock properties,
// TransMode 0, LayeredAlpha 255, LayeredFlag 0, LayeredColor &H00E3DFE0.
std::array<unsigned char, 26> StoredProperties() {
    std::array<unsigned char, 26> bytes{};
    auto put32 = [&](std::size_t at, unsigned long v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto put16 = [&](std::size_t at, unsigned v) {
        bytes[at] = static_cast<unsigned char>(v);
        bytes[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    put32(0, 0x10000);
    put32(4, 741);
    put32(8, 741);
    put32(12, 0);
    put16(16, 0);
    put16(18, 255);
    put16(20, 0);
    put32(22, TransparencyControl::kKeyColor);
    return bytes;
}

ComPtr<IStream> StreamOf(const std::array<unsigned char, 26>& bytes) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
    ULONG written = 0;
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written))) return {};
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

// The module loaded from the program folder stays loaded for the life of the
// process: the control may have replaced a window procedure with its own.
ComPtr<IOleObject> CreateFromProgramFolder(const std::filesystem::path& programFolder) {
    HMODULE module = LoadLibraryW((programFolder / L"Vitrel32.ocx").c_str());
    if (!module) return {};
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!getClassObject) return {};
    ComPtr<IClassFactory> factory;
    if (FAILED(getClassObject(kControlClass, IID_IClassFactory, factory.PutVoid()))) return {};
    ComPtr<IOleObject> object;
    if (FAILED(factory->CreateInstance(nullptr, IID_IOleObject, object.PutVoid()))) return {};
    return object;
}

}  // namespace

std::unique_ptr<TransparencyControl> TransparencyControl::Create(HWND container,
                                                                 const std::filesystem::path& programFolder) {
    ComPtr<IOleObject> object;
    if (FAILED(CoCreateInstance(kControlClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.PutVoid()))) {
        object = CreateFromProgramFolder(programFolder);
    }
    if (!object) return nullptr;

    // Off the client area: the control draws nothing at run time and must not
    // take the mouse from the buttons in the corner.
    RECT rect{-28, -28, 0, 0};
    ComPtr<ControlSite> site = ComPtr<ControlSite>::Adopt(ControlSite::Create(container, rect));
    if (!site) return nullptr;
    ComPtr<IOleClientSite> clientSite(static_cast<IOleClientSite*>(site.Get()));

    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) object->SetClientSite(clientSite.Get());

    auto persist = object.As<IPersistStreamInit>();
    auto stream = StreamOf(StoredProperties());
    if (!persist || !stream || FAILED(persist->Load(stream.Get()))) {
        object->SetClientSite(nullptr);
        return nullptr;
    }
    if (!siteFirst) object->SetClientSite(clientSite.Get());

    if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite.Get(), 0, container, &rect))) {
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        return nullptr;
    }
    return std::make_unique<TransparencyControl>(Key{}, std::move(object));
}

TransparencyControl::TransparencyControl(Key, ComPtr<IOleObject> object) : object_(std::move(object)) {}

TransparencyControl::~TransparencyControl() {
    if (auto inPlace = object_.As<IOleInPlaceObject>()) inPlace->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
}

HWND TransparencyControl::window() const {
    HWND hwnd = nullptr;
    if (auto inPlace = object_.As<IOleInPlaceObject>()) inPlace->GetWindow(&hwnd);
    return hwnd;
}

void TransparencyControl::SwitchOnTransparency() {
    PutShort(kDispIdTransMode, 4);
    PutShort(kDispIdLayeredFlag, 0);
}

void TransparencyControl::PutShort(long dispid, short value) {
    auto dispatch = object_.As<IDispatch>();
    if (!dispatch) return;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I2;
    arg.iVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                     nullptr);
}

}  // namespace qv::win
