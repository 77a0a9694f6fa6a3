// The DPI of a window's or a monitor's own, for a program aware of each
// monitor's scale. The functions that give it are newer than Windows 7 and
// are looked up when first needed; without them every window has the
// system's DPI, as a system-aware program sees it.
#pragma once

#include <windows.h>

namespace qv::win {

// Dots per inch of the monitor the window is on.
int WindowDpi(HWND window);
// Dots per inch of a monitor (its effective DPI, as the user scaled it).
int MonitorDpi(HMONITOR monitor);
// The outer rectangle of a window with `client` as its client area, with
// the frame that the window has at `dpi`.
RECT OuterForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);

}  // namespace qv::win
