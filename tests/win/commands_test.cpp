// The mouse commands of the clock window: switch, end, system close, and
// presses that must not move the window.
#include "clock_fixture.h"

#include <commctrl.h>

#include "twips.h"
#include "henko_window.h"

namespace qv::win::test {
namespace {

// Records the window's hide-and-show sequence.
LRESULT CALLBACK RecordShows(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_SHOWWINDOW) reinterpret_cast<std::vector<bool>*>(data)->push_back(wp != 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// The buttons' and places' tool tips (the shown moment's has one tool).
BOOL CALLBACK FindToolTips(HWND h, LPARAM lp) {
    if (ClassName(h) != TOOLTIPS_CLASSW || SendMessageW(h, TTM_GETTOOLCOUNT, 0, 0) < 3) return TRUE;
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
}

class CommandsTest : public ClockTest {
protected:
    ClockWindow& StartAt(const std::string& formState, const std::string& layout) {
        WriteSettingsFile(File("STEI2.QV"), WindowFile(formState, 1200, 885, 1410, 3000, layout));
        return StartFirstRun();
    }
};

TEST_F(CommandsTest, SwitchWritesTheWindowFileAndOpensQV2AtTheSameRectangle) {
    ClockWindow& qv1 = StartAt(" 0 ", "");
    ASSERT_EQ(qv1.style(), ClockStyle::QV1);
    RECT before = OuterRect();
    EXPECT_EQ(before.left, TwipsToPixels(3000));
    EXPECT_EQ(before.top, TwipsToPixels(1200));
    DoubleClickCircle(kOP2);

    std::string expected = Sjis("フォーム情報\r\n 0 \r\n位置サイズ情報\r\n 1200 \r\n 885 \r\n 1410 \r\n 3000 \r\n"
                                "フォーム切替情報\r\n 1 \r\n");
    EXPECT_EQ(ReadAllBytes(File("STEI2.QV")), expected);
    ClockWindow* qv2 = application_->Clock();
    ASSERT_TRUE(qv2 && qv2->IsOpen());
    EXPECT_EQ(qv2->style(), ClockStyle::QV2);
    EXPECT_FALSE(GetWindowLongPtrW(qv2->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_BORDER | WS_CAPTION));
    EXPECT_TRUE(IsWindowVisible(qv2->hwnd()));
    RECT after = OuterRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(application_->Vr());
    EXPECT_TRUE(model_.RestartFlag.Equals(0));
    EXPECT_TRUE(application_->AnyWindowLeft());

    // And back: the first style at the same place and size.
    DoubleClickCircle(kOP2);
    ASSERT_TRUE(application_->Clock());
    EXPECT_EQ(application_->Clock()->style(), ClockStyle::QV1);
    RECT again = OuterRect();
    EXPECT_TRUE(EqualRect(&before, &again));
    std::string file = ReadAllBytes(File("STEI2.QV"));
    EXPECT_EQ(file.substr(file.size() - 6), "\n 0 \r\n");
}

TEST_F(CommandsTest, EndWritesTheFileAndLeavesNoWindow) {
    StartAt("3", " 1 ");
    ASSERT_EQ(application_->Clock()->style(), ClockStyle::QV2);
    DoubleClickCircle(kOP1);
    EXPECT_FALSE(application_->AnyWindowLeft()) << "the process ends when no window remains";
    EXPECT_FALSE(application_->Clock());
    std::string expected = Sjis("フォーム情報\r\n 0 \r\n位置サイズ情報\r\n 1200 \r\n 885 \r\n 1410 \r\n 3000 \r\n"
                                "フォーム切替情報\r\n 1 \r\n");
    EXPECT_EQ(ReadAllBytes(File("STEI2.QV")), expected);
}

TEST_F(CommandsTest, SettingsButtonHandsOverToTheDisplaySettingsAndBack) {
    StartAt("7", "");
    RECT before = OuterRect();
    DoubleClickCircle(kOP3);
    EXPECT_FALSE(application_->Clock());
    std::string file = ReadAllBytes(File("STEI2.QV"));
    EXPECT_EQ(file.substr(0, Sjis("フォーム情報\r\n 0 \r\n").size()), Sjis("フォーム情報\r\n 0 \r\n"));
    HWND henko = FindWindowW(henko::kClassName, nullptr);
    ASSERT_TRUE(henko) << "HENKO opens as the clock closes";
    EXPECT_TRUE(IsWindowVisible(henko));
    EXPECT_TRUE(application_->AnyWindowLeft()) << "the dialog keeps the program running";

    // "終了" restarts through Vr: the clock comes back where it was, HENKO goes.
    Click(henko, henko::BEND);
    EXPECT_FALSE(FindWindowW(henko::kClassName, nullptr));
    ASSERT_TRUE(application_->Clock());
    EXPECT_TRUE(IsWindowVisible(application_->Clock()->hwnd()));
    RECT after = OuterRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(model_.RestartFlag.Equals(0));
    EXPECT_EQ(ReadAllBytes(File("STEI1.QV")).size() > 0, true) << "HENKO wrote the display file";

    // Closing HENKO by its caption leaves no window: the process would end.
    DoubleClickCircle(kOP3);
    henko = FindWindowW(henko::kClassName, nullptr);
    ASSERT_TRUE(henko);
    SendMessageW(henko, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(application_->AnyWindowLeft());
}

TEST_F(CommandsTest, SystemCloseStoresThePlaceButKeepsTheFormState) {
    StartAt("2", "");
    HWND hwnd = application_->Clock()->hwnd();
    EXPECT_TRUE(IsWindowVisible(hwnd)) << "a stored form state other than 0 still shows the window";
    SetWindowPos(hwnd, nullptr, 150, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(application_->AnyWindowLeft());
    double left = PixelsToTwips(150), top = PixelsToTwips(40);
    auto lines = WindowFile("2", top, 885, 1410, left, "");
    std::string expected;
    for (auto& l : lines) expected += Sjis(l) + "\r\n";
    EXPECT_EQ(ReadAllBytes(File("STEI2.QV")), expected);
}

TEST_F(CommandsTest, RightOrMiddlePressHidesAndShowsButDoesNotMove) {
    ClockWindow& clock = StartAt(" 0 ", "");
    HWND hwnd = clock.hwnd();
    std::vector<bool> shows;
    SetWindowSubclass(hwnd, RecordShows, 1, reinterpret_cast<DWORD_PTR>(&shows));
    RECT before = OuterRect();
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(300, 100));  // on L1
    SendMessageW(hwnd, WM_MBUTTONDOWN, MK_MBUTTON, ClientPoint(300, 300));  // on T1
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(180, 600));  // on the surface
    RECT after = OuterRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(shows, (std::vector<bool>{false, true, false, true, false, true}));
    EXPECT_TRUE(IsWindowVisible(hwnd));

    // A press on a button circle does nothing: no drag, no hide.
    shows.clear();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(67, 60));
    SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(67, 187));
    EXPECT_TRUE(shows.empty());
    RemoveWindowSubclass(hwnd, RecordShows, 1);
}

TEST_F(CommandsTest, ButtonsCarryTheirToolTips) {
    ClockWindow& clock = StartAt(" 0 ", "");
    HWND tips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tips));
    ASSERT_TRUE(tips);
    EXPECT_EQ(GetWindow(tips, GW_OWNER), clock.hwnd());
    ASSERT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 3 + 2 * kPlaceCount) << "the buttons, then each place's two labels";
    const wchar_t* expected[] = {L"終了", L"画面切り替え", L"設定変更"};
    for (UINT_PTR id = 1; id <= 3; ++id) {
        wchar_t text[80] = {};
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = clock.hwnd();
        info.uId = id;
        info.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, expected[id - 1]);
        ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.rect.top, TwipsToPixels(id == 1 ? 0 : id == 2 ? 120 : 240));
        EXPECT_EQ(info.rect.bottom - info.rect.top, TwipsToPixels(135));
    }
}

}  // namespace
}  // namespace qv::win::test
