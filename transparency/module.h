// The module's own identity and lifetime: its instance handle and path, the
// lock count behind DllCanUnloadNow, its strings and its type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "com_ptr.h"
#include "window.h"

namespace vitrel {

using qv::win::ComPtr;

// The module's own instance (not its host's).
using qv::win::ModuleInstance;
std::wstring ModulePath();

// Objects and IClassFactory::LockServer keep the module loaded.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// Held by every object of the module for its whole life.
class ModuleLock {
public:
    ModuleLock() { LockModule(); }
    ~ModuleLock() { UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

std::wstring LoadModuleString(UINT id);

// The locale of the type library (English, United States).
inline constexpr LCID kTypeLibLocale = 0x409;

// The type library: the registered one when there is one, else the copy
// embedded in this module, so an unregistered module works as well.
[[nodiscard]] HRESULT LoadVitrelTypeLib(ComPtr<ITypeLib>& lib);
// The embedded copy only (registration must not trust the registry).
[[nodiscard]] HRESULT LoadEmbeddedTypeLib(ComPtr<ITypeLib>& lib);
[[nodiscard]] HRESULT LoadVitrelTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info);

}  // namespace vitrel
