// The window procedure shared by the program's own windows: the object comes
// from lpCreateParams at WM_NCCREATE and lives in GWLP_USERDATA.
#pragma once

#include <windows.h>

namespace qv::win {

// Registers a window class once per process; later calls are harmless.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style, HICON icon = nullptr);

// T provides LRESULT HandleMessage(UINT, WPARAM, LPARAM) and void OnDestroyed().
template <class T>
class WindowProcedure {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        LRESULT result = self->HandleMessage(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace qv::win
