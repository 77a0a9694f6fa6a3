// Self-registration: DllRegisterServer, DllUnregisterServer and DllInstall
// ("user" registers for the current user alone, under HKCU\Software\Classes).
// Registration and unregistration share one table, so removal takes away
// exactly the keys that registration wrote.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "handles.h"
#include "text.h"
#include "ids.h"
#include "module.h"
#include "resource.h"

// Not declared by mingw-w64's oleauto.h.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* lib, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libid, WORD major, WORD minor, LCID lcid,
                                                   SYSKIND syskind);

namespace vitrel {
namespace {

enum class Scope { Machine, User };

struct RegistryValue {
    std::wstring key;   // below the classes root
    std::wstring data;  // the key's default value
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::vector<RegistryValue> ControlEntries(const std::wstring& path) {
    const std::wstring clsid = L"CLSID\\" + GuidText(contract::kControlClass);
    const std::wstring name = LoadModuleString(IDS_VITREL32_CONTROL);
    const std::wstring progId = kControlProgId;
    return {
        {clsid, name},
        {clsid + L"\\ProgID", progId},
        {clsid + L"\\InprocServer32", path},
        {clsid + L"\\ToolboxBitmap32", path + L", " + qv::win::DecimalText(IDB_VITREL32_TOOLBOX)},
        {clsid + L"\\Insertable", L""},
        {clsid + L"\\Control", L""},
        {clsid + L"\\MiscStatus", L"0"},
        {clsid + L"\\MiscStatus\\1", qv::win::DecimalText(kMiscStatus)},
        {clsid + L"\\TypeLib", GuidText(contract::kLibraryId)},
        {clsid + L"\\Version", L"1.0"},
        {progId, name},
        {progId + L"\\CLSID", GuidText(contract::kControlClass)},
        {progId + L"\\Insertable", L""},
    };
}

std::vector<RegistryValue> PageEntries(const std::wstring& path) {
    const std::wstring clsid = L"CLSID\\" + GuidText(contract::kPropertyPageClass);
    const std::wstring name = LoadModuleString(IDS_VITREL32_PAGE);
    const std::wstring progId = kPageProgId;
    return {
        {clsid, name},
        {clsid + L"\\ProgID", progId},
        {clsid + L"\\InprocServer32", path},
        {progId, name},
        {progId + L"\\CLSID", GuidText(contract::kPropertyPageClass)},
    };
}

// The keys whose whole trees belong to one class.
std::vector<std::wstring> OwnedTrees(REFCLSID clsid, const wchar_t* progId) {
    return {L"CLSID\\" + GuidText(clsid), progId};
}

class ClassesRoot {
public:
    explicit ClassesRoot(Scope scope) {
        if (scope == Scope::Machine) {
            root_ = HKEY_CLASSES_ROOT;
            return;
        }
        HKEY key = nullptr;
        status_ = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0,
                                  KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
        owned_.reset(key);
        root_ = key;
    }
    bool Write(const std::vector<RegistryValue>& values) const {
        if (status_ != ERROR_SUCCESS) return false;
        for (const RegistryValue& value : values) {
            HKEY raw = nullptr;
            if (RegCreateKeyExW(root_, value.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                                nullptr) != ERROR_SUCCESS)
                return false;
            qv::win::UniqueKey key(raw);
            const auto bytes = static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t));
            if (RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.data.c_str()), bytes) != ERROR_SUCCESS)
                return false;
        }
        return true;
    }
    // A tree that is already gone counts as removed.
    bool Remove(const std::vector<std::wstring>& trees) const {
        if (status_ != ERROR_SUCCESS) return false;
        bool ok = true;
        for (const std::wstring& tree : trees) {
            const LSTATUS status = RegDeleteTreeW(root_, tree.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) ok = false;
        }
        return ok;
    }

private:
    HKEY root_ = nullptr;
    qv::win::UniqueKey owned_;
    LSTATUS status_ = ERROR_SUCCESS;
};

HRESULT RegisterTypeLibrary(Scope scope, const std::wstring& path) {
    ComPtr<ITypeLib> lib;
    if (FAILED(LoadVitrelTypeLib(lib))) return SELFREG_E_TYPELIB;
    std::wstring file = path;
    // No help directory: the library has no help file.
    const HRESULT hr = scope == Scope::Machine ? RegisterTypeLib(lib.Get(), file.data(), nullptr)
                                               : RegisterTypeLibForUser(lib.Get(), file.data(), nullptr);
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT UnregisterTypeLibrary(Scope scope) {
    ComPtr<ITypeLib> lib;
    if (FAILED(LoadVitrelTypeLib(lib))) return SELFREG_E_TYPELIB;
    TLIBATTR* attr = nullptr;
    if (FAILED(lib->GetLibAttr(&attr))) return SELFREG_E_TYPELIB;
    const TLIBATTR copy = *attr;
    lib->ReleaseTLibAttr(attr);
    // A library that is not registered is already unregistered.
    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, &registeredPath)))
        return S_OK;
    SysFreeString(registeredPath);
    // The version and platform of the embedded library, so that exactly the
    // registration written by RegisterTypeLibrary goes.
    const HRESULT hr =
        scope == Scope::Machine
            ? UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind)
            : UnRegisterTypeLibForUser(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                                       copy.syskind);
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT Register(Scope scope) {
    const std::wstring path = ModulePath();
    if (path.empty()) return SELFREG_E_CLASS;
    if (const HRESULT hr = RegisterTypeLibrary(scope, path); FAILED(hr)) return hr;
    const ClassesRoot root(scope);
    if (!root.Write(ControlEntries(path))) return SELFREG_E_CLASS;
    if (!root.Write(PageEntries(path))) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT Unregister(Scope scope) {
    if (const HRESULT hr = UnregisterTypeLibrary(scope); FAILED(hr)) return hr;
    const ClassesRoot root(scope);
    if (!root.Remove(OwnedTrees(contract::kControlClass, kControlProgId))) return SELFREG_E_CLASS;
    if (!root.Remove(OwnedTrees(contract::kPropertyPageClass, kPageProgId))) return SELFREG_E_CLASS;
    return S_OK;
}

}  // namespace
}  // namespace vitrel

extern "C" HRESULT WINAPI DllRegisterServer() {
    return vitrel::Guarded([] { return vitrel::Register(vitrel::Scope::Machine); });
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    return vitrel::Guarded([] { return vitrel::Unregister(vitrel::Scope::Machine); });
}

// regsvr32 /n /i:user registers for the current user; without a command line
// DllInstall behaves like DllRegisterServer / DllUnregisterServer.
extern "C" HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    vitrel::Scope scope = vitrel::Scope::Machine;
    if (commandLine && *commandLine) {
        if (lstrcmpiW(commandLine, L"user") != 0) return E_INVALIDARG;
        scope = vitrel::Scope::User;
    }
    return vitrel::Guarded([install, scope] { return install ? vitrel::Register(scope) : vitrel::Unregister(scope); });
}
