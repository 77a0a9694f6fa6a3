// A window's name, description or role for screen readers, other than the
// system's: its window answers WM_GETOBJECT with the system's own accessible
// object for it, but named, described or given the role as set. (Where annotation through IAccPropServices is a stub, as
// under Wine 8, this is the way that works everywhere.)
#pragma once

#include <windows.h>

#include <string>

namespace qv::win {

// Each subclasses the window for as long as it exists (once for all three);
// false when it could not.
bool SetAccessibleName(HWND control, std::wstring name);
bool SetAccessibleDescription(HWND window, std::wstring description);
bool SetAccessibleRole(HWND window, long role);

}  // namespace qv::win
