// Keeps the clock window within reach: its three buttons wholly on a
// monitor's work area.
#pragma once

#include <windows.h>

#include <span>

#include "monitors.h"

namespace qv::win {

// The window rectangle moved the least distance that puts `buttons` (in the
// same screen coordinates) wholly on one monitor's work area; the rectangle
// itself when they already lie on one.
RECT KeepButtonsReachable(const RECT& window, const RECT& buttons, std::span<const Monitor> monitors);

}  // namespace qv::win
