// Keeps a window on the screen: a rectangle wholly off every monitor is moved
// onto the nearest monitor's work area.
#pragma once

#include <windows.h>

namespace qv::win {

// The rectangle itself when any monitor shows part of it; otherwise the same
// size moved into the nearest monitor's work area (its top-left corner when
// larger than the work area).
RECT KeepOnScreen(const RECT& window);

}  // namespace qv::win
