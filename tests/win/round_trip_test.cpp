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

// The user picks green in the colour chooser; the other choosers are cancelled.
class GreenChooser final : public Choosers {
public:
    std::optional<COLORREF> ChooseColor(HWND, COLORREF) override { return RGB(0, 128, 0); }
    std::optional<FontChoice> ChooseFont(HWND, const FontChoice&) override { return std::nullopt; }
    std::optional<std::wstring> ChooseOpenFile(HWND, const std::wstring&) override { return std::nullopt; }
    void ShowHelp(HWND, const std::wstring&) override {}
};

BOOL CALLBACK CollectProgramWindow(HWND hwnd, LPARAM lp) {
    static const std::set<std::wstring> kProgramClasses = {L"Vr", L"QV1", L"QV2", L"QV.HENKO", L"QV.SYOKI",
                                                           L"QV.VerInfo"};
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (kProgramClasses.count(name)) reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(name);
    return TRUE;
}

class RoundTripTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        app_ = std::make_unique<AppContext>(
            AppContext{model_, folder_, clock_, messages_, green_, *application_, GetModuleHandleW(nullptr)});
        application_->Attach(*app_);
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

    static void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static void Type(HWND dialog, int id, const wchar_t* text) { SetWindowTextW(GetDlgItem(dialog, id), text); }

    GreenChooser green_;
};

TEST_F(RoundTripTest, FromTheClockThroughEveryDialogBackToTheClock) {
    ClockWindow& first = StartFirstRun();
    ASSERT_EQ(OnlyWindow(), L"QV1");
    SendMessageW(first.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(67, 320));  // OP3

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
    std::string places = ReadBytes(File("STEI.QV"));
    EXPECT_EQ(std::count(places.begin(), places.end(), '\n'), 55);
    EXPECT_NE(places.find(Sjis("名称\r\n日本\r\nロンドン\r\nシドニー\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("時差\r\n 0 \r\n-9\r\n 0 \r\n\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("始業時間\r\n0:00\r\n")), std::string::npos);
    EXPECT_NE(places.find(Sjis("サマータイム情報\r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n")), std::string::npos);
    std::string display = ReadBytes(File("STEI1.QV"));
    EXPECT_EQ(display.substr(0, Sjis("色\r\n0\r\n12648447\r\n32768\r\n0\r\n").size()),
              Sjis("色\r\n0\r\n12648447\r\n32768\r\n0\r\n"));
    std::string window = ReadBytes(File("STEI2.QV"));
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
