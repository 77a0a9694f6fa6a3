// Helpers of the control module's tests, and the OLE apartment of each test program.
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dispatch.h"
#include "handles.h"

namespace vitrel::test {
namespace {

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

const auto* const kOleEnvironment = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

HRESULT CreateFrom(HMODULE module, REFCLSID clsid, REFIID iid, void** out) {
    *out = nullptr;
    auto get = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get) return E_FAIL;
    ComPtr<IClassFactory> factory;
    if (const HRESULT hr = get(clsid, IID_IClassFactory, factory.PutVoid()); FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

}  // namespace

std::wstring ModuleFile() { return VITREL32_MODULE_FILE; }

Module& Module::Get() {
    static Module module;
    return module;
}

Module::Module() : module_(LoadLibraryW(ModuleFile().c_str())) {}

HRESULT Module::CreateControl(REFIID iid, void** out) const { return CreateFrom(module_, CLSID_Vitrel, iid, out); }

HRESULT Module::CreatePage(REFIID iid, void** out) const { return CreateFrom(module_, kClsidPropPage, iid, out); }

HRESULT Module::CanUnloadNow() const {
    auto fn = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

int RunProcess(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    const qv::win::UniqueKernelHandle thread(process.hThread), child(process.hProcess);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(child.get(), timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(child.get(), &code);
    else TerminateProcess(child.get(), 99);
    return static_cast<int>(code);
}

int Regsvr32(const std::wstring& switches) {
    return RunProcess(L"regsvr32.exe /s " + switches + L" \"" + ModuleFile() + L"\"");
}

std::wstring DefaultValue(HKEY root, const std::wstring& path) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

HRESULT GetProperty(IDispatch* control, DISPID id, VARIANT& result) {
    VariantInit(&result);
    DISPPARAMS none{};
    return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                           nullptr);
}

short GetShort(IDispatch* control, DISPID id) {
    VARIANT result;
    if (FAILED(GetProperty(control, id, result)) || result.vt != VT_I2) {
        VariantClear(&result);
        return -9999;
    }
    return result.iVal;
}

HRESULT PutProperty(IDispatch* control, DISPID id, const VARIANT& value) {
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                           nullptr);
}

HRESULT PutShort(IDispatch* control, DISPID id, short value) {
    return qv::win::PutNumberProperty(control, id, VT_I2, value);
}

HRESULT PutLong(IDispatch* control, DISPID id, LONG value) {
    return qv::win::PutNumberProperty(control, id, VT_I4, value);
}

ComPtr<IStream> StreamOf(const std::vector<unsigned char>& bytes) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

std::vector<unsigned char> BytesOf(IStream* stream) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::vector<unsigned char> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return bytes;
}

std::vector<unsigned char> ClockStream() {
    return {0x00, 0x00, 0x01, 0x00,  // version 1.0
            0xE5, 0x02, 0x00, 0x00,  // 741
            0xE5, 0x02, 0x00, 0x00,  // 741
            0x00, 0x00, 0x00, 0x00,  // no stock properties
            0x00, 0x00,              // TransMode 0
            0xFF, 0x00,              // LayeredAlpha 255
            0x00, 0x00,              // LayeredFlag 0
            0xE0, 0xDF, 0xE3, 0x00}; // LayeredColor &H00E3DFE0
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace vitrel::test
