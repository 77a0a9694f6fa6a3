// Run-time look-ups of user32's and shcore's per-monitor DPI functions.
#include "dpi.h"

#include "twips.h"

namespace qv::win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
// MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // The cast through void* keeps -Wcast-function-type quiet: the signature is the documented one.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE User32() {
    static const HMODULE module = GetModuleHandleW(L"user32.dll");
    return module;
}

// shcore comes with Windows 8.1. Loaded from the system folder once and kept
// for the life of the process: its functions are called from any window.
HMODULE Shcore() {
    static const HMODULE module = [] {
        wchar_t path[MAX_PATH] = {};
        UINT n = GetSystemDirectoryW(path, MAX_PATH);
        if (n == 0 || n + 12 >= MAX_PATH) return HMODULE{};
        lstrcatW(path, L"\\shcore.dll");
        return LoadLibraryW(path);
    }();
    return module;
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>(User32(), "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

int MonitorDpi(HMONITOR monitor) {
    static const auto getDpiForMonitor = Lookup<GetDpiForMonitorFn>(Shcore(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && x > 0) {
        return static_cast<int>(x);
    }
    return ScreenDpi();
}

RECT OuterForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = Lookup<AdjustForDpiFn>(User32(), "AdjustWindowRectExForDpi");
    RECT outer = client;
    // Without the function the frame is the system DPI's, as the system draws it then.
    if (!adjustForDpi || !adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        outer = client;
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    return outer;
}

}  // namespace qv::win
