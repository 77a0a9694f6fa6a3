// What the Windows test programs ask of the system alike: whether Wine runs
// them, a registry key, a window's class, this thread's own windows, a control's text, keys,
// what a window draws.
#pragma once

#include <windows.h>

#include <string>

#include "handles.h"

namespace qv::win::test {

inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// This thread's top-level window of a class; other test programs running at
// the same time have windows of the same classes.
inline HWND FindOwnWindow(const wchar_t* cls) {
    struct Search {
        const wchar_t* cls;
        HWND found = nullptr;
        static BOOL CALLBACK Each(HWND hwnd, LPARAM lp) {
            auto* search = reinterpret_cast<Search*>(lp);
            if (ClassName(hwnd) != search->cls) return TRUE;
            search->found = hwnd;
            return FALSE;
        }
    } search{cls};
    EnumThreadWindows(GetCurrentThreadId(), &Search::Each, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's text, and text put in as a user's typing leaves it (WM_SETTEXT).
inline std::wstring Text(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}
inline void Type(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A key pressed and released (WM_KEYDOWN, WM_KEYUP with its scan code), posted
// to `target`.
inline void PostKey(HWND target, WORD key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | 0xC0000000);
}

// A pixel of what a window draws into its client area, background first
// (WM_ERASEBKGND, then WM_PRINTCLIENT), whether or not it is covered on the
// screen.
inline COLORREF PrintedPixel(HWND window, int x, int y) {
    RECT client{};
    GetClientRect(window, &client);
    WindowDc screen(window);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    SelectScope select(memory.get(), bitmap.get());
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.get()), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
    return GetPixel(memory.get(), x, y);
}

}  // namespace qv::win::test
