// The clock windows and the start-up window at the DPI this program runs at,
// and the clock window moved to a monitor of another DPI: every place and
// size is the same number of twips and the labels' font the same number of
// points at any DPI. The system DPI tests run this program at 120, 144 and
// 192 dpi and at the DPI the test run has.
#include <cstdint>
#include <string>
#include <vector>

#include "clock_accessible.h"
#include "clock_fixture.h"
#include "clock_labels.h"
#include "handles.h"
#include "text.h"
#include "twips.h"
#include "dpi_checks.h"

namespace qv::win::test {
namespace {

// A window's client area as it draws itself (WM_PRINTCLIENT).
class Snapshot {
public:
    explicit Snapshot(HWND hwnd) {
        RECT client{};
        GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        WindowDc screen(nullptr);
        UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !bits) return;
        {
            SelectScope select(memory.get(), bitmap.get());
            SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
            GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            pixels_.assign(first, first + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        }
    }

    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return CLR_INVALID;
        std::uint32_t p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                  static_cast<std::size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // The bounding box of the pixels of `area` that are not `background`
    // (right and bottom exclusive); empty when there are none.
    RECT Ink(const RECT& area, COLORREF background) const {
        RECT ink{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        for (LONG y = std::max(area.top, 0L); y < std::min(area.bottom, static_cast<LONG>(height_)); ++y) {
            for (LONG x = std::max(area.left, 0L); x < std::min(area.right, static_cast<LONG>(width_)); ++x) {
                if (At(x, y) == background) continue;
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
        return ink.left == LONG_MAX ? RECT{} : ink;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

class TwipsGeometry : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        ExpectAskedDpi();
    }

    // Two places, no business hours; the names in a 9-point face.
    ClockWindow& Start(const std::string& layout, const std::string& picture = "") {
        WriteSettingsFile(File("STEI.QV"), PlacesFile({{"東京", " 9 ", "", ""}, {"ロンドン", " 0 ", "", ""}}));
        auto display = DefaultDisplayFile();
        display[6] = picture;
        display[18] = " 9 ";
        WriteSettingsFile(File("STEI1.QV"), display);
        WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1500, 2450, 2640, 1500, layout));
        return StartFirstRun();
    }

    // The DPI the window should draw at: the program's, or the one a
    // WM_DPICHANGED gave it.
    int dpi_ = MeasuredDpi();
    double ExactPixels(double twips) const { return test::ExactPixels(twips, dpi_); }
    LONG Px(double twips) const { return static_cast<LONG>(ExactPixels(twips) + 0.5); }
    void ExpectDrawn(const ClockWindow& clock) const;
    void ExpectChildren(const ClockWindow& clock) const;
};

// The circles, the labels and their font at dpi_, measured in what the window draws.
void TwipsGeometry::ExpectDrawn(const ClockWindow& clock) const {
    auto font = reinterpret_cast<HFONT>(SendMessageW(clock.hwnd(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    const double em = 9 * dpi_ / 72.0;
    EXPECT_NEAR(EmPixels(font), em, 1.0) << "9-point labels";

    Snapshot shot(clock.hwnd());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The three circles: 135 twips wide at the left edge, tops 0, 120, 240.
    LONG middle = Px(67.5);
    EXPECT_EQ(shot.At(middle, Px(50)), RGB(0xFF, 0xC0, 0xC0));   // Shape3 under OP1, &HC0C0FF
    EXPECT_EQ(shot.At(middle, Px(187)), RGB(0xC0, 0xFF, 0xFF));  // Shape2 under OP2, &HFFFFC0
    EXPECT_EQ(shot.At(middle, Px(307)), RGB(0xFF, 0xFF, 0xC0));  // Shape1 under OP3, &HC0FFFF
    RECT circles = shot.Ink({0, 0, Px(200), Px(1000)}, face);
    EXPECT_NEAR(circles.left, 0, 1.0);
    EXPECT_NEAR(circles.right, ExactPixels(135), 1.0);
    EXPECT_NEAR(circles.bottom, ExactPixels(240 + 135), 1.0);

    // Place 1's name at (240, 75), its time 195 twips lower; place 2 in the
    // second column, 1195 twips to the right. The letters start at the
    // label's left edge and stay inside its 180-twip height.
    struct Expected {
        const char* what;
        double left, top;
    } labels[] = {{"L1", 240, 75}, {"T1", 240, 270}, {"L2", 1435, 75}, {"T2", 1435, 270}};
    for (const Expected& label : labels) {
        SCOPED_TRACE(label.what);
        // One pixel around the label: the name above a time ends right there.
        RECT box{Px(label.left) - 1, Px(label.top) - 1, Px(label.left + 1095) + 1, Px(label.top + 180) + 1};
        RECT ink = shot.Ink(box, face);
        ASSERT_FALSE(IsRectEmpty(&ink)) << "nothing drawn";
        EXPECT_GE(ink.left, ExactPixels(label.left) - 1);
        EXPECT_LE(ink.left, ExactPixels(label.left) + em / 2);
        EXPECT_GE(ink.top, ExactPixels(label.top) - 1);
        EXPECT_LE(ink.bottom, ExactPixels(label.top + 180) + 1);
        // Glyphs of a 9-point face: most of an em high, whatever the DPI.
        EXPECT_GE(ink.bottom - ink.top, em * 0.55);
    }
}

// Every child's box against the two-column twips layout at dpi_, to the
// pixel: the buttons at the left edge, place n's labels in its row and column.
void TwipsGeometry::ExpectChildren(const ClockWindow& clock) const {
    auto expectBox = [&](long child, double left, double top, double width, double height) {
        const RECT actual = clock.ChildPixels(child), expected = TwipsRect(left, top, width, height, dpi_);
        EXPECT_TRUE(EqualRect(&actual, &expected)) << "child " << child;
    };
    for (long b = 1; b <= clock_child::kLastButton; ++b) expectBox(b, 0, kButtons[b - 1].top, kButtonSize, kButtonSize);
    for (int n = 1; n <= kPlaceCount; ++n) {
        expectBox(clock_child::NameLabel(n), 240 + (n - 1) % 2 * 1195, 75 + (n - 1) / 2 * 450, 1095, 180);
        expectBox(clock_child::TimeLabel(n), 240 + (n - 1) % 2 * 1195, 270 + (n - 1) / 2 * 450, 1095, 180);
    }
}

// QV1 lands at the same physical place and size; the circles, the labels and
// their font scale with it; closing it stores what it was given, to within
// one pixel's worth of twips.
TEST_F(TwipsGeometry, QV1KeepsItsTwipsAndItsLabelsTheirPoints) {
    ClockWindow& clock = Start("");
    ASSERT_EQ(clock.style(), ClockStyle::QV1);
    ExpectTwipsBox(OuterRect(), 1500, 1500, 2640, 2450);
    Tick();
    EXPECT_EQ(clock.Dpi(), dpi_);
    ExpectDrawn(clock);
    ExpectChildren(clock);

    clock.Close();
    Pump();
    double pixel = 1440.0 / MeasuredDpi();
    EXPECT_NEAR(model_.WinLeft.ToNumber().value_or(-1), 1500, pixel / 2);
    EXPECT_NEAR(model_.WinTop.ToNumber().value_or(-1), 1500, pixel / 2);
    EXPECT_NEAR(model_.WinWidth.ToNumber().value_or(-1), 2640, pixel / 2);
    EXPECT_NEAR(model_.WinHeight.ToNumber().value_or(-1), 2450, pixel / 2);
}

// The window dragged onto a monitor of another scale and back, as the
// system reports it (Wine never does): WM_DPICHANGED with the new DPI in
// both words of wParam and the rectangle that keeps the window's place and
// its size in twips. From the run's DPI to 144 (192 from a run at 144) and
// back: each DPI's layout exactly, the columns and the size in inches kept.
TEST_F(TwipsGeometry, DpiChangedLaysTheWindowOutAtTheNewDpiAndBack) {
    ClockWindow& clock = Start("");
    Tick();
    RECT before = OuterRect();
    for (int to : {dpi_ == 144 ? 192 : 144, dpi_}) {
        SCOPED_TRACE("to " + std::to_string(to) + " dpi");
        RECT now = OuterRect();
        RECT suggested{now.left, now.top, now.left + MulDiv(now.right - now.left, to, dpi_),
                       now.top + MulDiv(now.bottom - now.top, to, dpi_)};
        dpi_ = to;
        SendMessageW(clock.hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        Pump();
        RECT taken = OuterRect();
        EXPECT_TRUE(EqualRect(&taken, &suggested)) << "the suggested rectangle is not taken";
        EXPECT_EQ(clock.Dpi(), to);
        ExpectTwipsBox(taken, now.left * 1440.0 / to, now.top * 1440.0 / to, 2640, 2450, to);
        ExpectDrawn(clock);
        ExpectChildren(clock);
    }
    RECT after = OuterRect();
    EXPECT_TRUE(EqualRect(&after, &before)) << "back at the first DPI, not where it started";
}

// QV2 has no border: its client area is the whole window. Its background
// picture is drawn pixel for pixel at any DPI, never stretched.
TEST_F(TwipsGeometry, QV2KeepsItsTwipsAndItsPictureItsPixels) {
    const COLORREF red = RGB(255, 0, 0);
    WriteBitmap(File("back.bmp"), 60, 40, red);
    ClockWindow& clock = Start(" 1 ", Narrow(File("back.bmp").wstring()));
    ASSERT_EQ(clock.style(), ClockStyle::QV2);
    ASSERT_TRUE(clock.HasPicture());
    ExpectTwipsBox(OuterRect(), 1500, 1500, 2640, 2450);
    RECT client{};
    GetClientRect(clock.hwnd(), &client);
    EXPECT_NEAR(client.right, ExactPixels(2640), 1.0);

    // Clear of the circles and the labels (between the two, 187 twips in):
    // the picture's last column and row, and the button face just past them.
    Snapshot shot(clock.hwnd());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shot.At(59, 2), red);
    EXPECT_EQ(shot.At(Px(187), 39), red);
    EXPECT_EQ(shot.At(61, 2), face);
    EXPECT_EQ(shot.At(Px(187), 41), face);
}

// Vr: its client area, and the stored picture filling Image1 to its edges.
TEST_F(TwipsGeometry, StartupWindowAndItsPictureKeepTheirTwips) {
    application_->LoadVr();
    StartupWindow* vr = application_->Vr();
    ASSERT_TRUE(vr && vr->IsOpen());
    RECT client{};
    GetClientRect(vr->hwnd(), &client);
    EXPECT_NEAR(client.right, ExactPixels(4755), 1.0);
    EXPECT_NEAR(client.bottom, ExactPixels(1845), 1.0);
    Snapshot shot(vr->hwnd());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The picture reaches the right and bottom edges: no bare strip.
    for (LONG y : {client.bottom / 4, client.bottom / 2, client.bottom - 2}) {
        EXPECT_NE(shot.At(client.right - 2, y), face) << "right edge, row " << y;
    }
    for (LONG x : {client.right / 4, client.right / 2, client.right - 2}) {
        EXPECT_NE(shot.At(x, client.bottom - 2), face) << "bottom edge, column " << x;
    }
}

}  // namespace
}  // namespace qv::win::test
