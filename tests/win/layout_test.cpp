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
    model_.RestartFlag = Value::Integer(1);
    application_->LoadVr();
    ASSERT_TRUE(application_->Clock());
    EXPECT_EQ(application_->Clock()->Label(ClockWindow::NameLabel(2)).top, 75 + 180 + 15 + 180 - 100);
}

}  // namespace
}  // namespace qv::win::test
