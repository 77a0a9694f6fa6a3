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

// Overlap of two rectangles (0 when they do not meet), and the squared
// distance between them (0 when they meet).
long long Overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

long long Gap(const ScreenRect& a, const ScreenRect& b) {
    const long long dx = std::max({0L, b.left - a.right, a.left - b.right});
    const long long dy = std::max({0L, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

}  // namespace

const Monitor* MonitorFor(const ScreenRect& target, std::span<const Monitor> monitors) {
    const Monitor* best = nullptr;
    long long bestOverlap = 0;
    for (const Monitor& m : monitors) {
        const long long overlap = Overlap(target, m.bounds);
        if (overlap > bestOverlap) {
            best = &m;
            bestOverlap = overlap;
        }
    }
    if (best) return best;
    long long bestGap = 0;
    for (const Monitor& m : monitors) {
        const long long gap = Gap(target, m.bounds);
        if (!best || gap < bestGap) {
            best = &m;
            bestGap = gap;
        }
    }
    return best;
}

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
