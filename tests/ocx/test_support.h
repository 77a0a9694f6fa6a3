// Helpers of the control module's tests: the module loaded from the build tree,
// processes under Wine, registry reading, and typed property access.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"
#include "vitrel32.h"
#include "vitrel_contract.h"
#include "windows_support.h"

namespace vitrel::test {

using qv::win::ComPtr;
using qv::win::test::KeyExists;

// The control's own page, as the contract names it.
inline constexpr const CLSID& kClsidPropPage = contract::kPropertyPageClass;
// The system's standard colour page.
inline constexpr CLSID kClsidStockColorPage = {
    0x0BE35201, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

// A test's own COM object of one interface (Object derives from
// TestObject<Object, Interface>), with one reference for its creator.
template <class Object, class Interface>
class TestObject : public qv::win::ComObject<Object, Interface> {
public:
    static const qv::win::InterfaceEntry<Object> kInterfaces[];
    static ComPtr<Object> Create() { return ComPtr<Object>::Adopt(new Object()); }
};

template <class Object, class Interface>
const qv::win::InterfaceEntry<Object> TestObject<Object, Interface>::kInterfaces[] = {
    {&IID_IUnknown, &qv::win::As<Object, Interface>},
    {&__uuidof(Interface), &qv::win::As<Object, Interface>},
    {},
};

// Vitrel32.ocx of this build, as a Windows path.
std::wstring ModuleFile();
// The control's ProgID, as registration writes it and hosts activate it.
inline const std::wstring kControlProgId = L"VITREL32.Vitrel32Ctrl.1";

// The module loaded with LoadLibrary, as the clock does when the control is
// not registered; stays loaded for the whole test program.
class Module {
public:
    static Module& Get();
    HRESULT CreateControl(REFIID iid, void** out) const;
    HRESULT CreatePage(REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;
    HMODULE Handle() const { return module_; }
    FARPROC Export(const char* name) const { return GetProcAddress(module_, name); }

private:
    Module();
    HMODULE module_ = nullptr;
};

template <class I>
ComPtr<I> NewControl() {
    ComPtr<I> control;
    Module::Get().CreateControl(__uuidof(I), control.PutVoid());
    return control;
}

// Runs a command line, waits, and gives its exit code (-1 when it did not start).
int RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000);
// The real regsvr32, silent, on this build's module (switches such as /u, /n /i:user).
int Regsvr32(const std::wstring& switches);

// The default value of a key, or "<missing>".
std::wstring DefaultValue(HKEY root, const std::wstring& path);
std::wstring GuidText(REFGUID guid);

// Property access through IDispatch::Invoke by DISPID.
HRESULT GetProperty(IDispatch* control, DISPID id, VARIANT& result);
short GetShort(IDispatch* control, DISPID id);
HRESULT PutProperty(IDispatch* control, DISPID id, const VARIANT& value);
HRESULT PutShort(IDispatch* control, DISPID id, short value);
HRESULT PutLong(IDispatch* control, DISPID id, LONG value);

// A stream holding the given bytes, positioned at its start.
ComPtr<IStream> StreamOf(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> BytesOf(IStream* stream);

// The stored stream of a clock window: version 1.0, 741 x 741, mask 0,
// TransMode 0, LayeredAlpha 255, LayeredFlag 0, LayeredColor &H00E3DFE0.
std::vector<unsigned char> ClockStream();

// Handles the thread's pending messages.
void PumpMessages();

}  // namespace vitrel::test
