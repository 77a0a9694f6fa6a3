// Transparent display: the clock hosting Vitrel1 from its program folder,
// the layered colour key, the opaque display that keeps the control idle, and
// a clock without any control.
#include "clock_fixture.h"

#include <filesystem>

#include "text.h"
#include "twips.h"
#include "henko_window.h"
#include "ole_scope.h"

namespace qv::win::test {
namespace {

constexpr COLORREF kKey = RGB(0xE0, 0xDF, 0xE3);
// The control's class key, there when the control is registered.
constexpr wchar_t kControlClass[] = L"CLSID\\{6E31C4A3-52B7-11D0-B3F4-7A91D2C5E8B6}";

class TransparencyTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        picture_ = folder_ / L"背景.bmp";
        WriteBitmap(picture_, 2, 2, RGB(255, 0, 0));
    }
    void PutControlBesideProgram() {
        std::filesystem::copy_file(QV_VITREL32_PATH, folder_ / L"Vitrel32.ocx",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void WriteDisplay(const std::string& transparent) {
        auto d = DefaultDisplayFile();
        d[6] = Narrow(picture_.wstring());
        d[8] = transparent;
        WriteSettingsFile(File("STEI1.QV"), d);
    }

    OleScope ole_;  // for the control, as QV.exe's main has it
    std::filesystem::path picture_;
};

TEST_F(TransparencyTest, TransparentWithAPictureIsLayeredOnTheKeyColourWithoutPicture) {
    PutControlBesideProgram();
    WriteDisplay("1");
    ClockWindow& clock = StartFirstRun();
    ASSERT_NE(clock.Vitrel1(), nullptr) << "the control comes from the program folder, unregistered";
    EXPECT_FALSE(clock.HasPicture());
    EXPECT_TRUE(clock.TransparentDisplay());
    HWND hwnd = clock.hwnd();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    ASSERT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
    EXPECT_EQ(key, kKey);
    EXPECT_TRUE(flags & LWA_COLORKEY);
    // The background is painted in the key colour, the circles are not.
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(PrintedPixel(hwnd, client.right - 2, client.bottom - 2), kKey);
    EXPECT_NE(PrintedPixel(hwnd, 4, 4), kKey);
    EXPECT_TRUE(messages_.shown.empty());
}

// A window of one colour filling the screen, under everything: the desktop.
LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH green = CreateSolidBrush(RGB(0, 0xA0, 0));
        FillRect(reinterpret_cast<HDC>(wp), &r, green);
        DeleteObject(green);
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST_F(TransparencyTest, OnTheScreenTheDesktopShowsThroughAndTheCirclesStay) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DesktopProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QV.TestDesktop";
    RegisterClassW(&wc);
    HWND desktop = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_NE(desktop, nullptr);
    ShowWindow(desktop, SW_SHOWNOACTIVATE);
    UpdateWindow(desktop);

    PutControlBesideProgram();
    WriteDisplay("1");
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 1300, 1800, 3000, ""));
    ClockWindow& clock = StartFirstRun();
    SetWindowPos(clock.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    POINT origin{0, 0};
    ClientToScreen(clock.hwnd(), &origin);
    RECT client;
    GetClientRect(clock.hwnd(), &client);
    // Until both windows have reached the screen (the X server draws them
    // after this process has handed them over).
    PumpUntil(
        [&] {
            return ScreenPixel(origin.x + client.right - 4, origin.y + client.bottom - 4) == RGB(0, 0xA0, 0) &&
                   ScreenPixel(origin.x + 4, origin.y + 4) == RGB(0xFF, 0xC0, 0xC0);
        },
        10000);
    EXPECT_EQ(ScreenPixel(origin.x + client.right - 4, origin.y + client.bottom - 4), RGB(0, 0xA0, 0))
        << "the desktop where the clock's background was";
    EXPECT_EQ(ScreenPixel(origin.x + 4, origin.y + 4), RGB(0xFF, 0xC0, 0xC0)) << "OP1's circle";
    DestroyWindow(desktop);
}

TEST_F(TransparencyTest, OpaqueDisplayKeepsTheControlIdleAndDrawsThePicture) {
    PutControlBesideProgram();
    WriteDisplay("0");
    ClockWindow& clock = StartFirstRun();
    ASSERT_NE(clock.Vitrel1(), nullptr);
    HWND control = clock.Vitrel1()->window();
    ASSERT_NE(control, nullptr) << "in place active as a child of the clock";
    EXPECT_EQ(GetParent(control), clock.hwnd());
    EXPECT_FALSE(IsWindowVisible(control)) << "stored mode 0 hides the control's own window";
    HWND hwnd = clock.hwnd();
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    // Not subclassed: a resize still reaches the clock's own handler and
    // lays the places out in two columns.
    RECT outer = OuterRect();
    SetWindowPos(hwnd, nullptr, 0, 0, TwipsToPixels(3000), outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).left, 240 + 1095 + 100);
    EXPECT_TRUE(clock.HasPicture());
    EXPECT_FALSE(clock.TransparentDisplay());
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(PrintedPixel(hwnd, client.right - 2, client.bottom - 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(TransparencyTest, WithoutAnyControlTheClockRunsOpaqueAndSaysNothing) {
    if (KeyExists(HKEY_CLASSES_ROOT, kControlClass)) GTEST_SKIP() << "the control is registered in this prefix";
    WriteDisplay("1");
    ClockWindow& clock = StartFirstRun();
    EXPECT_EQ(clock.Vitrel1(), nullptr);
    EXPECT_FALSE(clock.TransparentDisplay());
    EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
    EXPECT_FALSE(GetWindowLongPtrW(clock.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TransparencyTest, StyleSwitchAndTickWorkTheSameInTransparentDisplay) {
    PutControlBesideProgram();
    WriteDisplay("1");
    ClockWindow& first = StartFirstRun();
    ASSERT_EQ(first.style(), ClockStyle::QV1);
    RECT before = OuterRect();
    // OP2: a real double-click on the middle circle.
    SendMessageW(first.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(60, 180));
    Pump();
    ASSERT_TRUE(application_->Clock());
    ClockWindow& second = *application_->Clock();
    EXPECT_EQ(second.style(), ClockStyle::QV2);
    EXPECT_TRUE(second.TransparentDisplay());
    EXPECT_TRUE(GetWindowLongPtrW(second.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT after = OuterRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    Tick();
    EXPECT_FALSE(second.Label(ClockWindow::TimeLabel(1)).caption.empty()) << "日本 shows its time";
}

// Seen from the thread's messages: a window that loses its layered style
// while it is still visible shows the key colour until it is redrawn.
class OpaqueWhileVisibleWatch {
public:
    OpaqueWhileVisibleWatch() {
        count_ = 0;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &Watch, nullptr, GetCurrentThreadId());
    }
    ~OpaqueWhileVisibleWatch() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    OpaqueWhileVisibleWatch(const OpaqueWhileVisibleWatch&) = delete;
    OpaqueWhileVisibleWatch& operator=(const OpaqueWhileVisibleWatch&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_STYLECHANGED && call->wParam == static_cast<WPARAM>(GWL_EXSTYLE)) {
            const auto* change = reinterpret_cast<const STYLESTRUCT*>(call->lParam);
            const bool lostLayered = (change->styleOld & WS_EX_LAYERED) && !(change->styleNew & WS_EX_LAYERED);
            if (lostLayered && IsWindowVisible(call->hwnd)) ++count_;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int count_ = 0;
    HHOOK hook_ = nullptr;
};

// Each of the three circles closes the window; the control is released with
// the window already hidden, so the key colour never shows.
TEST_F(TransparencyTest, CirclesCloseTransparentDisplayWithoutShowingTheKeyColour) {
    PutControlBesideProgram();
    WriteDisplay("1");
    StartFirstRun();
    for (const double circle : {kOP2, kOP3, kOP1}) {
        SCOPED_TRACE(circle);
        ASSERT_TRUE(application_->Clock());
        ASSERT_TRUE(GetWindowLongPtrW(application_->Clock()->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
        OpaqueWhileVisibleWatch watch;
        ASSERT_TRUE(watch.Hooked());
        DoubleClickCircle(circle);
        EXPECT_EQ(watch.Count(), 0);
        if (HWND henko = FindWindowW(henko::kClassName, nullptr)) {
            // Back from the settings unchanged, to a transparent clock again.
            Click(henko, henko::BEND);
        }
    }
}

TEST_F(TransparencyTest, TheUserTicksTransparentDisplayAndUnticksItAgain) {
    PutControlBesideProgram();
    ClockWindow& opaque = StartFirstRun();
    EXPECT_FALSE(opaque.TransparentDisplay());
    auto throughSettings = [&] {
        // OP3, then "透明表示" and "終了" in HENKO, as a user clicks them.
        DoubleClickCircle(kOP3);
        HWND henko = FindWindowW(henko::kClassName, nullptr);
        if (!henko) return false;
        Click(henko, henko::CK1);
        Click(henko, henko::BEND);
        return application_->Clock() != nullptr;
    };
    ASSERT_TRUE(throughSettings());
    EXPECT_EQ(model_.Transparent, "1");
    EXPECT_TRUE(application_->Clock()->TransparentDisplay());
    EXPECT_TRUE(GetWindowLongPtrW(application_->Clock()->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

    ASSERT_TRUE(throughSettings());
    EXPECT_EQ(model_.Transparent, "0");
    EXPECT_FALSE(application_->Clock()->TransparentDisplay());
    EXPECT_FALSE(GetWindowLongPtrW(application_->Clock()->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    std::string display = ReadAllBytes(File("STEI1.QV"));
    EXPECT_NE(display.find(Sjis("透明かどうか\r\n0\r\n")), std::string::npos);
}

}  // namespace
}  // namespace qv::win::test
