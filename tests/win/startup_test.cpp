// Start-up: the splash window, the first-run pass, the restart pass, the
// second copy, and the version the label reads.
#include "clock_fixture.h"

#include "twips.h"
#include "program_version.h"

namespace qv::win::test {
namespace {

using StartupTest = ClockTest;

TEST_F(StartupTest, SplashWindowAsDesigned) {
    application_->LoadVr();
    StartupWindow* vr = application_->Vr();
    ASSERT_TRUE(vr && vr->IsOpen());
    HWND hwnd = vr->hwnd();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(vr->TimerEnabled());
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);  // no taskbar button
    RECT client, outer;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(client.right, TwipsToPixels(4755));
    EXPECT_EQ(client.bottom, TwipsToPixels(1845));
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(vr->VersionCaption(), L"Ver. 0.5.0");
    // Nothing has been read yet: the settings wait for the timer.
    EXPECT_TRUE(model_.PlaceName[1].empty());
    EXPECT_FALSE(application_->Clock());

    // The splash picture fills the window: its dark blue band at the right
    // edge, and the version label's colour somewhere in the label's place.
    COLORREF band = PrintedPixel(hwnd, 310, 10);
    EXPECT_LT(GetRValue(band), 60);
    EXPECT_GT(GetBValue(band), 60);
    bool labelInk = false;
    int x0 = TwipsToPixels(3840), y0 = TwipsToPixels(1560);
    for (int y = y0; y < y0 + 12 && !labelInk; ++y)
        for (int x = x0; x < x0 + 50 && !labelInk; ++x) {
            COLORREF c = PrintedPixel(hwnd, x, y);
            labelInk = std::abs(GetRValue(c) - 128) < 30 && std::abs(GetGValue(c) - 128) < 30 && GetBValue(c) > 220;
        }
    EXPECT_TRUE(labelInk) << "no pixel of the version label's colour";
}

TEST_F(StartupTest, FirstRunInAnEmptyFolderOpensQV1AtTheTopLeft) {
    ClockWindow& clock = StartFirstRun();
    EXPECT_FALSE(application_->Vr()) << "Vr closes after its first-run pass";
    EXPECT_EQ(clock.style(), ClockStyle::QV1);
    HWND hwnd = clock.hwnd();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(ClassName(hwnd), L"QV1");
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // No taskbar button (owned by a hidden window), but an Alt+Tab entry (no tool window).
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW));
    HWND owner = GetWindow(hwnd, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(GetLastActivePopup(owner), hwnd);
    RECT r = OuterRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, TwipsToPixels(1410));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(885));

    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).caption, L"日本");
    for (int n = 2; n <= 10; ++n) EXPECT_TRUE(clock.Label(ClockWindow::NameLabel(n)).caption.empty());
    for (int n = 1; n <= 10; ++n) EXPECT_TRUE(model_.SummerTime[n].Equals(0));
    Tick();
    EXPECT_EQ(clock.Label(ClockWindow::TimeLabel(1)).caption, L"12/07 10:30");
    // One column: place 2 under place 1.
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).left, 240);
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(2)).top, 75 + 450);
    EXPECT_TRUE(model_.ClockLoaded.Equals(1));
    EXPECT_TRUE(messages_.shown.empty());

    // The painted window: button-face background, the three circles with
    // their fills.
    EXPECT_EQ(PrintedPixel(hwnd, 12, 40), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PrintedPixel(hwnd, TwipsToPixels(67), TwipsToPixels(60)), RGB(0xFF, 0xC0, 0xC0));   // Shape3 &HC0C0FF
    EXPECT_EQ(PrintedPixel(hwnd, TwipsToPixels(67), TwipsToPixels(187)), RGB(0xC0, 0xFF, 0xFF));  // Shape2 &HFFFFC0
    EXPECT_EQ(PrintedPixel(hwnd, TwipsToPixels(67), TwipsToPixels(320)), RGB(0xFF, 0xFF, 0xC0));  // Shape1 &HC0FFFF
}

TEST_F(StartupTest, RestartPassOpensTheStoredLayoutAtOnceWithoutColourDefaults) {
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 885, 1410, 3000, " 1 "));
    // A display file that ends before the colours.
    WriteSettingsFile(File("STEI1.QV"), {"色"});
    model_.NameColor = "255";  // what memory holds from an earlier pass
    ClockWindow* clock = Restart();
    EXPECT_FALSE(application_->Vr() && application_->Vr()->IsOpen()) << "the restart pass closes Vr before it is shown";
    ASSERT_TRUE(clock);
    EXPECT_EQ(clock->style(), ClockStyle::QV2);
    EXPECT_TRUE(model_.RestartFlag.Equals(0));
    EXPECT_EQ(model_.NameColor, "255");
    EXPECT_EQ(clock->Label(ClockWindow::NameLabel(1)).color, RGB(255, 0, 0));
    EXPECT_TRUE(model_.FieldWidth.Equals(1095));
    RECT r = OuterRect();
    EXPECT_EQ(r.left, TwipsToPixels(3000));
    EXPECT_EQ(r.top, TwipsToPixels(1200));
}

TEST_F(StartupTest, FirstRunPassOpensNoSecondClockWindow) {
    ClockWindow& first = StartFirstRun();
    HWND firstWindow = first.hwnd();
    WriteSettingsFile(File("STEI.QV"), PlacesFile({{"東京", " 0 ", "", ""}}));
    application_->LoadVr();  // Vr loaded again while a clock window is open
    StartupWindow* vr = application_->Vr();
    ASSERT_TRUE(vr && vr->IsOpen());
    SendMessageW(vr->hwnd(), WM_TIMER, StartupWindow::kTimer1, 0);
    Pump();
    EXPECT_FALSE(application_->Vr());
    ASSERT_TRUE(application_->Clock());
    EXPECT_EQ(application_->Clock()->hwnd(), firstWindow);
    EXPECT_EQ(model_.PlaceName[1], "東京") << "the pass re-reads the settings all the same";
}

TEST_F(StartupTest, SecondCopyShowsItsMessageAndEnds) {
    process_.anotherCopy = true;
    application_->LoadVr();
    SendMessageW(application_->Vr()->hwnd(), WM_TIMER, StartupWindow::kTimer1, 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, L"既に起動されています");
    EXPECT_EQ(messages_.shown[0].title, L"QV");
    EXPECT_EQ(messages_.shown[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(process_.ended, 1);
    ASSERT_TRUE(application_->Clock());
    EXPECT_FALSE(IsWindowVisible(application_->Clock()->hwnd()));
}

TEST_F(StartupTest, StartUpCostsLittleBeyondTheSplash) {
    std::vector<PlaceRow> rows;
    for (int n = 1; n <= 10; ++n) rows.push_back({"地点" + std::to_string(n), std::to_string(n), "9:00", "17:00"});
    WriteSettingsFile(File("STEI.QV"), PlacesFile(rows));
    WriteSettingsFile(File("STEI1.QV"), DefaultDisplayFile());
    LARGE_INTEGER frequency, t0, t1, t2;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    application_->LoadVr();
    QueryPerformanceCounter(&t1);
    ASSERT_TRUE(application_->Vr() && IsWindowVisible(application_->Vr()->hwnd()));
    // The first-run pass up to the clock window's first showing (Vr closes after it).
    HWND vr = application_->Vr()->hwnd();
    SendMessageW(vr, WM_TIMER, StartupWindow::kTimer1, 0);
    QueryPerformanceCounter(&t2);
    ASSERT_TRUE(application_->Clock() && IsWindowVisible(application_->Clock()->hwnd()));
    double splashMs = 1000.0 * (t1.QuadPart - t0.QuadPart) / frequency.QuadPart;
    double clockMs = 1000.0 * (t2.QuadPart - t1.QuadPart) / frequency.QuadPart;
    RecordProperty("splash_ms", std::to_string(splashMs));
    RecordProperty("first_run_pass_ms", std::to_string(clockMs));
    std::printf("splash shown in %.1f ms; first-run pass to the visible clock %.1f ms\n", splashMs, clockMs);
    EXPECT_LT(splashMs, 1000);
    EXPECT_LT(clockMs, 1000);
}

TEST(SingleInstanceTest, TheSecondClaimOfTheSessionNameIsRefused) {
    std::wstring name = L"Local\\QV.test." + std::to_wstring(GetCurrentProcessId());
    SingleInstance first(name), second(name);
    EXPECT_FALSE(first.AnotherCopyRunning());
    EXPECT_TRUE(second.AnotherCopyRunning());
    EXPECT_FALSE(first.AnotherCopyRunning()) << "the copy that holds it asks again at every clock load";
}

TEST(VersionTest, ReadFromTheVersionResource) {
    auto version = ReadProgramVersion(GetModuleHandleW(nullptr));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->major, static_cast<unsigned>(QV_VERSION_MAJOR));
    EXPECT_EQ(version->minor, static_cast<unsigned>(QV_VERSION_MINOR));
    EXPECT_EQ(version->revision, static_cast<unsigned>(QV_VERSION_PATCH));
}

}  // namespace
}  // namespace qv::win::test
