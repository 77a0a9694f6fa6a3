// Registration through the real regsvr32, machine-wide and per user, the
// registered type library, and a script host using the control by ProgID.
#include <gtest/gtest.h>

#include "temp_folder.h"
#include "test_support.h"

namespace vitrel::test {
namespace {

const std::wstring kControlKey = L"CLSID\\" + GuidText(CLSID_Vitrel);
const std::wstring kPageKey = L"CLSID\\" + GuidText(kClsidPropPage);
const std::wstring kTypeLibKey = L"TypeLib\\" + GuidText(LIBID_VITREL32Lib);
const std::wstring kPageProgId = L"VITREL32.Vitrel32PropPage.1";
#ifdef _WIN64
const wchar_t kPlatform[] = L"win64";
#else
const wchar_t kPlatform[] = L"win32";
#endif

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

bool HasValue(HKEY root, const std::wstring& key, const wchar_t* name) {
    return RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The class keys of both classes below a classes root, as registration writes them.
void ExpectClassKeys(HKEY root, const std::wstring& prefix) {
    const std::wstring control = prefix + kControlKey;
    EXPECT_EQ(DefaultValue(root, control), L"Vitrel32 Control");
    EXPECT_EQ(DefaultValue(root, control + L"\\ProgID"), kControlProgId);
    EXPECT_EQ(Lower(DefaultValue(root, control + L"\\InprocServer32")), Lower(ModuleFile()));
    EXPECT_FALSE(HasValue(root, control + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(Lower(DefaultValue(root, control + L"\\ToolboxBitmap32")), Lower(ModuleFile()) + L", 1");
    EXPECT_TRUE(KeyExists(root, control + L"\\Insertable"));
    EXPECT_TRUE(KeyExists(root, control + L"\\Control"));
    EXPECT_EQ(DefaultValue(root, control + L"\\MiscStatus\\1"), L"139665");
    EXPECT_EQ(DefaultValue(root, control + L"\\TypeLib"), GuidText(LIBID_VITREL32Lib));
    EXPECT_EQ(DefaultValue(root, control + L"\\Version"), L"1.0");
    EXPECT_EQ(DefaultValue(root, prefix + kControlProgId), L"Vitrel32 Control");
    EXPECT_EQ(DefaultValue(root, prefix + kControlProgId + L"\\CLSID"), GuidText(CLSID_Vitrel));
    EXPECT_TRUE(KeyExists(root, prefix + kControlProgId + L"\\Insertable"));

    const std::wstring page = prefix + kPageKey;
    EXPECT_EQ(DefaultValue(root, page), L"Vitrel32 Property Page");
    EXPECT_EQ(Lower(DefaultValue(root, page + L"\\InprocServer32")), Lower(ModuleFile()));
    EXPECT_EQ(DefaultValue(root, prefix + kPageProgId + L"\\CLSID"), GuidText(kClsidPropPage));
}

void ExpectNoClassKeys(HKEY root, const std::wstring& prefix) {
    for (const std::wstring& key : {kControlKey, kPageKey, kControlProgId, kPageProgId})
        EXPECT_FALSE(KeyExists(root, prefix + key)) << std::string(key.begin(), key.end());
}

void ExpectRegisteredTypeLibrary() {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadRegTypeLib(LIBID_VITREL32Lib, 1, 0, 0x409, lib.Put()), S_OK);
    TLIBATTR* libAttr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
    EXPECT_TRUE(libAttr->wLibFlags & LIBFLAG_FCONTROL);
    EXPECT_EQ(libAttr->wMajorVerNum, 1);
    EXPECT_EQ(libAttr->wMinorVerNum, 0);
    EXPECT_EQ(libAttr->lcid, 0x409u);
    lib->ReleaseTLibAttr(libAttr);
    BSTR help = nullptr;
    ASSERT_EQ(lib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(help), L"Vitrel32 OLE Control module");
    SysFreeString(help);

    ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID__DVitrel32, dispatch.Put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FHIDDEN);
    dispatch->ReleaseTypeAttr(attr);

    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_Vitrel, coclass.Put()), S_OK);
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCONTROL);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
    ASSERT_EQ(attr->cImplTypes, 2);
    coclass->ReleaseTypeAttr(attr);
    ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(help), L"Vitrel32 Control");
    SysFreeString(help);
    const std::pair<const IID*, int> implemented[] = {
        {&DIID__DVitrel32, IMPLTYPEFLAG_FDEFAULT},
        {&DIID__DVitrel32Events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
    };
    for (UINT i = 0; i < 2; ++i) {
        INT flags = 0;
        ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
        EXPECT_EQ(flags, implemented[i].second);
        HREFTYPE ref = 0;
        ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &ref), S_OK);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(coclass->GetRefTypeInfo(ref, info.Put()), S_OK);
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->guid, *implemented[i].first);
        info->ReleaseTypeAttr(attr);
    }
}

// A VBScript that creates the control by ProgID, reads and writes every
// property by name and calls IsLayered(); its exit code counts the failures.
const char kScript[] = R"(On Error Resume Next
Dim c, v, fails
fails = 0
Sub Expect(actual, wanted, what)
  If Err.Number <> 0 Then
    WScript.Echo what & ": error " & Err.Number
    fails = fails + 1
    Err.Clear
  ElseIf actual <> wanted Then
    WScript.Echo what & ": " & actual & " <> " & wanted
    fails = fails + 1
  End If
End Sub
Set c = CreateObject("VITREL32.Vitrel32Ctrl.1")
If Err.Number <> 0 Then WScript.Quit 100
v = c.TransMode : Expect v, 1, "TransMode"
v = c.LayeredFlag : Expect v, 1, "LayeredFlag"
v = c.LayeredAlpha : Expect v, 255, "LayeredAlpha"
v = c.LayeredColor : Expect (v >= 0), True, "LayeredColor"
c.TransMode = 4 : v = c.TransMode : Expect v, 4, "TransMode write"
c.TransMode = 7 : v = c.TransMode : Expect v, 4, "TransMode out of range"
v = c : Expect v, 4, "default property"
c.LayeredAlpha = 50 : v = c.LayeredAlpha : Expect v, 50, "LayeredAlpha write"
c.LayeredAlpha = 300 : v = c.LayeredAlpha : Expect v, 50, "LayeredAlpha out of range"
c.LayeredFlag = 0 : v = c.LayeredFlag : Expect v, 0, "LayeredFlag write"
c.LayeredColor = &HE3DFE0& : v = c.LayeredColor : Expect v, &HE3DFE0&, "LayeredColor write"
v = c.IsLayered() : Expect v, True, "IsLayered"
Set c = Nothing
WScript.Quit fails
)";


TEST(Registration, Regsvr32RegistersAndUnregistersMachineWide) {
    ASSERT_EQ(Regsvr32(L""), 0);
    {
        SCOPED_TRACE("machine-wide class keys");
        ExpectClassKeys(HKEY_CLASSES_ROOT, L"");
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0\\409\\" + kPlatform));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(DIID__DVitrel32Events)));
    ExpectRegisteredTypeLibrary();

    // Activation by class and by ProgID.
    CLSID fromProgId{};
    EXPECT_EQ(CLSIDFromProgID(kControlProgId.c_str(), &fromProgId), S_OK);
    EXPECT_EQ(fromProgId, CLSID_Vitrel);
    ComPtr<IDispatch> control;
    EXPECT_EQ(CoCreateInstance(CLSID_Vitrel, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid()), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 1);
    control.Reset();

    const qv::test::TempFolder temp(L"vitrel32-");
    const std::wstring script = (temp.path() / L"vitrel32_script_test.vbs").wstring();
    qv::test::WriteAllBytes(script, kScript);
    EXPECT_EQ(RunProcess(L"cscript.exe //nologo \"" + script + L"\""), 0);

    ASSERT_EQ(Regsvr32(L"/u"), 0);
    ExpectNoClassKeys(HKEY_CLASSES_ROOT, L"");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(DIID__DVitrel32)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(DIID__DVitrel32Events)));
    ComPtr<ITypeLib> lib;
    EXPECT_TRUE(FAILED(LoadRegTypeLib(LIBID_VITREL32Lib, 1, 0, 0x409, lib.Put())));

    // Unregistering what is not registered is not a failure.
    EXPECT_EQ(Regsvr32(L"/u"), 0);
}

TEST(Registration, PerUserRegistrationWritesTheCurrentUsersClasses) {
    ASSERT_EQ(Regsvr32(L"/n /i:user"), 0);
    {
        SCOPED_TRACE("per-user class keys");
        ExpectClassKeys(HKEY_CURRENT_USER, L"Software\\Classes\\");
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + kControlKey));
    ExpectRegisteredTypeLibrary();

    ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0);
    ExpectNoClassKeys(HKEY_CURRENT_USER, L"Software\\Classes\\");
    ComPtr<ITypeLib> lib;
    EXPECT_TRUE(FAILED(LoadRegTypeLib(LIBID_VITREL32Lib, 1, 0, 0x409, lib.Put())));
}

// Another build of the library registered under the same ID and version,
// one without this module's types: calls still go through the module's own.
TEST(Registration, DispatchIgnoresAnotherRegisteredTypeLibrary) {
    ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey)) << "the library is registered already";
    const qv::test::TempFolder temp(L"vitrel32-");
    const std::wstring other = (temp.path() / L"vitrel32_other_build.tlb").wstring();
    {
        ComPtr<ICreateTypeLib2> create;
        ASSERT_EQ(CreateTypeLib2(SYS_WIN32, other.c_str(), create.Put()), S_OK);
        ASSERT_EQ(create->SetGuid(LIBID_VITREL32Lib), S_OK);
        ASSERT_EQ(create->SetVersion(1, 0), S_OK);
        ASSERT_EQ(create->SetLcid(0x409), S_OK);
        ASSERT_EQ(create->SetName(const_cast<LPOLESTR>(L"VITREL32Lib")), S_OK);
        ASSERT_EQ(create->SaveAllChanges(), S_OK);
    }
    const std::wstring key = kTypeLibKey + L"\\1.0\\409\\" + kPlatform;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, other.c_str(),
                              static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ComPtr<ITypeLib> registered;
    EXPECT_EQ(LoadRegTypeLib(LIBID_VITREL32Lib, 1, 0, 0x409, registered.Put()), S_OK);
    registered.Reset();

    auto control = NewControl<IDispatch>();
    EXPECT_EQ(GetShort(control.Get(), 1), 1);
    EXPECT_EQ(PutShort(control.Get(), 1, 3), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 3);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"LayeredAlpha");
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, 0x409, &id), S_OK);
    EXPECT_EQ(id, 3);
    control.Reset();
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTypeLibKey.c_str());
}

TEST(Registration, UnknownInstallCommandIsRefused) {
    using DllInstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
    auto install = reinterpret_cast<DllInstallFn>(reinterpret_cast<void*>(Module::Get().Export("DllInstall")));
    ASSERT_TRUE(install);
    EXPECT_EQ(install(TRUE, L"everyone"), E_INVALIDARG);
    ExpectNoClassKeys(HKEY_CURRENT_USER, L"Software\\Classes\\");
}

}  // namespace
}  // namespace vitrel::test
