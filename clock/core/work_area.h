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

// A monitor as the clock window sees it: its whole area, the part of it that
// windows may take (without the task bar), and its dots per inch.
struct Monitor {
    ScreenRect bounds;
    ScreenRect work;
    int dpi = 96;
    bool operator==(const Monitor&) const = default;
};

// The monitor that holds the largest part of `target`; when none holds any
// of it, the one nearest to it (as the system picks a window's monitor).
// Null only when there is no monitor.
const Monitor* MonitorFor(const ScreenRect& target, std::span<const Monitor> monitors);

}  // namespace qv
