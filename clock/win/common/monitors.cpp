// The system's monitors through EnumDisplayMonitors, with their DPI.
#include "monitors.h"

#include "dpi.h"
#include "twips.h"

namespace qv::win {

namespace {

ScreenRect ToScreen(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            {ToScreen(info.rcMonitor), ToScreen(info.rcWork), MonitorDpi(monitor)});
    }
    return TRUE;
}

}  // namespace

std::vector<Monitor> SystemMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::vector<Monitor> Monitors(const AppContext& app) {
    return app.monitors ? app.monitors() : SystemMonitors();
}

int DpiAt(const RECT& where, std::span<const Monitor> monitors) {
    const Monitor* monitor = MonitorFor(ToScreen(where), monitors);
    return monitor && monitor->dpi > 0 ? monitor->dpi : ScreenDpi();
}

}  // namespace qv::win
