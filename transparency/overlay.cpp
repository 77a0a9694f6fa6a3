// The overlay window (class "TransProc"): an empty, never painted popup over
// the container's client area that hands every mouse message to the container.
#include "engine.h"

namespace vitrel {

LRESULT Engine::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && overlay_ == window) overlay_ = nullptr;
    if (message == WM_PAINT) {
        // Nothing is drawn: the overlay stays see-through.
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        if (activeMode_ == TransWallpaper || activeMode_ == TransWallpaperNoFrame)
            SendMessageW(window, WM_ICONERASEBKGND, wParam, 0);
        return 0;
    }
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        // The overlay lies exactly over the client area, so the coordinates
        // are already the container's client coordinates.
        if (forwardWindow_) {
            SetActiveWindow(forwardWindow_);
            PostMessageW(forwardWindow_, message, wParam, lParam);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vitrel
