// The clock window's buttons brought onto a work area by the shortest move,
// with one and with several monitors.
#include "work_area.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

// The buttons' strip: 9 x 25 pixels at 96 dpi.
ScreenRect Buttons(long left, long top) { return {left, top, left + 9, top + 25}; }

TEST(WorkArea, OneMonitorWithATaskbarBelow) {
    const std::vector<ScreenRect> areas = {{0, 0, 1024, 728}};
    EXPECT_EQ(LeastMoveOnto(Buttons(100, 100), areas), (ScreenShift{0, 0}));
    EXPECT_EQ(LeastMoveOnto(Buttons(0, 703), areas), (ScreenShift{0, 0}));      // just inside, bottom left
    EXPECT_EQ(LeastMoveOnto(Buttons(0, 704), areas), (ScreenShift{0, -1}));     // one pixel on the taskbar
    EXPECT_EQ(LeastMoveOnto(Buttons(1020, 100), areas), (ScreenShift{-5, 0}));  // one pixel on the screen is not enough
    EXPECT_EQ(LeastMoveOnto(Buttons(-8, -30), areas), (ScreenShift{8, 30}));
    EXPECT_EQ(LeastMoveOnto(Buttons(5000, 5000), areas), (ScreenShift{1024 - 9 - 5000, 728 - 25 - 5000}));
    EXPECT_EQ(LeastMoveOnto(ScreenRect{10, 10, 2000, 20}, areas), (ScreenShift{-10, 0}));  // wider than the area
}

TEST(WorkArea, SeveralMonitorsTheNearestWins) {
    // A main monitor with its taskbar below, a second to its right standing
    // 200 pixels higher, a third to its left; none has its work area across
    // the gaps.
    const std::vector<ScreenRect> areas = {{0, 0, 1920, 1040}, {1920, -200, 3200, 824}, {-1280, 0, 0, 984}};
    EXPECT_EQ(LeastMoveOnto(Buttons(2500, -100), areas), (ScreenShift{0, 0}));   // on the second only
    EXPECT_EQ(LeastMoveOnto(Buttons(2500, -210), areas), (ScreenShift{0, 10}));  // above the second
    EXPECT_EQ(LeastMoveOnto(Buttons(100, -10), areas), (ScreenShift{0, 10}));    // above the main
    EXPECT_EQ(LeastMoveOnto(Buttons(-700, 1000), areas), (ScreenShift{0, -41}));  // the left one is shorter
    EXPECT_EQ(LeastMoveOnto(Buttons(-700, 1050), areas), (ScreenShift{0, -91}));
    // Across the seam of two monitors: onto whichever needs the shorter move.
    EXPECT_EQ(LeastMoveOnto(Buttons(1915, 100), areas), (ScreenShift{-4, 0}));
    EXPECT_EQ(LeastMoveOnto(Buttons(1916, 100), areas), (ScreenShift{4, 0}));
    EXPECT_EQ(LeastMoveOnto(Buttons(1917, 100), areas), (ScreenShift{3, 0}));
    // In the corner the second monitor leaves below its bottom, right of the
    // main: back left onto the main, or up onto the second, whichever is shorter.
    EXPECT_EQ(LeastMoveOnto(Buttons(1930, 1000), areas), (ScreenShift{-19, 0}));
    EXPECT_EQ(LeastMoveOnto(Buttons(2100, 830), areas), (ScreenShift{0, -31}));
    // Below and right of everything: diagonally onto the second's corner.
    EXPECT_EQ(LeastMoveOnto(Buttons(3300, 830), areas), (ScreenShift{3200 - 9 - 3300, 824 - 25 - 830}));
}

TEST(WorkArea, NoUsableAreaMeansNoMove) {
    EXPECT_EQ(LeastMoveOnto(Buttons(-5000, -5000), {}), (ScreenShift{0, 0}));
    const std::vector<ScreenRect> empty = {{0, 0, 0, 0}};
    EXPECT_EQ(LeastMoveOnto(Buttons(-5000, -5000), empty), (ScreenShift{0, 0}));
}

// A laptop at 144 dpi and, to its right, a monitor at 96 dpi a little higher.
TEST(WorkArea, AWindowBelongsToTheMonitorThatHoldsMostOfIt) {
    const std::vector<Monitor> monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144},
                                           {{1920, -200, 3840, 880}, {1920, -200, 3840, 880}, 96}};
    EXPECT_EQ(MonitorFor({100, 100, 400, 300}, monitors), &monitors[0]);
    // Across the edge: more of it on the second.
    EXPECT_EQ(MonitorFor({1800, 100, 2100, 300}, monitors), &monitors[1]);
    EXPECT_EQ(MonitorFor({1770, 100, 2070, 300}, monitors), &monitors[0]);
    // On none: the nearest, below the laptop; above both, the second.
    EXPECT_EQ(MonitorFor({500, 1300, 600, 1400}, monitors), &monitors[0]);
    EXPECT_EQ(MonitorFor({1500, -900, 1600, -800}, monitors), &monitors[1]);
    EXPECT_EQ(MonitorFor({0, 0, 10, 10}, std::vector<Monitor>{}), nullptr);
}

}  // namespace
}  // namespace qv
