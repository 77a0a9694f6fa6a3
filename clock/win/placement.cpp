// The monitors' work areas for the core's placement rule.
#include "placement.h"

#include <vector>

#include "work_area.h"

namespace qv::win {

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& w = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back({w.left, w.top, w.right, w.bottom});
    }
    return TRUE;
}

}  // namespace

RECT KeepButtonsReachable(const RECT& window, const RECT& buttons) {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    const ScreenShift shift = LeastMoveOnto({buttons.left, buttons.top, buttons.right, buttons.bottom}, areas);
    RECT moved = window;
    OffsetRect(&moved, shift.dx, shift.dy);
    return moved;
}

}  // namespace qv::win
