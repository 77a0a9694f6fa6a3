// The clock tick in the window: place times, summer time, business-hours
// colours, empty rows, and how often a label really repaints.
#include "clock_accessible.h"
#include "clock_fixture.h"
#include "system_zones.h"

namespace qv::win::test {
namespace {

constexpr COLORREF kWork = RGB(0, 0, 255);        // 16711680
constexpr COLORREF kName = RGB(0, 0, 0);
constexpr COLORREF kSummer = RGB(255, 255, 192);  // 12648447
constexpr COLORREF kTime = RGB(0, 128, 0);        // 32768

class TickTest : public ClockTest {
protected:
    ClockWindow& Start(const std::vector<PlaceRow>& rows) {
        WriteSettingsFile(File("STEI.QV"), PlacesFile(rows));
        auto display = DefaultDisplayFile();
        display[4] = "32768";  // time colour
        WriteSettingsFile(File("STEI1.QV"), display);
        return StartFirstRun();
    }
    std::wstring Time(int n) { return application_->Clock()->Label(ClockWindow::TimeLabel(n)).caption; }
    COLORREF NameColor(int n) { return application_->Clock()->Label(ClockWindow::NameLabel(n)).color; }
    COLORREF TimeColor(int n) { return application_->Clock()->Label(ClockWindow::TimeLabel(n)).color; }
    void At(int hour, int minute) { clock_.now = CivilTime{2026, 12, 7, hour, minute, 0}; }
};

TEST_F(TickTest, PlaceTimesFromTheLocalClock) {
    At(10, 30);
    ClockWindow& clock = Start({{"ホノルル", "-14", "", ""},
                                {"ムンバイ", " 5.5 ", "", ""},
                                {"ロンドン", "0", "", "", " 1 "},
                                {"東京", "", "", ""}});
    EXPECT_EQ(TimeColor(3), kSummer) << "summer time colours the label from the first showing";
    EXPECT_EQ(TimeColor(1), kTime);
    Tick();
    EXPECT_EQ(Time(1), L"12/06 20:30");
    EXPECT_EQ(Time(2), L"12/07 16:00");
    EXPECT_EQ(Time(3), L"12/07 11:30");
    EXPECT_EQ(Time(4), L"12/07 10:30");
    At(10, 0);
    Tick();
    EXPECT_EQ(Time(2), L"12/07 15:30");
    EXPECT_EQ(TimeColor(3), kSummer) << "the tick never touches the time colours";
    (void)clock;
}

TEST_F(TickTest, ZonePlacesShowUtcByTheirZoneAndTheirSummerColourLive) {
    app_->zones = LoadSystemZones();
    clock_.now = CivilTime{2026, 12, 7, 10, 30, 0};  // this fake clock keeps UTC
    std::vector<std::string> places = PlacesFile({{"シドニー", "0", "", "", " 0 "}, {"ニューヨーク", "0", "", "", " 1 "}});
    places.insert(places.end(), {"タイムゾーン", "AUS Eastern Standard Time", "Eastern Standard Time", "", "", "", "", "", "", "", ""});
    WriteSettingsFile(File("STEI.QV"), places);
    auto display = DefaultDisplayFile();
    display[4] = "32768";
    WriteSettingsFile(File("STEI1.QV"), display);
    StartFirstRun();
    Tick();
    EXPECT_EQ(Time(1), L"12/07 21:30");
    EXPECT_EQ(Time(2), L"12/07 05:30");
    EXPECT_EQ(TimeColor(1), kSummer) << "the zone, not the file's summer-time line, decides";
    EXPECT_EQ(TimeColor(2), kTime);
    // Screen readers hear the same as the colour says.
    const ClockWindow& clock = *application_->Clock();
    EXPECT_EQ(clock.ChildDescription(clock_child::TimeLabel(1)), L"サマータイム");
    EXPECT_EQ(clock.ChildDescription(clock_child::TimeLabel(2)), L"");
    // Sydney leaves summer time on Sunday 4 April 2027, 03:00 local (16:00
    // UTC the day before): the colour follows.
    clock_.now = CivilTime{2027, 4, 3, 15, 59, 59};
    Tick();
    EXPECT_EQ(Time(1), L"04/04 02:59");
    EXPECT_EQ(TimeColor(1), kSummer);
    clock_.now = CivilTime{2027, 4, 3, 16, 0, 0};
    Tick();
    EXPECT_EQ(Time(1), L"04/04 02:00");
    EXPECT_EQ(TimeColor(1), kTime);
    EXPECT_EQ(clock.ChildDescription(clock_child::TimeLabel(1)), L"");
}

TEST_F(TickTest, BusinessHoursAreInclusiveToTheMinuteAndNeverWrapMidnight) {
    At(8, 59);
    Start({{"本社", "0", "9:00", "17:00"}, {"夜勤", "0", "22:00", "6:00"}, {"未設定", "0", "9:00", ""}});
    Tick();
    EXPECT_EQ(NameColor(1), kName);
    At(9, 0);
    Tick();
    EXPECT_EQ(NameColor(1), kWork);
    At(17, 0);
    Tick();
    EXPECT_EQ(NameColor(1), kWork);
    At(17, 1);
    Tick();
    EXPECT_EQ(NameColor(1), kName);
    for (int hour : {23, 2, 5, 12}) {
        At(hour, 0);
        Tick();
        EXPECT_EQ(NameColor(2), kName) << "22:00-06:00 at " << hour;
        EXPECT_EQ(NameColor(3), kName) << "an empty end keeps the name colour, at " << hour;
    }
}

TEST_F(TickTest, AnEmptyNameLeavesBothLabelsBlankButKeepsItsRow) {
    ClockWindow& clock = Start({{"一", "0", "", ""}, {"", "3", "", ""}, {"三", "0", "", ""}});
    Tick();
    EXPECT_TRUE(clock.Label(ClockWindow::NameLabel(2)).caption.empty());
    EXPECT_TRUE(Time(2).empty());
    EXPECT_FALSE(Time(3).empty());
    EXPECT_EQ(clock.Label(ClockWindow::NameLabel(3)).top, 75 + 2 * 450) << "row 3 stays in the third place";
}

TEST_F(TickTest, ALabelRepaintsOnlyWhenItsTextOrColourChanges) {
    std::vector<PlaceRow> rows;
    for (int n = 1; n <= 10; ++n) rows.push_back({"地点" + std::to_string(n), std::to_string(n - 5), "", ""});
    clock_.now = CivilTime{2026, 12, 7, 10, 30, 0};
    ClockWindow& clock = Start(rows);
    Tick();
    long before = clock.TickRepaints();
    // Two minutes at ten ticks a second.
    for (int second = 0; second < 120; ++second) {
        clock_.now = CivilTime{2026, 12, 7, 10, 30 + second / 60, second % 60};
        for (int i = 0; i < 10; ++i) Tick();
    }
    // Each minute change rewrites the ten captions once; nothing else repaints.
    EXPECT_EQ(clock.TickRepaints() - before, 10);
    clock_.now = CivilTime{2026, 12, 7, 10, 32, 0};
    Tick();
    EXPECT_EQ(clock.TickRepaints() - before, 20);
}

TEST_F(TickTest, TheTimesShowWithTheWindowAndFollowTheClockBeingSetOrTheComputerWaking) {
    At(10, 30);
    Start({{"ホノルル", "-14", "", ""}});
    // The first tick follows the load at once, well within the second a
    // timer tick would take.
    PumpUntil([this] { return !Time(1).empty(); }, 500);
    EXPECT_EQ(Time(1), L"12/06 20:30");
    // The user sets the computer's clock: the labels follow at once.
    At(11, 5);
    SendMessageW(application_->Clock()->hwnd(), WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(Time(1), L"12/06 21:05");
    // The computer wakes from sleep with the timer set long before.
    At(18, 40);
    SendMessageW(application_->Clock()->hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(Time(1), L"12/07 04:40");
}

TEST_F(TickTest, TheTimerSleepsUntilTheNextCaptionChanges) {
    EXPECT_EQ(NextTickDelay(0), 1020u);
    EXPECT_EQ(NextTickDelay(500), 520u);
    EXPECT_EQ(NextTickDelay(999), 21u);
    EXPECT_EQ(NextTickDelay(5000), 21u) << "a millisecond part out of range still waits";
    EXPECT_EQ(TickPeriodFor(60, 15), 60000u) << "in phase: whole seconds";
    EXPECT_EQ(TickPeriodFor(60, 500), 59520u);
    EXPECT_EQ(TickPeriodFor(1, 999), 21u);
    EXPECT_EQ(TickPeriodFor(0, 500), static_cast<UINT>(USER_TIMER_MINIMUM)) << "old captions";

    // 0.001 h puts the second place's minute 4 s ahead of the computer's.
    ClockWindow& clock = Start({{"東京", "", "", ""}, {"ずれ", "0.001", "", ""}});
    // The sleep after a tick at `second` past 10:30 or 10:31, in whole seconds
    // (the timer's millisecond part depends on when the test runs).
    auto sleepAfterTickAt = [&](int minute, int second) {
        clock_.now = CivilTime{2026, 12, 7, 10, minute, second};
        Tick();
        return (clock.Timer1Period() + 999) / 1000;
    };
    EXPECT_EQ(sleepAfterTickAt(30, 0), 56u);
    EXPECT_EQ(sleepAfterTickAt(30, 56), 4u);
    EXPECT_EQ(sleepAfterTickAt(31, 0), 56u);
    EXPECT_EQ(sleepAfterTickAt(31, 59), 1u);
}

// Real timer messages on a running clock.
class RunningClockTest : public TickTest {
protected:
    ClockWindow& StartRunning(const char* picture) {
        WriteSettingsFile(File("STEI.QV"), PlacesFile({{"東京", "", "", ""}}));
        auto display = DefaultDisplayFile();
        display[10] = picture;
        WriteSettingsFile(File("STEI1.QV"), display);
        clock_.runningAhead = 0;
        ClockWindow& clock = StartFirstRun();
        const int before = clock_.reads;
        Tick();
        readsPerTick_ = clock_.reads - before;
        return clock;
    }
    // How many times the timer ticks within `ms`.
    int TicksWithin(ULONGLONG ms) {
        const int before = clock_.reads;
        ULONGLONG end = GetTickCount64() + ms;
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
            Pump();
        }
        return (clock_.reads - before) / readsPerTick_;
    }
    int readsPerTick_ = 0;  // the tick's reads and the look-ahead's after it
};

TEST_F(RunningClockTest, APictureWithSecondsWakesTheClockOnceASecond) {
    StartRunning("hh:nn:ss");
    ASSERT_GT(readsPerTick_, 0);
    const int ticks = TicksWithin(3500);
    EXPECT_GE(ticks, 2) << "the clock stopped";
    EXPECT_LE(ticks, 5) << "the clock polls instead of waiting for the next second";
}

TEST_F(RunningClockTest, APictureWithoutSecondsSleepsUntilTheMinuteTurns) {
    ClockWindow& clock = StartRunning("hh:nn");
    // From three to four seconds before a minute of the running clock.
    SYSTEMTIME st;
    GetLocalTime(&st);
    clock_.runningAhead = (57 - st.wSecond + 60) % 60;
    Tick();
    const std::wstring before = Time(1);
    EXPECT_LE(clock.Timer1Period(), 4000u);
    const int ticks = TicksWithin(5000);
    EXPECT_NE(Time(1), before) << "the minute turned without the clock";
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, 2) << "the clock woke while nothing changed";
    EXPECT_GE(clock.Timer1Period(), 55000u) << "the next sleep is the whole minute";
}

}  // namespace
}  // namespace qv::win::test
