// Settings the window cannot use as they stand: a font face, values that are
// not numbers, pictures, a place off every monitor, a save that fails.
#include "clock_fixture.h"

#include <filesystem>
#include <fstream>

#include "text.h"
#include "twips.h"

namespace qv::win::test {
namespace {

using FaultsTest = ClockTest;

std::vector<std::string> DisplayWithFont(const std::string& face, const std::string& bold, const std::string& italic,
                                         const std::string& size) {
    auto d = DefaultDisplayFile();
    d[15] = bold;
    d[16] = italic;
    d[17] = face;
    d[18] = size;
    return d;
}

TEST_F(FaultsTest, MissingFontFaceShowsTheMessageAndKeepsSizeBoldItalic) {
    WriteSettingsFile(File("STEI1.QV"), DisplayWithFont("存在しないフォント", "True", "True", " 12 "));
    ClockWindow& clock = StartFirstRun();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, L"このフォントは対応していません。他フォントに設定してください。");
    EXPECT_EQ(messages_.shown[0].title, L"フォントエラー");
    EXPECT_EQ(messages_.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
    EXPECT_EQ(clock.Font().size, 12);
    EXPECT_TRUE(clock.Font().bold);
    EXPECT_TRUE(clock.Font().italic);
    EXPECT_EQ(clock.Font().face, L"ＭＳ Ｐゴシック") << "the previous face stays";
    EXPECT_EQ(model_.FontName.ToText(), "ＭＳ ゴシック");
    // Only in memory: the display file still names the face it had.
    EXPECT_NE(ReadAllBytes(File("STEI1.QV")).find(Sjis("存在しないフォント")), std::string::npos);
}

TEST_F(FaultsTest, EmptyAndOverlongFacesAreRefusedAndInstalledOnesTaken) {
    // Through the restart pass, which applies no font default, so an empty
    // face reaches the window.
    struct Case {
        std::string face;
        bool usable;
    } cases[] = {{"", false},
                 {std::string(32, 'A'), false},
                 {"ＭＳ ゴシック", true},
                 {"ＭＳ Ｐゴシック", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        messages_.shown.clear();
        WriteSettingsFile(File("STEI1.QV"), DisplayWithFont(c.face, "False", "False", " 9 "));
        if (application_->Clock()) application_->Clock()->Close();
        Pump();
        ASSERT_TRUE(Restart());
        ClockWindow& clock = *application_->Clock();
        EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
        EXPECT_EQ(messages_.shown.size(), c.usable ? 0u : 1u);
        if (c.usable) {
            EXPECT_EQ(clock.Font().face, Widen(c.face));
        } else {
            EXPECT_EQ(model_.FontName.ToText(), "ＭＳ ゴシック");
        }
        EXPECT_EQ(clock.Font().size, 9);
    }
}

TEST_F(FaultsTest, ValuesThatAreNotNumbersCountAsTheirDefaults) {
    auto d = DefaultDisplayFile();
    d[1] = "赤";        // name colour
    d[8] = "yes";       // transparent
    d[12] = "high";     // field height
    d[13] = "wide";     // field width
    d[18] = "big";      // font size
    WriteSettingsFile(File("STEI1.QV"), d);
    WriteSettingsFile(File("STEI2.QV"), {"フォーム情報", "x", "位置サイズ情報", "top", " 885 ", "?", " 3000 ",
                                         "フォーム切替情報", ""});
    ClockWindow& clock = StartFirstRun();
    EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).color, RGB(0, 0, 0));
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).width, 1095);
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(1)).height, 180);
    EXPECT_EQ(clock.Font().size, 8);
    RECT r = OuterRect();
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, TwipsToPixels(3000));
    EXPECT_EQ(r.right - r.left, TwipsToPixels(1410));
    Tick();
    EXPECT_EQ(clock.Label(ClockWindow::TimeLabel(1)).caption, L"12/07 10:30");
}

TEST_F(FaultsTest, APictureThatCannotBeLoadedLeavesNone) {
    std::ofstream(File("broken.jpg"), std::ios::binary) << "not a picture at all";
    auto d = DefaultDisplayFile();
    d[6] = Narrow(File("broken.jpg").wstring());
    WriteSettingsFile(File("STEI1.QV"), d);
    ClockWindow& clock = StartFirstRun();
    EXPECT_FALSE(clock.HasPicture());
    EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FaultsTest, PictureDrawnUnscaledAtTheTopLeftOnlyWhenOpaque) {
    WriteBitmap(File("back.bmp"), 20, 4, RGB(10, 200, 30));
    auto d = DefaultDisplayFile();
    d[6] = Narrow(File("back.bmp").wstring());
    WriteSettingsFile(File("STEI1.QV"), d);
    ClockWindow& clock = StartFirstRun();
    ASSERT_TRUE(clock.HasPicture());
    // Right of the circles the picture shows; it ends after its twenty
    // pixels and four rows, unscaled.
    EXPECT_EQ(PrintedPixel(clock.hwnd(), 12, 1), RGB(10, 200, 30));
    EXPECT_EQ(PrintedPixel(clock.hwnd(), 19, 3), RGB(10, 200, 30));
    EXPECT_EQ(PrintedPixel(clock.hwnd(), 22, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PrintedPixel(clock.hwnd(), 12, 4), GetSysColor(COLOR_BTNFACE));

    clock.Close();
    Pump();
    d[8] = "1";  // transparent display: no picture
    WriteSettingsFile(File("STEI1.QV"), d);
    ASSERT_TRUE(Restart());
    EXPECT_FALSE(application_->Clock()->HasPicture());
}

// Far off every monitor: the least move that puts the three buttons wholly
// on the work area (earlier versions brought the whole window back, to the
// same effect for the buttons but a longer move).
TEST_F(FaultsTest, APlaceOffEveryMonitorComesBackOntoTheNearestOne) {
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", -90000, 885, 1410, 300000, ""));
    StartFirstRun();
    RECT r = OuterRect();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    POINT buttons{0, 0};
    ClientToScreen(application_->Clock()->hwnd(), &buttons);
    EXPECT_EQ(buttons.x + TwipsToPixels(135), info.rcWork.right);
    EXPECT_EQ(buttons.y, info.rcWork.top);
    EXPECT_EQ(r.right - r.left, TwipsToPixels(1410));
}

TEST_F(FaultsTest, AFailedSaveIsReportedAndTheProgramGoesOn) {
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 885, 1410, 3000, ""));
    StartFirstRun();
    // A folder where the window file should be: no file can replace it.
    std::filesystem::remove(File("STEI2.QV"));
    std::filesystem::create_directory(File("STEI2.QV"));
    DoubleClickCircle(kOP2);
    ASSERT_GE(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, L"QV");
    EXPECT_NE(messages_.shown[0].text.find(L"STEI2.QV"), std::wstring::npos);
    EXPECT_EQ(messages_.shown[0].text.find(L"以前の設定ファイル"), std::wstring::npos)
        << "there is no old file to speak of";
    ASSERT_TRUE(application_->Clock()) << "the switch went on after the failed save";
    EXPECT_EQ(application_->Clock()->style(), ClockStyle::QV2);
    EXPECT_TRUE(std::filesystem::is_directory(File("STEI2.QV")));
}

}  // namespace
}  // namespace qv::win::test
