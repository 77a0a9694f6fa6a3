// The about box VerInfo: its picture card layout, the version from the
// program's version resource, the link, OK back to HENKO, and the drag.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "program_version.h"
#include "verinfo_window.h"
#include "dialog_fixture.h"
#include "layout_check.h"

namespace qv::win::test {
namespace {

using namespace verinfo;

class VerInfoTest : public DialogTest {
protected:
    static bool Near(COLORREF c, int r, int g, int b, int tolerance = 24) {
        return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
               std::abs(GetBValue(c) - b) <= tolerance;
    }
};

TEST_F(VerInfoTest, PictureCardLayout) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    wchar_t title[32] = {};
    GetWindowTextW(w, title, 32);
    EXPECT_STREQ(title, verinfo::kTitle);
    ExpectSettingsFrame(w, false, 6690, 4260);
    ExpectControl(w, OK, 2760, 3360, 1335, 375, L"OK", L"Button");
    EXPECT_EQ(GetNextDlgTabItem(w, nullptr, FALSE), GetDlgItem(w, OK));

    // The labels start at their places and grow to their text.
    RECT version = ClientRectOf(w, HVerInfo);
    RECT place = TwipsRect(1800, 2760, 300, 180);
    EXPECT_EQ(version.left, place.left);
    EXPECT_EQ(version.top, place.top);
    EXPECT_EQ(Text(w, HVerInfo), L"Ver. 0.5.0");
    EXPECT_EQ(version.right - version.left, TextExtentIn(GetDlgItem(w, HVerInfo), L"Ver. 0.5.0").cx);
    EXPECT_GT(version.right - version.left, place.right - place.left);

    RECT url = ClientRectOf(w, URL);
    RECT urlPlace = TwipsRect(1800, 3000, 420, 180);
    EXPECT_EQ(url.left, urlPlace.left);
    EXPECT_EQ(url.top, urlPlace.top);
    EXPECT_EQ(Text(w, URL), L"URL：");

    ExpectControl(w, Hyplex1, 2280, 3000, 3375, 375, nullptr, L"SysLink");
    EXPECT_NE(Text(w, Hyplex1).find(kHomePage), std::wstring::npos);
}

TEST_F(VerInfoTest, ThePictureFillsTheCard) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_TRUE(Near(PrintedPixel(w, 3, 3), 0x0d, 0x1b, 0x3d)) << std::hex << PrintedPixel(w, 3, 3);
    EXPECT_TRUE(Near(PrintedPixel(w, client.right - 3, client.bottom - 3), 0xec, 0xe6, 0xd2))
        << std::hex << PrintedPixel(w, client.right - 3, client.bottom - 3);
}

TEST_F(VerInfoTest, ReadsTheVersionResource) {
    auto version = ReadProgramVersion(GetModuleHandleW(nullptr));
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(VersionCaption(*version), L"Ver. 0.5.0");
    EXPECT_EQ(VersionCaption({12, 0, 305}), L"Ver. 12.0.305");
}

TEST_F(VerInfoTest, ClickingTheLinkOpensTheHomePage) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    HWND link = GetDlgItem(w, Hyplex1);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    Pump();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], kHomePage);
    EXPECT_TRUE(Exists(w));
}

TEST_F(VerInfoTest, OkLoadsHenkoThenCloses) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    Click(w, OK);
    EXPECT_FALSE(Exists(w));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenHenko");
    EXPECT_EQ(launcher.calls[0].windowsOpen, std::vector<std::wstring>{kClassName});
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(VerInfoTest, TheCloseBoxEndsWithoutHandingOver) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    CloseBox(w);
    EXPECT_FALSE(Exists(w));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_TRUE(links.empty());
}

// A mouse event at a screen point, as the mouse driver would deliver it.
// Real mouse input reaches whatever window is on top at that point: the
// window goes to a corner no other test window uses, above the others.
void MoveToCorner(HWND w, bool right) {
    RECT r{};
    GetWindowRect(w, &r);
    int x = right ? GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left) - 100 : 0;
    int y = GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top) - 60;
    SetWindowPos(w, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(w);
    Pump();
}

INPUT MouseAt(POINT p, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

TEST_F(VerInfoTest, DraggingThePictureWithTheLeftButtonMovesTheWindow) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    MoveToCorner(w, true);
    RECT before{}, after{};
    GetWindowRect(w, &before);
    POINT grab{30, 30};  // on the picture, clear of every control
    ClientToScreen(w, &grab);
    POINT drop{grab.x + 60, grab.y + 30};
    INPUT inputs[] = {MouseAt(grab, 0), MouseAt(grab, MOUSEEVENTF_LEFTDOWN),
                      MouseAt({grab.x + 20, grab.y + 10}, 0), MouseAt(drop, 0), MouseAt(drop, MOUSEEVENTF_LEFTUP)};
    ASSERT_EQ(SendInput(5, inputs, sizeof(INPUT)), 5u);
    for (int i = 0; i < 20; ++i) Pump();
    GetWindowRect(w, &after);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_TRUE(launcher.calls.empty());
}

TEST_F(VerInfoTest, ARightButtonDragOnThePictureDoesNothing) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    MoveToCorner(w, false);
    RECT before{}, after{};
    GetWindowRect(w, &before);
    POINT grab{30, 30};
    ClientToScreen(w, &grab);
    POINT drop{grab.x + 60, grab.y + 30};
    INPUT inputs[] = {MouseAt(grab, 0), MouseAt(grab, MOUSEEVENTF_RIGHTDOWN), MouseAt(drop, 0),
                      MouseAt(drop, MOUSEEVENTF_RIGHTUP)};
    ASSERT_EQ(SendInput(4, inputs, sizeof(INPUT)), 4u);
    for (int i = 0; i < 20; ++i) Pump();
    GetWindowRect(w, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(Exists(w));
}

}  // namespace
}  // namespace qv::win::test
