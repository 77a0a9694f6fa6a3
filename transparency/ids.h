// The identifiers of the module beyond the contract (the system's colour page,
// the ProgIDs, the OLE status), and the interfaces the type library generates.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "vitrel32.h"
#include "vitrel_contract.h"

namespace vitrel {

// The system's standard colour property page.
inline constexpr CLSID kClsidStockColorPage = {
    0x0BE35201, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

inline constexpr wchar_t kControlProgId[] = L"VITREL32.Vitrel32Ctrl.1";
inline constexpr wchar_t kPageProgId[] = L"VITREL32.Vitrel32PropPage.1";

// Status of the control for OLE hosts: set client site first, acts like a
// label, activate when visible, inside-out, can't link inside, recompose on resize.
inline constexpr DWORD kMiscStatus = 0x22191;

}  // namespace vitrel
