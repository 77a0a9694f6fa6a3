// Checks a settings window against its table: each control's place (twips at
// the screen's DPI), caption and window class, and the window's frame.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "twips.h"
#include "windows_support.h"

namespace qv::win::test {

// The size of a text in a control's own font.
inline SIZE TextExtentIn(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent;
}

// Left, top, width, height in twips; a null caption is not compared.
inline void ExpectControl(HWND window, int id, double left, double top, double width, double height,
                          const wchar_t* caption, const wchar_t* cls) {
    SCOPED_TRACE("control " + std::to_string(id));
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr);
    RECT actual{};
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
    RECT expected = TwipsRect(left, top, width, height);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
    if (caption) {
        wchar_t text[256] = {};
        GetWindowTextW(control, text, 256);
        EXPECT_EQ(std::wstring(text), std::wstring(caption));
    }
    EXPECT_EQ(_wcsicmp(ClassName(control).c_str(), cls), 0) << "class of control " << id;
}

// A settings window's frame: owned (no taskbar button), not a tool window
// (an Alt+Tab entry), without minimise and maximise boxes, sizable or not;
// its client area in twips, centred on the screen.
inline void ExpectSettingsFrame(HWND window, bool sizable, double width, double height) {
    const LONG style = GetWindowLongW(window, GWL_STYLE), ex = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_FALSE(ex & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW));
    EXPECT_NE(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ((style & WS_THICKFRAME) != 0, sizable) << "a sizing border";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(width));
    EXPECT_EQ(client.bottom, TwipsToPixels(height));
    RECT frame{};
    GetWindowRect(window, &frame);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((frame.left + frame.right) / 2.0, screenWidth / 2.0, 1.0);
    EXPECT_NEAR((frame.top + frame.bottom) / 2.0, screenHeight / 2.0, 1.0);
}

}  // namespace qv::win::test
