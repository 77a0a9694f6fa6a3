// The column layout through real WM_SIZE: the column bounds, place 1's fixed
// place, and the row gap.
#include "clock_fixture.h"

#include <cmath>

#include "twips.h"

namespace qv::win::test {
namespace {

class LayoutTest : public ClockTest {
protected:
    ClockWindow& Start(const std::string& rowGap = " 75 ") {
        auto display = DefaultDisplayFile();
        display[19] = rowGap;
        WriteSettingsFile(File("STEI1.QV"), display);
        return StartFirstRun();
    }
    // Resizes through the window manager: WM_SIZE runs Form_Resize.
    void SetOuterWidth(int pixels) {
        RECT r = OuterRect();
        SetWindowPos(application_->Clock()->hwnd(), nullptr, 0, 0, pixels, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Columns in use: the places in the first row.
    int Columns() {
        int k = 0;
        for (int n = 1; n <= 10; ++n)
            if (application_->Clock()->Label(ClockWindow::NameLabel(n)).top == 75) ++k;
        return k;
    }
};

TEST_F(LayoutTest, ColumnCountFollowsTheWidthAtEveryBound) {
    ClockWindow& clock = Start();
    const double W = 1095;
    const double extra[] = {210, 200, 300, 400, 500, 600, 700, 800, 900};
    for (int k = 1; k <= 9; ++k) {
        double bound = (k + 1) * W + 240 + extra[k - 1];
        // The smallest whole-pixel width that reaches the bound, and one pixel less.
        int at = static_cast<int>(std::ceil(bound * ScreenDpi() / 1440.0 - 1e-9));
        SetOuterWidth(at);
        EXPECT_EQ(Columns(), k + 1) << "width " << at << " px, bound " << bound;
        SetOuterWidth(at - 1);
        EXPECT_EQ(Columns(), k) << "width " << at - 1 << " px, bound " << bound;
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).left, 240);
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).top, 75);
        EXPECT_EQ(clock.Label(ClockWindow::TimeLabel(1)).left, 240);
        EXPECT_EQ(clock.Label(ClockWindow::TimeLabel(1)).top, 75 + 180 + 15);
    }
    SetOuterWidth(1000);
    EXPECT_EQ(Columns(), 10);
}

TEST_F(LayoutTest, DefaultsGiveTwoColumnsFrom2640Twips) {
    ClockWindow& clock = Start();
    SetOuterWidth(TwipsToPixels(2640));
    EXPECT_EQ(Columns(), 2);
    // Three rows in, second column: place 6.
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(6)).left, 240 + 1195);
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(6)).top, 75 + 2 * 450);
    EXPECT_EQ(clock.Label(ClockWindow::TimeLabel(6)).top, 75 + 2 * 450 + 195);
    SetOuterWidth(TwipsToPixels(2640) - 1);
    EXPECT_EQ(Columns(), 1);
    SetOuterWidth(TwipsToPixels(4920));
    EXPECT_EQ(Columns(), 4);
    // Four places a row: place 10 in row 3, column 2.
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(10)).left, 240 + 1195);
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(10)).top, 75 + 2 * 450);
}

TEST_F(LayoutTest, RowGapZeroTouchesAndNegativeOverlaps) {
    ClockWindow& clock = Start(" 0 ");
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).top, 75 + 180 + 15 + 180);
    application_->Clock()->Close();
    Pump();
    WriteSettingsFile(File("STEI1.QV"), [] {
        auto d = DefaultDisplayFile();
        d[19] = "-100 ";
        return d;
    }());
    model_.RowGap = Value();
    ASSERT_TRUE(Restart());
    EXPECT_EQ(application_->Clock()->Label(ClockWindow::NameLabel(2)).top, 75 + 180 + 15 + 180 - 100);
}

// A field size of 0 or less: labels and grid both use the default (a width
// of 0 once gave 1095-twip labels on a grid of columns 100 twips apart); the
// model keeps the text as it was in the file.
TEST_F(LayoutTest, FieldSizesOfZeroOrLessUseTheDefaultForLabelsAndGrid) {
    const char* typed[] = {" 0 ", "-300 "};
    for (int pass = 0; pass < 2; ++pass) {
        auto display = DefaultDisplayFile();
        display[12] = typed[pass];  // FieldHeight
        display[13] = typed[pass];  // FieldWidth
        WriteSettingsFile(File("STEI1.QV"), display);
        if (pass == 0) {
            StartFirstRun();
        } else {  // a restart reads the files again
            application_->Clock()->Close();
            Pump();
            model_.FieldWidth = Value();
            model_.FieldHeight = Value();
            ASSERT_TRUE(Restart());
        }
        ClockWindow& clock = *application_->Clock();
        SetOuterWidth(TwipsToPixels(2640));
        EXPECT_EQ(Columns(), 2) << typed[pass];
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).left, 240 + 1195) << typed[pass];
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(3)).top, 75 + 450) << typed[pass];
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).width, 1095) << typed[pass];
        EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).height, 180) << typed[pass];
        EXPECT_EQ(model_.FieldWidth, Value::Text(typed[pass]));
    }
}

// At load the three buttons lie wholly on the work area, moved the least
// distance. Under Xvfb there is one monitor and no taskbar: its work area is
// the screen (several monitors are tested with the core's arithmetic).
class ReachTest : public ClockTest {
protected:
    // Loads the clock with its outer top-left corner at (left, top) pixels.
    ClockWindow& StartAt(int left, int top) {
        WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", PixelsToTwips(top), 885, 1410, PixelsToTwips(left), " 0 "));
        return StartFirstRun();
    }
    RECT Buttons() const {
        POINT origin{0, 0};
        ClientToScreen(application_->Clock()->hwnd(), &origin);
        return RECT{origin.x, origin.y, origin.x + TwipsToPixels(135), origin.y + TwipsToPixels(375)};
    }
    static RECT WorkArea() {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
        return info.rcWork;
    }
};

TEST_F(ReachTest, ButtonsOffTheRightEdgeComeBackJustInside) {
    const RECT work = WorkArea();
    StartAt(work.right - 1, 200);  // one pixel of the window on the screen
    const RECT b = Buttons();
    EXPECT_EQ(b.right, work.right);
    EXPECT_EQ(OuterRect().top, 200);  // no move along the other axis
}

TEST_F(ReachTest, ButtonsOffTheLeftAndTopEdgesComeBackJustInside) {
    const RECT work = WorkArea();
    StartAt(work.left - 60, work.top - 40);  // most of the window still on the screen
    const RECT b = Buttons();
    EXPECT_EQ(b.left, work.left);
    EXPECT_EQ(b.top, work.top);
}

TEST_F(ReachTest, ButtonsBelowTheBottomComeUpJustInside) {
    const RECT work = WorkArea();
    StartAt(300, work.bottom - 10);
    const RECT b = Buttons();
    EXPECT_EQ(b.bottom, work.bottom);
    EXPECT_EQ(OuterRect().left, 300);
}

TEST_F(ReachTest, AWindowWithItsButtonsOnTheScreenStaysWhereItWas) {
    const RECT work = WorkArea();
    // The rest of the window may hang off the screen: only the buttons count.
    StartAt(work.right - TwipsToPixels(135) - 20, work.bottom - 300);
    EXPECT_EQ(OuterRect().left, work.right - TwipsToPixels(135) - 20);
    EXPECT_EQ(OuterRect().top, work.bottom - 300);
}

}  // namespace
}  // namespace qv::win::test
