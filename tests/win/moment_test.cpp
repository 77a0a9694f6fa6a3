// The clock window at another moment: the wheel and keys move every place,
// the marker shows, presses, Home, Esc and a minute without input bring back
// now, screen readers hear one event a move, and a place's help tells its zone.
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "clock_accessible.h"
#include "clock_fixture.h"
#include "com_ptr.h"
#include "system_zones.h"
#include "twips.h"

namespace qv::win::test {
namespace {

struct HeardEvent {
    DWORD event;
    LONG child;
};
std::vector<HeardEvent> g_heard;
HWND g_clock = nullptr;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd == g_clock && object == OBJID_CLIENT) g_heard.push_back({event, child});
}

class MomentTest : public ClockTest {
protected:
    // Tokyo-style fixed place and a place 14 hours behind, at work 9:00 to 17:00.
    ClockWindow& Start() {
        clock_.now = CivilTime{2026, 12, 7, 10, 7, 0};
        WriteSettingsFile(File("STEI.QV"), PlacesFile({{"日本", " 0 ", "9:00", "17:00"}, {"ニューヨーク", "-14", "9:00", "17:00"}}));
        ClockWindow& clock = StartFirstRun();
        Tick();
        return clock;
    }
    ClockWindow& Clock() { return *application_->Clock(); }
    std::wstring Time(int n) { return Clock().Label(ClockWindow::TimeLabel(n)).caption; }
    COLORREF NameColor(int n) { return Clock().Label(ClockWindow::NameLabel(n)).color; }
    // One notch (or `notches`) of the wheel over the window: negative towards the user.
    void Wheel(int delta, bool shift = false) {
        POINT centre{20, 20};
        ClientToScreen(Clock().hwnd(), &centre);
        SendMessageW(Clock().hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(shift ? MK_SHIFT : 0, delta), MAKELPARAM(centre.x, centre.y));
    }
    // The marker's box beside place 1's time label (client pixels), and
    // whether it shows a triangle pointing later (1), earlier (-1) or none (0):
    // a pointing triangle fills the middle of its base and not the corner by its tip.
    int Marker() {
        const RowLabel& time = Clock().Label(ClockWindow::TimeLabel(1));
        const RECT r = TwipsRect(time.left - 95, time.top + 15, 80, time.height - 30, ScreenDpi());
        const int middle = (r.top + r.bottom) / 2;
        auto marked = [&](int x, int y) { return PrintedPixel(Clock().hwnd(), x, y) == RGB(230, 80, 0); };
        if (marked(r.left + 1, middle) && !marked(r.right - 2, r.top + 1)) return 1;
        if (marked(r.right - 2, middle) && !marked(r.left + 1, r.top + 1)) return -1;
        EXPECT_FALSE(marked(r.left + 1, middle) || marked(r.right - 2, middle)) << "a marker of no direction";
        return 0;
    }
};

TEST_F(MomentTest, WheelAndKeysMoveEveryPlaceAndRepaintOnlyWhatChanged) {
    ClockWindow& clock = Start();
    ASSERT_EQ(Time(1), L"12/07 10:07");
    ASSERT_EQ(NameColor(1), RGB(0, 0, 255));
    EXPECT_EQ(Marker(), 0);

    // Towards the user: later, the first notch to the half hour; a high-resolution
    // wheel's fractions add up.
    Wheel(-kWheelNotch);
    EXPECT_EQ(Time(1), L"12/07 10:30");
    EXPECT_EQ(Time(2), L"12/06 20:30");
    Wheel(-60);
    EXPECT_EQ(Time(1), L"12/07 10:30");
    const long repaints = clock.TickRepaints();
    Wheel(-60);
    EXPECT_EQ(Time(1), L"12/07 11:00");
    EXPECT_EQ(clock.TickRepaints() - repaints, 2) << "the two time labels, not the names whose colour stayed";
    EXPECT_EQ(Marker(), 1) << "the marker says the times are later than now";

    // Shift: a day. Real time passing leaves the shown moment where it is.
    Wheel(-kWheelNotch, true);
    EXPECT_EQ(Time(1), L"12/08 11:00");
    clock_.now = CivilTime{2026, 12, 7, 10, 7, 30};
    Tick();
    EXPECT_EQ(Time(1), L"12/08 11:00");

    // Keys: Up/Down a notch, PageUp/PageDown a day, Home back to now.
    Press(VK_UP);
    EXPECT_EQ(Time(1), L"12/08 10:30");
    Press(VK_PRIOR);
    EXPECT_EQ(Time(1), L"12/07 10:30");
    // Business colours are those of the hour shown: 17:30 is after hours.
    for (int i = 0; i < 14; ++i) Press(VK_DOWN);
    EXPECT_EQ(Time(1), L"12/07 17:30");
    EXPECT_EQ(NameColor(1), RGB(0, 0, 0));
    EXPECT_EQ(Time(2), L"12/07 03:30");
    Press(VK_NEXT);
    EXPECT_EQ(Time(1), L"12/08 17:30");
    Press(VK_HOME);
    EXPECT_EQ(Time(1), L"12/07 10:07");
    EXPECT_EQ(NameColor(1), RGB(0, 0, 255));
    EXPECT_EQ(Marker(), 0);

    // Earlier (away from the user) the marker points the other way; Esc returns.
    Wheel(kWheelNotch);
    EXPECT_EQ(Time(1), L"12/07 10:00");
    EXPECT_EQ(Marker(), -1);
    // Held, Down repeats; Esc acts once a press, so its repeats do nothing.
    constexpr LPARAM kRepeat = 1 | (LPARAM{1} << 30);
    SendMessageW(clock.hwnd(), WM_KEYDOWN, VK_DOWN, kRepeat);
    EXPECT_EQ(Time(1), L"12/07 10:30");
    SendMessageW(clock.hwnd(), WM_KEYDOWN, VK_ESCAPE, kRepeat);
    EXPECT_TRUE(clock.Moment().Shifted());
    Press(VK_ESCAPE);
    EXPECT_EQ(Time(1), L"12/07 10:07");
    EXPECT_EQ(Marker(), 0);
}

TEST_F(MomentTest, EveryPressAndAMinuteWithoutInputBringBackNow) {
    ClockWindow& clock = Start();
    // A right or middle press on a label, and a press on a button's circle.
    const LPARAM label = ClientPoint(400, 100);
    for (UINT press : {WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        Wheel(-kWheelNotch);
        ASSERT_EQ(Time(1), L"12/07 10:30");
        SendMessageW(clock.hwnd(), press, 0, label);
        EXPECT_EQ(Time(1), L"12/07 10:07") << press;
        EXPECT_FALSE(clock.Moment().Shifted());
    }
    Wheel(-kWheelNotch);
    SendMessageW(clock.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(kCircleX, kOP2));
    EXPECT_EQ(Time(1), L"12/07 10:07");

    // The idle return, by the clock the window reads: the timer sleeps until it.
    Press(VK_DOWN);
    EXPECT_GT(clock.Timer1Period(), 59'000u);
    clock_.now = CivilTime{2026, 12, 7, 10, 7, 58};
    Tick();
    EXPECT_TRUE(clock.Moment().Shifted()) << "58 s after the last key";
    Press(VK_DOWN);  // a key starts the minute again
    EXPECT_EQ(Time(1), L"12/07 11:00");
    clock_.now = CivilTime{2026, 12, 7, 10, 8, 30};
    Tick();
    EXPECT_TRUE(clock.Moment().Shifted());
    clock_.now = CivilTime{2026, 12, 7, 10, 9, 0};
    Tick();
    EXPECT_FALSE(clock.Moment().Shifted()) << "a minute and a second after it";
    EXPECT_EQ(Time(1), L"12/07 10:09");
}

TEST_F(MomentTest, ScreenReadersHearOneEventAMoveAndTheReturn) {
    ClockWindow& clock = Start();
    g_clock = clock.hwnd();
    g_heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    ComPtr<IAccessible> accessible;
    ASSERT_EQ(AccessibleObjectFromWindow(clock.hwnd(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         accessible.PutVoid()), S_OK);
    auto value = [&] {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        EXPECT_EQ(accessible->get_accValue(self, &text), S_OK);
        std::wstring result = text ? text : L"";
        SysFreeString(text);
        return result;
    };
    auto valueChanges = [&] {
        return std::count_if(g_heard.begin(), g_heard.end(), [](const HeardEvent& e) { return e.event == EVENT_OBJECT_VALUECHANGE; });
    };
    EXPECT_EQ(value(), L"現在の時刻");

    Wheel(-kWheelNotch, true);
    Wheel(-7 * kWheelNotch);
    EXPECT_TRUE(PumpUntil([&] { return valueChanges() == 2; }, 5000));
    EXPECT_EQ(value(), L"+1日 3:23 · 12/08(火) 13:30");
    // The two labels' names changed twice each, unannounced.
    EXPECT_EQ(std::count_if(g_heard.begin(), g_heard.end(), [](const HeardEvent& e) { return e.event != EVENT_OBJECT_VALUECHANGE; }), 0);
    VARIANT time{};
    time.vt = VT_I4;
    time.lVal = clock_child::TimeLabel(1);
    BSTR name = nullptr;
    ASSERT_EQ(accessible->get_accName(time, &name), S_OK);
    EXPECT_STREQ(name, L"12/08 13:30") << "the places read as shown";
    SysFreeString(name);

    Press(VK_HOME);
    EXPECT_TRUE(PumpUntil([&] { return valueChanges() == 3; }, 5000)) << "the return is announced";
    EXPECT_EQ(value(), L"現在の時刻");
    UnhookWinEvent(hook);
}

TEST_F(MomentTest, APlacesHelpTellsItsZoneDifferenceAndNextChange) {
    app_->zones = LoadSystemZones();
    clock_.now = CivilTime{2027, 1, 20, 3, 0, 0};  // this fake clock keeps UTC
    std::vector<std::string> places = PlacesFile({{"ニューヨーク", "0", "", ""}, {"ホノルル", "-10", "", ""}});
    places.insert(places.end(), {"タイムゾーン", "Eastern Standard Time", "", "", "", "", "", "", "", "", ""});
    WriteSettingsFile(File("STEI.QV"), places);
    ClockWindow& clock = StartFirstRun();
    Tick();  // the time labels are filled
    ComPtr<IAccessible> accessible;
    ASSERT_EQ(AccessibleObjectFromWindow(clock.hwnd(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         accessible.PutVoid()), S_OK);
    auto help = [&](long child) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR text = nullptr;
        accessible->get_accHelp(id, &text);
        std::wstring result = text ? text : L"";
        SysFreeString(text);
        return result;
    };
    const std::wstring newYork = help(clock_child::NameLabel(1));
    EXPECT_NE(newYork.find(L"\nこのPCより5時間遅い\n2027/03/14 2:00 サマータイム開始 (+1時間)"), std::wstring::npos) << newYork;
    EXPECT_EQ(newYork.substr(0, 11), L"(UTC-05:00)") << newYork;
    EXPECT_EQ(help(clock_child::TimeLabel(1)), newYork);
    EXPECT_EQ(help(clock_child::NameLabel(2)), L"時差 -10\nこのPCより10時間遅い");
    EXPECT_EQ(help(clock_child::NameLabel(3)), L"") << "a row without a place";
}

}  // namespace
}  // namespace qv::win::test
