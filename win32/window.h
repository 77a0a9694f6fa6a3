// Windows of our own: the module's instance, the class registrar, the one
// window procedure that finds its object, and the base of a window class.
#pragma once

#include <windows.h>

#include "handles.h"

namespace qv::win {

// A WM_KEYDOWN's flags say the key was already down: the keyboard's own
// repeat of a held key.
inline bool IsKeyRepeat(LPARAM flags) {
    return (flags & (1 << 30)) != 0;
}

// The module this code is linked into (the program, or the control's module
// inside some host), not the process's executable.
HINSTANCE ModuleInstance();

struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    UINT style = 0;
    HICON icon = nullptr;
    HBRUSH background = nullptr;  // none: the window paints its whole client area
};

// Registers the class once per module, always under ModuleInstance(): a
// control's classes must never be registered under its host. Returns the
// instance to create the class's windows with; null when registration failed.
HINSTANCE RegisterWindowClass(const WindowClass& windowClass);
void UnregisterWindowClass(const wchar_t* name);

// The one window procedure: the object comes from lpCreateParams at
// WM_NCCREATE and lives in GWLP_USERDATA; from WM_NCDESTROY on, no message
// reaches it. T provides LRESULT WindowMessage(HWND, UINT, WPARAM, LPARAM).
template <class T>
LRESULT CALLBACK WindowThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return self->WindowMessage(hwnd, msg, wp, lp);
}

// A window class as a C++ class: T provides LRESULT HandleMessage(UINT,
// WPARAM, LPARAM) and void OnDestroyed(), called last, after WM_NCDESTROY
// (the object may delete itself there).
template <class T>
class WindowBase {
public:
    HWND hwnd() const { return hwnd_; }

    LRESULT WindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) hwnd_ = hwnd;
        auto* self = static_cast<T*>(this);
        const LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            hwnd_ = nullptr;
            self->OnDestroyed();
        }
        return result;
    }

protected:
    static constexpr WNDPROC Proc = &WindowThunk<T>;

    // WM_PAINT and WM_PRINTCLIENT to T::Paint(HDC): one painting function for
    // the screen and for a memory DC a test looks at. False for other messages.
    bool PaintMessage(UINT msg, WPARAM wp) {
        auto* self = static_cast<T*>(this);
        if (msg == WM_PAINT) {
            PaintScope paint(hwnd_);
            self->Paint(paint.dc());
            return true;
        }
        if (msg == WM_PRINTCLIENT) {
            self->Paint(reinterpret_cast<HDC>(wp));
            return true;
        }
        return false;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace qv::win
