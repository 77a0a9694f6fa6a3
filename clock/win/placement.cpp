// Monitor lookup for KeepOnScreen.
#include "placement.h"

#include <algorithm>

namespace qv::win {

RECT KeepOnScreen(const RECT& window) {
    if (MonitorFromRect(&window, MONITOR_DEFAULTTONULL)) return window;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &info)) return window;
    const RECT& work = info.rcWork;
    LONG width = window.right - window.left;
    LONG height = window.bottom - window.top;
    LONG left = std::max(work.left, std::min(window.left, work.right - width));
    LONG top = std::max(work.top, std::min(window.top, work.bottom - height));
    return RECT{left, top, left + width, top + height};
}

}  // namespace qv::win
