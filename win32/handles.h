// One owner for every Win32 handle: a move-only wrapper that closes its handle
// exactly once, and scope guards for the paired calls.
#pragma once

#include <windows.h>

#include <utility>

namespace qv::win {

template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Traits::Invalid();
};

template <class T>
struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
struct KernelTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct KeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct DcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits<HRGN>>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueKey = UniqueHandle<HKEY, KeyTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, DcTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

// BeginPaint ... EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return ps_.hdc; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// GetDC ... ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// SelectObject, and the previous object back at the end of the scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectScope() { SelectObject(dc_, old_); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace qv::win
