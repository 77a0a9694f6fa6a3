// The monitors' work areas for the core's placement rule.
#include "placement.h"

#include <vector>

namespace qv::win {

RECT KeepButtonsReachable(const RECT& window, const RECT& buttons, std::span<const Monitor> monitors) {
    std::vector<ScreenRect> areas;
    areas.reserve(monitors.size());
    for (const Monitor& m : monitors) areas.push_back(m.work);
    const ScreenShift shift = LeastMoveOnto({buttons.left, buttons.top, buttons.right, buttons.bottom}, areas);
    RECT moved = window;
    OffsetRect(&moved, shift.dx, shift.dy);
    return moved;
}

}  // namespace qv::win
