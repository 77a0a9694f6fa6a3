// Hosting the transparency control: creation (registered, or from the program
// folder), the stored property stream, in-place activation, and the
// two property puts of transparent display.
#include "transparency_control.h"

#include <ole2.h>
#include <olectl.h>

#include "control_site.h"
#include "dispatch.h"
#include "vitrel_contract.h"

namespace qv::win {
namespace {

namespace contract = vitrel::contract;

// The properties every clock window stores for its control: format version
// 1.0, extent 741 x 741 HIMETRIC (28 x 28 pixels), no stock properties,
// TransMode 0, LayeredAlpha 255, LayeredFlag 0 and the clock's key colour.
constexpr contract::StreamLayout kStoredProperties{
    {contract::kStreamVersion, contract::kDefaultExtent, contract::kDefaultExtent, 0},
    {contract::TransOff, 255, contract::kLayeredColorKey, contract::kClockKeyColor}};

ComPtr<IStream> StreamOf(const contract::StreamLayout& stored) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
    ULONG written = 0;
    if (FAILED(stream->Write(&stored, sizeof stored, &written))) return {};
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

// The module loaded from the program folder stays loaded for the life of the
// process: the control may have replaced a window procedure with its own.
ComPtr<IOleObject> CreateFromProgramFolder(const std::wstring& programFolder) {
    HMODULE module = LoadLibraryW((programFolder + L"\\" + contract::kModuleFile).c_str());
    if (!module) return {};
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!getClassObject) return {};
    ComPtr<IClassFactory> factory;
    if (FAILED(getClassObject(contract::kControlClass, IID_IClassFactory, factory.PutVoid()))) return {};
    ComPtr<IOleObject> object;
    if (FAILED(factory->CreateInstance(nullptr, IID_IOleObject, object.PutVoid()))) return {};
    return object;
}

}  // namespace

std::unique_ptr<TransparencyControl> TransparencyControl::Create(HWND container,
                                                                 const std::wstring& programFolder) {
    ComPtr<IOleObject> object;
    if (FAILED(CoCreateInstance(contract::kControlClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                object.PutVoid()))) {
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
    auto stream = StreamOf(kStoredProperties);
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
    PutShort(contract::kDispTransMode, contract::TransLayered);
    PutShort(contract::kDispLayeredFlag, contract::kLayeredColorKey);
}

void TransparencyControl::PutShort(long dispid, short value) {
    // A control that refuses the value leaves the clock opaque: nothing to tell the user.
    if (auto dispatch = object_.As<IDispatch>()) (void)PutNumberProperty(dispatch.Get(), dispid, VT_I2, value);
}

}  // namespace qv::win
