// The settings windows at the DPI this program runs at, and moved to a
// monitor of another scale: client areas and controls keep their twips and
// the 9-point face its points at any DPI. The system DPI tests run this
// program at 120, 144 and 192 dpi.
#include <windows.h>

#include <gtest/gtest.h>

#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"
#include "dialog_fixture.h"
#include "tests/win/dpi_checks.h"

namespace qv::win::test {
namespace {

class TwipsGeometry : public DialogTest {
protected:
    void SetUp() override { ExpectAskedDpi(); }

    // The DPI the window should be laid out at: the program's, or the one a
    // WM_DPICHANGED gave it.
    int dpi_ = MeasuredDpi();
    double ExactPixels(double twips) const { return test::ExactPixels(twips, dpi_); }

    void ExpectClient(HWND w, double width, double height) const {
        RECT client{};
        GetClientRect(w, &client);
        EXPECT_NEAR(client.right, ExactPixels(width), 1.0) << "client width";
        EXPECT_NEAR(client.bottom, ExactPixels(height), 1.0) << "client height";
    }
    void ExpectBox(HWND w, int id, double left, double top, double width, double height) const {
        SCOPED_TRACE("control " + std::to_string(id));
        ExpectTwipsBox(ClientRectOf(w, id), left, top, width, height, dpi_);
    }
    void ExpectNinePoint(HWND w, int id) const {
        auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(w, id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_NEAR(EmPixels(font), 9 * dpi_ / 72.0, 1.0) << "9-point face of control " << id;
    }

    // The window dragged onto a monitor of another scale and back, as the
    // system reports it (Wine never does): WM_DPICHANGED with the new DPI
    // and the rectangle that keeps its size in twips. The window's checks
    // hold at each DPI, and it ends where it started.
    void DragToAnotherScaleAndBack(HWND w, void (TwipsGeometry::*expect)(HWND)) {
        (this->*expect)(w);
        RECT before{};
        GetWindowRect(w, &before);
        for (int to : {dpi_ == 144 ? 192 : 144, dpi_}) {
            SCOPED_TRACE("to " + std::to_string(to) + " dpi");
            RECT now{};
            GetWindowRect(w, &now);
            RECT suggested{now.left, now.top, now.left + MulDiv(now.right - now.left, to, dpi_),
                           now.top + MulDiv(now.bottom - now.top, to, dpi_)};
            dpi_ = to;
            SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
            (this->*expect)(w);
        }
        RECT after{};
        GetWindowRect(w, &after);
        EXPECT_TRUE(EqualRect(&after, &before)) << "not back where it started";
    }

public:  // named by the tests, which derive from this class
    void ExpectHenko(HWND w);
    void ExpectSyoki(HWND w);
    void ExpectVerInfo(HWND w);
};

void TwipsGeometry::ExpectHenko(HWND w) {
    using namespace henko;
    ExpectClient(w, 8385, 3810);
    ExpectBox(w, Frame1, 120, 120, 2775, 3615);
    // Inside Frame1, whose origin is (120, 120).
    ExpectBox(w, OP2, 240, 1680, 1935, 495);
    ExpectBox(w, SYU, 2280, 2400, 495, 255);
    ExpectBox(w, GZU, 4320, 290, 3855, 270);
    ExpectBox(w, NW, 4320, 1680, 1095, 270);
    ExpectBox(w, CK1, 6960, 960, 1095, 255);
    ExpectBox(w, NFON, 5160, 2640, 1695, 255);
    ExpectBox(w, BEND, 7080, 3360, 1215, 375);
    ExpectNinePoint(w, BEND);
    ExpectNinePoint(w, OP2);
}

// The zone boxes' fields keep the rows' twips too.
void TwipsGeometry::ExpectSyoki(HWND w) {
    using namespace syoki;
    ExpectClient(w, 5790, 3705);
    ExpectBox(w, Frame1, 120, 0, 5535, 3135);
    // Inside Frame1, whose origin is (120, 0); row 10 has its top at 480 + 240 x 9.
    ExpectBox(w, L + 1, 480, 480, 1095, 270);
    // The zone drop-down boxes: their selection field keeps the row's 270 twips.
    ExpectBox(w, J + 1, 1680, 480, 1095, 270);
    ExpectBox(w, J + 10, 1680, 2640, 1095, 270);
    ExpectBox(w, E + 10, 4080, 2640, 1095, 270);
    ExpectBox(w, Check + 10, 5280, 2640, 255, 255);
    ExpectBox(w, BOK, 3600, 3240, 855, 375);
    ExpectBox(w, BCH, 4800, 3240, 855, 375);
    ExpectNinePoint(w, L + 1);
}

// The card fills the client area to its edges at any DPI.
void TwipsGeometry::ExpectVerInfo(HWND w) {
    using namespace verinfo;
    ExpectClient(w, 6690, 4260);
    ExpectBox(w, OK, 2760, 3360, 1335, 375);
    RECT version = ClientRectOf(w, HVerInfo);
    EXPECT_NEAR(version.left, ExactPixels(1800), 1.0);
    EXPECT_NEAR(version.top, ExactPixels(2760), 1.0);
    ExpectNinePoint(w, OK);
    RECT client{};
    GetClientRect(w, &client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_NE(PrintedPixel(w, client.right - 2, client.bottom / 4), face);
    EXPECT_NE(PrintedPixel(w, client.right - 2, client.bottom - 2), face);
    EXPECT_NE(PrintedPixel(w, client.right / 4, client.bottom - 2), face);
}

TEST_F(TwipsGeometry, HenkoKeepsItsTwipsAtEveryScale) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    DragToAnotherScaleAndBack(w, &TwipsGeometry::ExpectHenko);
}

TEST_F(TwipsGeometry, SyokiKeepsItsTwipsAtEveryScale) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    DragToAnotherScaleAndBack(w, &TwipsGeometry::ExpectSyoki);
}

TEST_F(TwipsGeometry, VerInfoKeepsItsTwipsAtEveryScale) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    DragToAnotherScaleAndBack(w, &TwipsGeometry::ExpectVerInfo);
}

}  // namespace
}  // namespace qv::win::test
