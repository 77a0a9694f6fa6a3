// The settings round trip as a user takes it, through the real windows:
// clock -> OP3 -> HENKO -> 初期設定 -> SYOKI OK -> HENKO -> ﾊﾞｰｼﾞｮﾝ情報 ->
// VerInfo OK -> HENKO -> 終了 -> the clock with the new places and colours.
// Exactly one window of the program exists at every step.
#include "clock_fixture.h"

#include <algorithm>
#include <set>

#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"

namespace qv::win::test {
namespace {

BOOL CALLBACK CollectProgramWindow(HWND hwnd, LPARAM lp) {
    static const std::set<std::wstring> kProgramClasses = {L"Vr", L"QV1", L"QV2", L"QV.HENKO", L"QV.SYOKI",
                                                           L"QV.VerInfo"};
    const std::wstring name = ClassName(hwnd);
    if (kProgramClasses.count(name)) reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(name);
    return TRUE;
}

class RoundTripTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        choosers_.colour = RGB(0, 128, 0);  // the user picks green
    }

    // The one window of the program that exists now, by class.
    std::wstring OnlyWindow() {
        Pump();
        std::vector<std::wstring> windows;
        EnumThreadWindows(GetCurrentThreadId(), CollectProgramWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows.size() != 1) {
            ADD_FAILURE() << windows.size() << " windows of the program exist";
            return {};
        }
        return windows[0];
    }
};

TEST_F(RoundTripTest, FromTheClockThroughEveryDialogBackToTheClock) {
    StartFirstRun();
    ASSERT_EQ(OnlyWindow(), L"QV1");
    DoubleClickCircle(kOP3);

    ASSERT_EQ(OnlyWindow(), L"QV.HENKO");
    HWND henko = FindWindowW(henko::kClassName, nullptr);
    Click(henko, henko::OP3);   // 就業時間表示色
    Click(henko, henko::BIRH);  // 変更: green
    EXPECT_EQ(model_.WorkColor, "32768");
    Click(henko, henko::BSYO);  // 初期設定

    ASSERT_EQ(OnlyWindow(), L"QV.SYOKI");
    HWND syoki = FindWindowW(syoki::kClassName, nullptr);
    wchar_t name1[64] = {};
    GetWindowTextW(GetDlgItem(syoki, syoki::L + 1), name1, 64);
    EXPECT_STREQ(name1, L"日本");
    Type(syoki, syoki::S + 1, L"0:00");
    Type(syoki, syoki::E + 1, L"23:59");
    Type(syoki, syoki::L + 2, L"ロンドン");
    Type(syoki, syoki::J + 2, L"-9");
    Type(syoki, syoki::L + 3, L"シドニー");  // no time difference typed: stored as 0
    Click(syoki, syoki::Check + 3);
    Click(syoki, syoki::BOK);

    ASSERT_EQ(OnlyWindow(), L"QV.HENKO");
    henko = FindWindowW(henko::kClassName, nullptr);
    Click(henko, henko::GoVerInfo);  // ﾊﾞｰｼﾞｮﾝ情報

    ASSERT_EQ(OnlyWindow(), L"QV.VerInfo");
    Click(FindWindowW(verinfo::kClassName, nullptr), verinfo::OK);

    ASSERT_EQ(OnlyWindow(), L"QV.HENKO");
    Click(FindWindowW(henko::kClassName, nullptr), henko::BEND);  // 終了

    ASSERT_EQ(OnlyWindow(), L"QV1");
    ClockWindow& back = *application_->Clock();
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(2)).caption, L"ロンドン");
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(3)).caption, L"シドニー");
    Tick();
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(1)).color, RGB(0, 128, 0)) << "日本 inside 00:00-23:59";
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(2)).color, RGB(0, 0, 0));
    EXPECT_EQ(back.Label(ClockWindow::TimeLabel(2)).caption, L"12/07 01:30");
    EXPECT_EQ(back.Label(ClockWindow::TimeLabel(3)).caption, L"12/07 11:30") << "summer time adds an hour";

    // The files, as the settings files are laid out.
    std::string places = ReadAllBytes(File("STEI.QV"));
    EXPECT_EQ(std::count(places.begin(), places.end(), '\n'), 55);
    EXPECT_NE(places.find(Sjis("名称\r\n日本\r\nロンドン\r\nシドニー\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("時差\r\n 0 \r\n-9\r\n 0 \r\n\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("始業時間\r\n0:00\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("サマータイム情報\r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n")), std::string::npos);
    std::string display = ReadAllBytes(File("STEI1.QV"));
    EXPECT_EQ(display.substr(0, Sjis("色\r\n0\r\n12648447\r\n32768\r\n0\r\n").size()),
              Sjis("色\r\n0\r\n12648447\r\n32768\r\n0\r\n"));
    std::string window = ReadAllBytes(File("STEI2.QV"));
    EXPECT_EQ(std::count(window.begin(), window.end(), '\n'), 9);
}

// The same way with the keyboard alone: no click, no message sent to a control.
TEST_F(RoundTripTest, ByKeyboardAlone) {
    StartFirstRun();
    ASSERT_EQ(OnlyWindow(), L"QV1");
    Press(VK_TAB, true);  // Shift+Tab from no button: the last one, 設定変更
    Press(VK_RETURN);

    ASSERT_EQ(OnlyWindow(), L"QV.HENKO");
    for (int i = 0; i < 20 && GetDlgCtrlID(GetFocus()) != henko::BSYO; ++i) Press(VK_TAB);
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), henko::BSYO);
    Press(VK_RETURN);

    ASSERT_EQ(OnlyWindow(), L"QV.SYOKI");
    HWND syoki = FindWindowW(syoki::kClassName, nullptr);
    ASSERT_EQ(GetFocus(), GetDlgItem(syoki, syoki::L + 1));
    for (int i = 0; i < 4; ++i) Press(VK_RETURN);  // past 日本's row
    auto type = [this](const wchar_t* text) {
        for (const wchar_t* c = text; *c; ++c) PostMessageW(GetFocus(), WM_CHAR, *c, 1);
        Pump();
    };
    ASSERT_EQ(GetFocus(), GetDlgItem(syoki, syoki::L + 2));
    type(L"ロンドン");
    Press(VK_RETURN);
    type(L"-9");
    for (int i = 0; i < 40 && GetDlgCtrlID(GetFocus()) != syoki::BOK; ++i) Press(VK_RETURN);  // through the fields
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), syoki::BOK);
    Press(VK_RETURN);

    ASSERT_EQ(OnlyWindow(), L"QV.HENKO");
    HWND henko = FindWindowW(henko::kClassName, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(henko, henko::BSYO)) << "back where the user left";
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), henko::BEND);
    Press(VK_RETURN);  // 終了

    ASSERT_EQ(OnlyWindow(), L"QV1");
    ClockWindow& back = *application_->Clock();
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(1)).caption, L"日本");
    EXPECT_EQ(back.Label(ClockWindow::NameLabel(2)).caption, L"ロンドン");
    Tick();
    EXPECT_EQ(back.Label(ClockWindow::TimeLabel(2)).caption, L"12/07 01:30");
    EXPECT_EQ(GetFocus(), back.hwnd());
}

}  // namespace
}  // namespace qv::win::test
