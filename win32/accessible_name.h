// A control's name for screen readers, other than its caption: its window
// answers WM_GETOBJECT with the system's own accessible object for it, but
// named as given. (Where annotation through IAccPropServices is a stub, as
// under Wine 8, this is the way that works everywhere.)
#pragma once

#include <windows.h>

#include <string>

namespace qv::win {

// Subclasses the control for as long as it exists; false when it could not.
bool SetAccessibleName(HWND control, std::wstring name);

}  // namespace qv::win
