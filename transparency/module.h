// The module's own identity and lifetime: its instance handle and path, the
// lock count behind DllCanUnloadNow, its strings and its type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>
#include <type_traits>

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

// Runs fn at a COM boundary, where no C++ exception may pass: an allocation
// failure becomes E_OUTOFMEMORY. fn returns an HRESULT or nothing (S_OK).
template <class Fn>
[[nodiscard]] HRESULT Guarded(Fn&& fn) noexcept {
    try {
        if constexpr (std::is_void_v<decltype(fn())>) {
            fn();
            return S_OK;
        } else {
            return fn();
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// The type library: always the copy embedded in this module, whatever is
// registered under its ID (another build registered under the same ID and
// version would describe other vtables), so that a module works registered
// or not, and registration never trusts the registry.
[[nodiscard]] HRESULT LoadVitrelTypeLib(ComPtr<ITypeLib>& lib);
[[nodiscard]] HRESULT LoadVitrelTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& info);

}  // namespace vitrel
