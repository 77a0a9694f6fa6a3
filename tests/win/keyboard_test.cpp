// The clock window by keyboard: Tab and Shift+Tab among the three buttons,
// the focus rectangle once the keyboard was used, Enter and Space running the
// focused button's command; Alt+Tab to each of the program's windows.
#include "clock_fixture.h"

#include <algorithm>
#include <vector>

#include "henko_window.h"
#include "syoki_window.h"
#include "twips.h"
#include "verinfo_window.h"

namespace qv::win::test {
namespace {

struct FocusEvent {
    HWND hwnd;
    LONG object, child;
    bool operator==(const FocusEvent&) const = default;
};
std::vector<FocusEvent> g_focusEvents;

void CALLBACK RecordFocus(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    g_focusEvents.push_back({hwnd, object, child});
}

// This thread's windows that Alt+Tab lists, by title (visible, not tool
// windows, each the end of the last-active-popup walk from its root owner),
// and those with a taskbar button (visible, unowned, not tool windows).
struct ProgramEntries {
    std::vector<std::wstring> altTab, taskbar;
};
BOOL CALLBACK AddEntries(HWND hwnd, LPARAM lp) {
    auto* entries = reinterpret_cast<ProgramEntries*>(lp);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    const bool tool = GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
    if (!IsWindowVisible(hwnd) || tool) return TRUE;
    if (!GetWindow(hwnd, GW_OWNER)) entries->taskbar.push_back(title);
    HWND walk = GetAncestor(hwnd, GA_ROOTOWNER);
    for (HWND next; (next = GetLastActivePopup(walk)) != walk;) {
        walk = next;
        if (IsWindowVisible(walk)) break;
    }
    if (walk == hwnd) entries->altTab.push_back(title);
    return TRUE;
}
ProgramEntries Entries() {
    ProgramEntries entries;
    EnumThreadWindows(GetCurrentThreadId(), AddEntries, reinterpret_cast<LPARAM>(&entries));
    return entries;
}

class KeyboardTest : public ClockTest {
protected:
    // The top-left corner of a button's box: outside its circle, on the focus rectangle.
    COLORREF CornerOf(int button) {
        RECT r = TwipsRect(0, kButtons[button - 1].top, kButtonSize, kButtonSize, ScreenDpi());
        return PrintedPixel(application_->Clock()->hwnd(), r.left, r.top);
    }

    // Tabs to a button and presses the key on it; the clock window is gone after.
    void RunByKeys(WORD key, int tabs) {
        ClockWindow& clock = StartFirstRun();
        const HWND window = clock.hwnd();
        Press(VK_RETURN);  // no button has the focus yet
        ASSERT_TRUE(IsWindow(window));
        ASSERT_EQ(GetFocus(), window);
        for (int i = 0; i < tabs; ++i) Press(VK_TAB);
        EXPECT_EQ(clock.FocusedButton(), tabs);
        Press(key);  // the window object goes with its window
        EXPECT_FALSE(IsWindow(window));
    }
};

TEST_F(KeyboardTest, TabAndShiftTabGoRoundTheButtonsWithAFocusRectangle) {
    ClockWindow& clock = StartFirstRun();
    ASSERT_EQ(GetFocus(), clock.hwnd());
    const COLORREF plain = CornerOf(1);
    EXPECT_EQ(clock.FocusedButton(), 0);

    std::vector<int> order;
    for (int i = 0; i < 4; ++i) {
        Press(VK_TAB);
        order.push_back(clock.FocusedButton());
    }
    for (int i = 0; i < 4; ++i) {
        Press(VK_TAB, true);
        order.push_back(clock.FocusedButton());
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 1, 3, 2, 1, 3}));
    EXPECT_NE(CornerOf(3), plain) << "the focused button shows its focus rectangle";
    EXPECT_EQ(CornerOf(1), plain) << "and the others none";

    // Without the focus, no rectangle; Enter and Space do nothing unless a button is focused.
    SetFocus(nullptr);
    EXPECT_EQ(CornerOf(3), plain);
}

TEST_F(KeyboardTest, BackInTheWindowAScreenReaderHearsTheFocusedButton) {
    ClockWindow& clock = StartFirstRun();
    const HWND window = clock.hwnd();
    g_focusEvents.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordFocus,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    auto heard = [&](LONG child) {
        return PumpUntil([&] {
            return std::find(g_focusEvents.begin(), g_focusEvents.end(), FocusEvent{window, OBJID_CLIENT, child}) !=
                   g_focusEvents.end();
        }, 5000);
    };
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_TRUE(heard(2)) << "Tab";  // its event in, before the list is cleared

    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    Pump();
    ASSERT_NE(GetFocus(), window);
    g_focusEvents.clear();
    SetActiveWindow(window);
    EXPECT_TRUE(heard(2)) << "the window activated again, " << g_focusEvents.size() << " focus events";
    EXPECT_EQ(clock.FocusedButton(), 2);

    DestroyWindow(other);
    UnhookWinEvent(hook);
}

// Each command in a run of its own: the model the first run leaves differs.
TEST_F(KeyboardTest, EnterOnSettingsOpensTheDisplaySettings) {
    RunByKeys(VK_RETURN, 3);
    HWND henko = FindOwnWindow(L"QV.HENKO");
    ASSERT_NE(henko, nullptr);
    DestroyWindow(henko);
}

TEST_F(KeyboardTest, SpaceOnSwitchOpensTheOtherWindow) {
    RunByKeys(VK_SPACE, 2);
    ASSERT_NE(application_->Clock(), nullptr);
    EXPECT_EQ(application_->Clock()->style(), ClockStyle::QV2);
}

TEST_F(KeyboardTest, EnterOnEndEndsTheProgram) {
    RunByKeys(VK_RETURN, 1);
    EXPECT_FALSE(application_->AnyWindowLeft());
}

// F1 opens the help in another program, as the browser comes to the front;
// Alt+Tab (SwitchToThisWindow: Wine without a window manager switches nothing
// on the keys) brings the window back with the focus where it was.
TEST_F(KeyboardTest, AltTabReachesEveryWindowByItsTitleAndGivesTheFocusBack) {
    StartFirstRun();
    EXPECT_EQ(Entries().altTab, std::vector<std::wstring>{L"QV"});
    EXPECT_EQ(Entries().taskbar, std::vector<std::wstring>{});
    HWND browser = nullptr;
    choosers_.help = [&] {
        browser = CreateWindowExW(0, L"STATIC", L"help", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(browser);
    };
    auto leaveAndComeBack = [&](const wchar_t* cls, const wchar_t* title, int tabs) {
        HWND window = FindOwnWindow(cls);
        ASSERT_NE(window, nullptr) << title;
        for (int i = 0; i < tabs; ++i) Press(VK_TAB);
        const HWND focus = GetFocus();
        ASSERT_TRUE(IsChild(window, focus)) << title;
        EXPECT_EQ(Entries().altTab, std::vector<std::wstring>{title});
        EXPECT_EQ(Entries().taskbar, std::vector<std::wstring>{}) << title;
        EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0) << title << ": the program's icon";
        Press(VK_F1);
        ASSERT_NE(browser, nullptr) << title;
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == browser; }, 5000)) << title;
        SwitchToThisWindow(window, TRUE);
        EXPECT_TRUE(PumpUntil([&] { return GetFocus() == focus; }, 5000)) << title;
        DestroyWindow(browser);
        browser = nullptr;
    };
    for (int i = 0; i < 3; ++i) Press(VK_TAB);  // to 設定
    Press(VK_RETURN);
    leaveAndComeBack(henko::kClassName, henko::kTitle, 3);
    Click(FindOwnWindow(henko::kClassName), henko::BSYO);
    leaveAndComeBack(syoki::kClassName, syoki::kTitle, 5);
    Click(FindOwnWindow(syoki::kClassName), syoki::BCH);
    Click(FindOwnWindow(henko::kClassName), henko::GoVerInfo);
    leaveAndComeBack(verinfo::kClassName, verinfo::kTitle, 1);
    DestroyWindow(FindOwnWindow(verinfo::kClassName));
}

}  // namespace
}  // namespace qv::win::test
