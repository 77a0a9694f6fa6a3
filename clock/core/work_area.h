// Where the clock window may stand: its buttons wholly on a monitor's work
// area, so that a borderless, transparent window can still be reached.
#pragma once

#include <span>

namespace qv {

// Screen pixels; right and bottom lie just outside.
struct ScreenRect {
    long left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenShift {
    long dx = 0, dy = 0;
    bool operator==(const ScreenShift&) const = default;
};

// The shortest move that puts `target` wholly inside one of the work areas:
// none when it already lies inside one (or there is no work area). A target
// larger than an area is put at that area's left or top edge.
ScreenShift LeastMoveOnto(const ScreenRect& target, std::span<const ScreenRect> workAreas);

}  // namespace qv
