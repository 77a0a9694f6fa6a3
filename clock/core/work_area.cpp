// The least move of a rectangle onto one of several work areas.
#include "work_area.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {

// The move along one axis that brings [low, high) inside [areaLow, areaHigh).
long MoveInto(long low, long high, long areaLow, long areaHigh) {
    if (high - low > areaHigh - areaLow) return areaLow - low;
    if (low < areaLow) return areaLow - low;
    if (high > areaHigh) return areaHigh - high;
    return 0;
}

}  // namespace

ScreenShift LeastMoveOnto(const ScreenRect& target, std::span<const ScreenRect> workAreas) {
    std::optional<ScreenShift> best;
    long long bestDistance = 0;
    for (const ScreenRect& area : workAreas) {
        if (area.right <= area.left || area.bottom <= area.top) continue;
        const ScreenShift shift{MoveInto(target.left, target.right, area.left, area.right),
                                MoveInto(target.top, target.bottom, area.top, area.bottom)};
        const long long distance = static_cast<long long>(shift.dx) * shift.dx + static_cast<long long>(shift.dy) * shift.dy;
        if (!best || distance < bestDistance) {
            best = shift;
            bestDistance = distance;
        }
    }
    return best.value_or(ScreenShift{});
}

}  // namespace qv
