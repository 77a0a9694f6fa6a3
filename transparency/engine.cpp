// The engine's mode switch: attaching to the container, switching modes, the
// frame region, the layered attributes, and the container's replaced procedure.
#include "engine.h"

#include "handles.h"
#include "module.h"
#include "window_classes.h"

namespace vitrel {
namespace {

// Window properties on the container while its procedure is replaced: the
// container's own procedure, and the engine that drives it.
constexpr wchar_t kSavedProcProperty[] = L"Vitrel32.SavedProc";
constexpr wchar_t kEngineProperty[] = L"Vitrel32.Engine";

void ChangeExStyle(HWND window, LONG_PTR add, LONG_PTR remove) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, (style & ~remove) | add);
}

POINT ClientOriginOnScreen(HWND window, RECT& client) {
    GetClientRect(window, &client);
    POINT origin{client.left, client.top};
    ClientToScreen(window, &origin);
    return origin;
}

void RedrawFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

SetLayeredFn LookUpSetLayered() {
    HMODULE user32 = GetModuleHandleW(L"User32");
    if (!user32) return nullptr;
    return reinterpret_cast<SetLayeredFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
}

BYTE LayeredAlphaByte(short alpha) {
    if (alpha <= 0) return 0;
    if (alpha >= 100) return 255;
    return static_cast<BYTE>(alpha * 255 / 100);
}

void ApplyFrameRegion(HWND window, bool cut) {
    if (!cut) {
        SetWindowRgn(window, nullptr, FALSE);
        return;
    }
    RECT windowRect{}, client{};
    GetWindowRect(window, &windowRect);
    const POINT origin = ClientOriginOnScreen(window, client);
    OffsetRect(&client, origin.x - windowRect.left, origin.y - windowRect.top);
    OffsetRect(&windowRect, -windowRect.left, -windowRect.top);
    qv::win::UniqueRegion frame(CreateRectRgnIndirect(&windowRect));
    const qv::win::UniqueRegion clientRegion(CreateRectRgnIndirect(&client));
    if (!frame || !clientRegion) return;
    CombineRgn(frame.get(), frame.get(), clientRegion.get(), RGN_DIFF);
    // The system owns the region once the window has it.
    if (SetWindowRgn(window, frame.get(), TRUE)) frame.release();
}

Engine::Engine(EngineHost& host, SetLayeredFn setLayered) : host_(host), setLayered_(setLayered) {}

Engine::~Engine() { Detach(false); }

void Engine::AttachToContainer(HWND control, bool userMode) {
    if (!control || !userMode) return;
    container_ = GetParent(control);
    forwardWindow_ = container_;
    if (!container_) return;
    EnsureOverlayClass();
    ChangeExStyle(control, WS_EX_TRANSPARENT, 0);

    const short mode = host_.CurrentTransMode();
    if (mode == TransOff) {
        ShowWindow(control, SW_HIDE);
    } else if (mode == TransLayered) {
        if (setLayered_) {
            ChangeExStyle(container_, WS_EX_LAYERED, 0);
            ApplyLayered();
        }
    } else {
        if (mode >= TransWallpaper) ChangeExStyle(container_, WS_EX_TRANSPARENT, 0);
        ReplaceContainerProc();
    }
    CreateOverlay();
}

void Engine::CreateOverlay() {
    RECT client{};
    const POINT origin = ClientOriginOnScreen(container_, client);
    // Hidden until mode 1 shows it; owned by the container, so it goes with it.
    overlay_ = CreateWindowExW(WS_EX_TRANSPARENT, kOverlayClass, L"", WS_POPUP, origin.x, origin.y,
                               client.right - client.left, client.bottom - client.top, container_,
                               nullptr, ModuleInstance(), this);
}

void Engine::SwitchMode(short newMode, short previousMode) {
    if (!container_) return;
    if (newMode == TransLayered) {
        if (!setLayered_) return;
        ChangeExStyle(container_, 0, WS_EX_TRANSPARENT);
        if (previousMode == TransClient) {
            ApplyFrameRegion(container_, true);
            ApplyFrameRegion(container_, false);
        }
        RestoreContainerProc();
        // Left visible, the overlay would float where the client area was
        // and swallow its clicks.
        if (overlay_ && IsWindowVisible(overlay_)) ShowWindow(overlay_, SW_HIDE);
        InvalidateRect(container_, nullptr, TRUE);
        ChangeExStyle(container_, WS_EX_LAYERED, 0);
        ApplyLayered();
        return;
    }
    const bool transparent = newMode == TransWallpaper || newMode == TransWindow;
    ChangeExStyle(container_, transparent ? WS_EX_TRANSPARENT : 0,
                  WS_EX_LAYERED | (transparent ? 0 : WS_EX_TRANSPARENT));
    if (overlay_)
        SetWindowPos(overlay_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    ApplyFrameRegion(container_, true);
    if (newMode != TransClient) ApplyFrameRegion(container_, false);
    if (overlay_) {
        const bool visible = IsWindowVisible(overlay_) != FALSE;
        if (newMode == TransClient && !visible) ShowWindow(overlay_, SW_SHOWNOACTIVATE);
        if (newMode != TransClient && visible) ShowWindow(overlay_, SW_HIDE);
    }
    RedrawFrame(container_);
    if (newMode == TransOff) RestoreContainerProc();
    else ReplaceContainerProc();
}

void Engine::Detach(bool restoreContainer) {
    if (container_ && IsWindow(container_)) {
        // A live container becomes a plain window again, as in mode 0.
        if (restoreContainer && !containerGoing_ && activeMode_ != TransOff) SwitchMode(TransOff, activeMode_);
        if (GetPropW(container_, kEngineProperty) == static_cast<HANDLE>(this)) {
            RestoreContainerProc();
            RemovePropW(container_, kEngineProperty);
        }
    }
    if (overlay_) {
        HWND overlay = overlay_;
        overlay_ = nullptr;
        DestroyWindow(overlay);
    }
    container_ = nullptr;
    forwardWindow_ = nullptr;
    containerGoing_ = false;
}

void Engine::ApplyLayered() {
    if (!setLayered_ || !container_) return;
    const LayeredSettings settings = host_.CurrentLayered();
    const BYTE alpha = LayeredAlphaByte(settings.alpha);
    if (settings.flag != 0) setLayered_(container_, 0, alpha, LWA_ALPHA);
    else setLayered_(container_, settings.color, alpha, LWA_COLORKEY);
}

bool Engine::ContainerProcReplaced() const {
    return GetPropW(container_, kSavedProcProperty) != nullptr;
}

void Engine::ReplaceContainerProc() {
    if (!ContainerProcReplaced()) {
        const LONG_PTR saved =
            SetWindowLongPtrW(container_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Engine::ContainerProc));
        SetPropW(container_, kSavedProcProperty, reinterpret_cast<HANDLE>(saved));
        // The module must not unload while a container can still call ContainerProc.
        LockModule();
    }
    SetPropW(container_, kEngineProperty, static_cast<HANDLE>(this));
}

void Engine::RestoreContainerProc() {
    const auto saved = reinterpret_cast<LONG_PTR>(GetPropW(container_, kSavedProcProperty));
    if (!saved) return;
    // Someone who subclassed the container after us still calls ContainerProc:
    // without the engine property it passes everything on, and the module
    // stays loaded until the container goes.
    const LONG_PTR current = GetWindowLongPtrW(container_, GWLP_WNDPROC);
    if (current != reinterpret_cast<LONG_PTR>(&Engine::ContainerProc) && current != saved) {
        RemovePropW(container_, kEngineProperty);
        return;
    }
    // Whoever subclassed before us may already have put back what we replaced.
    if (current != saved) SetWindowLongPtrW(container_, GWLP_WNDPROC, saved);
    LeaveChain(container_);
}

void Engine::LeaveChain(HWND window) {
    RemovePropW(window, kSavedProcProperty);
    RemovePropW(window, kEngineProperty);
    UnlockModule();
}

void Engine::PaintWith(HDC dc) {
    if (dc) host_.FirePaint(dc);
}

void Engine::RepositionOverlay(HWND window) {
    RECT client{};
    const POINT origin = ClientOriginOnScreen(window, client);
    if (overlay_) {
        const UINT flags =
            activeMode_ == TransWallpaperNoFrame ? SWP_NOACTIVATE : SWP_NOACTIVATE | SWP_FRAMECHANGED;
        SetWindowPos(overlay_, HWND_TOP, origin.x, origin.y, client.right - client.left,
                     client.bottom - client.top, flags);
    }
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK Engine::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto saved = reinterpret_cast<WNDPROC>(GetPropW(window, kSavedProcProperty));
    auto* engine = static_cast<Engine*>(GetPropW(window, kEngineProperty));
    if (!saved) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The container goes: give it its own procedure for its last message.
        if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Engine::ContainerProc))
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        if (engine) engine->container_ = nullptr;
        const LRESULT result = CallWindowProcW(saved, window, message, wParam, lParam);
        // Last, so that the module can unload only once this procedure has returned.
        LeaveChain(window);
        return result;
    }
    if (message == WM_DESTROY) return OnContainerDestroy(window, wParam, lParam, saved, engine);
    if (!engine) return CallWindowProcW(saved, window, message, wParam, lParam);
    return engine->OnContainerMessage(window, message, wParam, lParam, saved);
}

LRESULT Engine::OnContainerDestroy(HWND window, WPARAM wParam, LPARAM lParam, WNDPROC saved, Engine* engine) {
    // Its children, our control among them, are destroyed after it.
    if (engine) engine->containerGoing_ = true;
    const bool onTop = GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Engine::ContainerProc);
    const LRESULT result = CallWindowProcW(saved, window, WM_DESTROY, wParam, lParam);
    // A host below us may take its own procedure back as its window goes
    // (ATL's container does): then WM_NCDESTROY never reaches us.
    if (onTop && GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Engine::ContainerProc))
        LeaveChain(window);
    return result;
}

LRESULT Engine::OnContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC saved) {
    forwardWindow_ = window;
    const short mode = activeMode_;
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        if (mode == TransClient) {
            if (overlay_ && !IsWindowVisible(overlay_)) ShowWindow(overlay_, SW_SHOWNOACTIVATE);
            ApplyFrameRegion(window, true);
        } else {
            ApplyFrameRegion(window, false);
            RedrawFrame(window);
        }
        RepositionOverlay(window);
        return 0;
    case WM_PAINT:
        if (mode == TransClient) {
            SendMessageW(window, WM_TRANSPAINT, 0, 0);
            break;
        }
        {
            qv::win::PaintScope paint(window);
            PaintWith(paint.dc());
        }
        if (mode > TransClient) return 0;
        break;
    case WM_ERASEBKGND:
        if (mode == TransWallpaper || mode == TransWallpaperNoFrame) {
            SendMessageW(window, WM_ICONERASEBKGND, wParam, 0);
            return 0;
        }
        if (mode != TransOff) return 0;
        break;
    case WM_NCPAINT:
        if (mode > TransWallpaper) {
            qv::win::PaintScope paint(window);
            return 0;
        }
        break;
    case WM_TRANSPAINT:
        if (mode == TransClient) {
            // Without an overlay there is nothing to draw on.
            if (overlay_) {
                const qv::win::WindowDc dc(overlay_);
                PaintWith(dc.get());
            }
        } else {
            const qv::win::WindowDc dc(window);
            PaintWith(dc.get());
        }
        return 0;
    default:
        break;
    }
    return CallWindowProcW(saved, window, message, wParam, lParam);
}

}  // namespace vitrel
