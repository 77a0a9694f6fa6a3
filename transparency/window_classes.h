// The window classes the module registers: the overlay and the control window.
#pragma once

#include <windows.h>

namespace vitrel {

inline constexpr wchar_t kOverlayClass[] = L"TransProc";
inline constexpr wchar_t kControlWindowClass[] = L"Vitrel32CtrlWindow";

// Registered on first use, with this module's instance; the overlay class is
// double-click aware so that double-clicks are forwarded as such.
void EnsureOverlayClass();
void EnsureControlWindowClass(WNDPROC procedure);
void UnregisterWindowClasses();

}  // namespace vitrel
