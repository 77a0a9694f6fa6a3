// What a test expects of the DPI it runs at: the one its parent asked for,
// and sizes in twips turned into pixels at it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace qv::win::test {

// Environment variable that names the DPI a child test run was started at.
inline constexpr wchar_t kAskedDpiVariable[] = L"QV_EXPECT_DPI";

// The DPI this process draws at (the screen's pixels per inch).
inline int MeasuredDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// The DPI the parent asked for, or 0 for a run at whatever the system has.
inline int AskedDpi() {
    wchar_t text[16] = {};
    if (!GetEnvironmentVariableW(kAskedDpiVariable, text, 16)) return 0;
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

// The setting took effect, and the program is DPI aware (its manifest), so
// the system does not stretch its windows.
inline void ExpectAskedDpi() {
    if (int asked = AskedDpi()) {
        EXPECT_EQ(MeasuredDpi(), asked) << "the system DPI setting did not reach this program";
    }
    EXPECT_TRUE(IsProcessDPIAware());
}

// A length in twips as pixels at this process's DPI, unrounded: a window
// may differ from it by the rounding to whole pixels.
inline double ExactPixels(double twips, int dpi = MeasuredDpi()) {
    return twips * dpi / 1440.0;
}

// Em height of a font in pixels as the system realised it.
inline int EmPixels(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight - tm.tmInternalLeading;
}

// A rectangle in pixels against its left, top, width and height in twips.
inline void ExpectTwipsBox(const RECT& actual, double left, double top, double width, double height,
                           int dpi = MeasuredDpi()) {
    EXPECT_NEAR(actual.left, ExactPixels(left, dpi), 1.0) << "left";
    EXPECT_NEAR(actual.top, ExactPixels(top, dpi), 1.0) << "top";
    EXPECT_NEAR(actual.right - actual.left, ExactPixels(width, dpi), 1.0) << "width";
    EXPECT_NEAR(actual.bottom - actual.top, ExactPixels(height, dpi), 1.0) << "height";
}

}  // namespace qv::win::test
