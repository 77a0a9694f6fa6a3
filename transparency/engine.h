// The transparency engine: what a control does to its container window in each
// of the five modes. One Engine belongs to one control, so two controls in one
// process keep separate state; the container's replaced procedure finds the
// engine that drives it through a window property.
#pragma once

#include <windows.h>

#include "vitrel_contract.h"

namespace vitrel {

// The transparency modes, values of TransMode and of the active mode.
using enum contract::TransMode;

// Private message: the container's painting reaches the Paint event.
inline constexpr UINT WM_TRANSPAINT = WM_USER + 1001;

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
// SetLayeredWindowAttributes, looked up at run time; null where it is missing.
SetLayeredFn LookUpSetLayered();

// The alpha byte for LayeredAlpha, a percentage; above 100 counts as opaque.
BYTE LayeredAlphaByte(short alpha);

struct LayeredSettings {
    short flag;      // 0 colour key, otherwise alpha
    short alpha;     // percent
    COLORREF color;  // the colour key, handed over unchanged
};

// What the engine needs from its control.
class EngineHost {
public:
    virtual void FirePaint(HDC dc) = 0;
    virtual short CurrentTransMode() const = 0;
    virtual LayeredSettings CurrentLayered() const = 0;

protected:
    ~EngineHost() = default;
};

class Engine {
public:
    Engine(EngineHost& host, SetLayeredFn setLayered);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    bool IsLayered() const { return setLayered_ != nullptr; }
    short ActiveMode() const { return activeMode_; }
    void SetActiveMode(short mode) { activeMode_ = mode; }

    // Run when the control window has been created (WM_NCCREATE succeeded).
    // Does nothing in a designer.
    void AttachToContainer(HWND control, bool userMode);
    // Run by the TransMode setter after it stored the new value.
    void SwitchMode(short newMode, short previousMode);
    // Run when the control window goes: the container gets its own
    // procedure back and the overlay goes with the control. With
    // restoreContainer (the control went, not its container) the container
    // also loses the styles and region of its mode, as in mode 0.
    void Detach(bool restoreContainer);

    HWND Container() const { return container_; }
    HWND Overlay() const { return overlay_; }
    HWND ForwardWindow() const { return forwardWindow_; }

    // The container's procedure while replaced (a subclass, not our window).
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The overlay's messages, through the one window procedure.
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC saved);
    static LRESULT OnContainerDestroy(HWND window, WPARAM wParam, LPARAM lParam, WNDPROC saved, Engine* engine);
    // The procedure is out of the window's chain: its properties and the
    // module lock go.
    static void LeaveChain(HWND window);
    void CreateOverlay();
    void RepositionOverlay(HWND window);
    void ApplyLayered();
    void ReplaceContainerProc();
    void RestoreContainerProc();
    bool ContainerProcReplaced() const;
    void PaintWith(HDC dc);

    EngineHost& host_;
    SetLayeredFn setLayered_;
    short activeMode_ = TransClient;
    HWND container_ = nullptr;
    HWND forwardWindow_ = nullptr;
    HWND overlay_ = nullptr;
    bool containerGoing_ = false;  // the container had WM_DESTROY
};

// Cuts the client area out of the window's region, or removes the region.
void ApplyFrameRegion(HWND window, bool cut);

}  // namespace vitrel
