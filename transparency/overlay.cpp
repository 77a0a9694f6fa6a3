// The overlay window (class "TransProc"): an empty, never painted popup over
// the container's client area that hands every mouse message to the container.
#include "engine.h"

namespace vitrel {

LRESULT CALLBACK Engine::OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* engine = reinterpret_cast<Engine*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (engine && engine->overlay_ == window) engine->overlay_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!engine) return DefWindowProcW(window, message, wParam, lParam);
    return engine->OnOverlayMessage(window, message, wParam, lParam);
}

LRESULT Engine::OnOverlayMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        // Nothing is drawn: the overlay stays see-through.
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        if (activeMode_ == TransWallpaper || activeMode_ == 5)
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
