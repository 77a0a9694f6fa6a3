// The monitors as the program's windows see them: areas, work areas, DPIs.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "app_context.h"
#include "work_area.h"

namespace qv::win {

// Every monitor with its work area and DPI, as the system has them now.
std::vector<Monitor> SystemMonitors();
// The monitors the program reads: the context's when a test gave some, else the system's.
std::vector<Monitor> Monitors(const AppContext& app);
// The DPI a window at `where` draws at: that of the monitor holding most of it.
int DpiAt(const RECT& where, std::span<const Monitor> monitors);

}  // namespace qv::win
