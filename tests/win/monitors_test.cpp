// The clock window on monitors of their own scale, and monitors that come
// and go while it runs. The monitors are the ones the test gives the clock:
// Wine has one DPI for all and changes no work area on request
// (SPI_SETWORKAREA, Xvfb's RandR), while Windows does both.
#include <string>
#include <vector>

#include "clock_accessible.h"
#include "clock_fixture.h"
#include "twips.h"

namespace qv::win::test {
namespace {

class MonitorsTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        app_->monitors = [this] { return monitors_; };
        // Settings of a clock that has run before: the stored window size counts.
        WriteSettingsFile(File("STEI.QV"), PlacesFile({{"東京", " 9 ", "", ""}}));
        WriteSettingsFile(File("STEI1.QV"), DefaultDisplayFile());
    }

    // The real screen, split into a left and a right monitor, both with a
    // task bar 40 pixels high at the bottom.
    static Monitor Half(bool right, int dpi) {
        const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        const ScreenRect bounds{right ? width / 2 : 0, 0, right ? width : width / 2, height};
        return {bounds, {bounds.left, 0, bounds.right, height - 40}, dpi};
    }

    // The three buttons on the screen.
    RECT Buttons() const {
        const ClockWindow& clock = *application_->Clock();
        RECT r{clock.ChildPixels(1).left, 0, clock.ChildPixels(1).right, clock.ChildPixels(3).bottom};
        MapWindowPoints(clock.hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    bool ButtonsOn(const ScreenRect& work) const {
        const RECT b = Buttons();
        return b.left >= work.left && b.top >= work.top && b.right <= work.right && b.bottom <= work.bottom;
    }

    std::vector<Monitor> monitors_;
};

// The window's place is kept in twips at the system DPI and its size in
// twips at the DPI of its monitor. Saved on a monitor at 144 dpi, the file
// holds the twips it was opened with, byte for byte: a copy of the program
// that knows only the system DPI puts the window at the same place. It opens
// again there with the same size; on a monitor at 96 dpi at the same place
// with the same size in twips.
TEST_F(MonitorsTest, AWindowSavedAt144DpiOpensAgainThereAndAtItsPlaceAt96Dpi) {
    const int system = ScreenDpi();
    monitors_ = {Half(false, 144)};
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1500, 2450, 2640, 1500, " 0 "));
    const std::string saved = ReadAllBytes(File("STEI2.QV"));
    const RECT expected{TwipsToPixels(1500, system), TwipsToPixels(1500, system),
                        TwipsToPixels(1500, system) + TwipsToPixels(2640, 144),
                        TwipsToPixels(1500, system) + TwipsToPixels(2450, 144)};

    ClockWindow* clock = &StartFirstRun();
    for (int run : {1, 2}) {
        SCOPED_TRACE("run " + std::to_string(run));
        ASSERT_TRUE(clock && clock->IsOpen());
        EXPECT_EQ(clock->Dpi(), 144);
        RECT shown = OuterRect();
        EXPECT_TRUE(EqualRect(&shown, &expected));
        clock->Close();
        Pump();
        EXPECT_EQ(ReadAllBytes(File("STEI2.QV")), saved);
        if (run == 1) clock = Restart();
    }

    monitors_ = {Half(false, 96)};
    ClockWindow* at96 = Restart();
    ASSERT_TRUE(at96 && at96->IsOpen());
    EXPECT_EQ(at96->Dpi(), 96);
    RECT shown = OuterRect();
    EXPECT_EQ(shown.left, expected.left);
    EXPECT_EQ(shown.top, expected.top);
    EXPECT_EQ(shown.right - shown.left, TwipsToPixels(2640, 96));
    EXPECT_EQ(shown.bottom - shown.top, TwipsToPixels(2450, 96));
}

// Each message that says the monitors changed brings the buttons back onto
// a work area by the shortest move, within a second (the change is handled
// once the system has rearranged the windows).
TEST_F(MonitorsTest, ButtonsComeBackOntoAWorkAreaWhenMonitorsChange) {
    const int system = ScreenDpi();
    const Monitor left = Half(false, system), right = Half(true, system);
    monitors_ = {left, right};
    // On the right monitor, 100 pixels in from its corner.
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", PixelsToTwips(100, system), 2450, 2640,
                                                   PixelsToTwips(right.bounds.left + 100, system), " 0 "));
    ClockWindow& clock = StartFirstRun();
    ASSERT_TRUE(ButtonsOn(right.work));

    {
        SCOPED_TRACE("the right monitor unplugged: WM_DISPLAYCHANGE");
        monitors_ = {left};
        const LONG top = OuterRect().top;
        SendMessageW(clock.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(left.bounds.right, left.bounds.bottom));
        EXPECT_TRUE(PumpUntil([&] { return ButtonsOn(left.work); }, 1000));
        EXPECT_EQ(Buttons().right, left.work.right);
        EXPECT_EQ(OuterRect().top, top) << "moved sideways only";
    }
    {
        SCOPED_TRACE("the task bar grows to half the screen: WM_SETTINGCHANGE, SPI_SETWORKAREA");
        SetWindowPos(clock.hwnd(), nullptr, 200, left.bounds.bottom / 2 + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(ButtonsOn(left.work));
        monitors_[0].work.bottom = left.bounds.bottom / 2;
        SendMessageW(clock.hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        EXPECT_TRUE(PumpUntil([&] { return ButtonsOn(monitors_[0].work); }, 1000));
        EXPECT_EQ(Buttons().bottom, monitors_[0].work.bottom);
        EXPECT_EQ(OuterRect().left, 200) << "moved up only";
    }
    {
        SCOPED_TRACE("dropped past the right monitor at 144 dpi: WM_DPICHANGED");
        monitors_ = {left, Half(true, 144)};
        const RECT now = OuterRect();
        const LONG x = right.bounds.right + 50;
        RECT suggested{x, now.top, x + MulDiv(now.right - now.left, 144, system),
                       now.top + MulDiv(now.bottom - now.top, 144, system)};
        SendMessageW(clock.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_TRUE(PumpUntil([&] { return ButtonsOn(right.work); }, 1000));
        EXPECT_EQ(Buttons().right, right.work.right);
        EXPECT_EQ(clock.Dpi(), 144);
    }
}

}  // namespace
}  // namespace qv::win::test
