// The module's entry points DllMain, DllGetClassObject and DllCanUnloadNow,
// its lock count, and access to its own resources.
#include "module.h"

#include <oleauto.h>

#include "class_factory.h"
#include "ids.h"
#include "window_classes.h"

namespace vitrel {
namespace {

LONG g_locks = 0;

}  // namespace

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() { return g_locks; }

std::wstring LoadModuleString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const int n = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring();
}

HRESULT LoadVitrelTypeLib(ComPtr<ITypeLib>& lib) {
    std::wstring path;
    if (const HRESULT hr = Guarded([&path] { path = ModulePath(); }); FAILED(hr)) return hr;
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.Put());
}

HRESULT LoadVitrelTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info) {
    ComPtr<ITypeLib> lib;
    if (const HRESULT hr = LoadVitrelTypeLib(lib); FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(guid, info.Put());
}

}  // namespace vitrel

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // FreeLibrary: the classes must not outlive the procedures they name.
        vitrel::UnregisterWindowClasses();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return vitrel::GetClassFactory(clsid, iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return vitrel::ModuleLockCount() == 0 ? S_OK : S_FALSE; }
