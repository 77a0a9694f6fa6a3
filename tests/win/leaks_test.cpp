// Leaks of the clock program, in one process: style switches (OP2) and
// settings round trips (OP3, then "終了" in HENKO) leave the GDI and USER
// objects, handles and private bytes where they were after a warm-up; and
// the counts used for that do see objects come and go.
//   QV_LEAK_SWITCHES and QV_LEAK_TRIPS set the numbers of cycles: the test
//   run takes 6 and 3 (a switch takes about 2.3 s and a round trip 4.5 s
//   under Wine on a bare X server), script/leaks 200 and 100.
#include "clock_fixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "handles.h"
#include "text.h"
#include "henko_window.h"
#include "process_figures.h"

namespace qv::win::test {
namespace {

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU m) { DestroyMenu(m); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

int CountFromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    int n = std::atoi(text);
    return n > 0 ? n : fallback;
}

constexpr long kMade = 50;

// Each kind is made and freed against a fresh baseline: a first use may set
// something up for good (the thread's IME window, X resources, heap pages),
// and that is not what the count is checked for.
TEST(ProcessFiguresTest, CountsRiseByTheObjectsMadeAndFallWhenTheyGo) {
    FigureSources sources = Sources();
    std::printf("sources: GDI %s; USER %s; handles %s; private bytes %s\n", sources.gdi.c_str(),
                sources.user.c_str(), sources.handles.c_str(), sources.privateBytes.c_str());
    // The thread keeps one window throughout, as the clock's thread does.
    UniqueWindow keep(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    ProcessFigures start = MeasureProcess();
    std::printf("at start: %s\n", Describe(start).c_str());
    ASSERT_GT(start.gdi, 0) << "no count of GDI objects on this system";
    ASSERT_GT(start.user, 0);
    ASSERT_GT(start.handles, 0);
    ASSERT_GT(start.privateBytes, 0);

    long base = MeasureProcess().gdi;
    {
        std::vector<UniqueBrush> brushes;
        for (long i = 0; i < kMade; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 7, 9)));
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        EXPECT_EQ(MeasureProcess().gdi - base, kMade + 1) << "brushes and a pen";
    }
    EXPECT_EQ(MeasureProcess().gdi, base);

    base = MeasureProcess().user;
    {
        std::vector<UniqueWindow> windows;
        for (long i = 0; i < kMade / 2; ++i) {
            windows.emplace_back(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                 GetModuleHandleW(nullptr), nullptr));
            // A child counts as a window of its own.
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, windows.back().get(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
        }
        EXPECT_EQ(MeasureProcess().user - base, kMade) << "windows";
    }
    EXPECT_EQ(MeasureProcess().user, base);
    {
        std::vector<UniqueMenu> menus;
        for (long i = 0; i < kMade; ++i) menus.emplace_back(CreatePopupMenu());
        EXPECT_EQ(MeasureProcess().user - base, kMade) << "menus";
    }
    EXPECT_EQ(MeasureProcess().user, base);
    {
        const BYTE andMask[32 * 4] = {}, xorMask[32 * 4] = {};
        std::vector<UniqueIcon> icons;
        for (long i = 0; i < kMade; ++i)
            icons.emplace_back(CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, andMask, xorMask));
        EXPECT_EQ(MeasureProcess().user - base, kMade) << "icons";
    }
    EXPECT_EQ(MeasureProcess().user, base);

    base = MeasureProcess().handles;
    {
        std::vector<UniqueKernelHandle> events;
        for (long i = 0; i < kMade; ++i) events.emplace_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(MeasureProcess().handles - base, kMade) << "events";
    }
    EXPECT_EQ(MeasureProcess().handles, base);

    constexpr SIZE_T kBlock = 16 << 20;
    long long before = MeasureProcess().privateBytes;
    void* block = VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(block);
    std::memset(block, 1, kBlock);  // touched, as a leaked heap block would be
    long long grown = MeasureProcess().privateBytes - before;
    VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_GE(grown, static_cast<long long>(kBlock));
    EXPECT_LE(grown, static_cast<long long>(kBlock) + (256 << 10));
    EXPECT_LE(MeasureProcess().privateBytes - before, 256 << 10);
}

class LeakTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        WriteSettingsFile(File("STEI.QV"), PlacesFile(TenPlaces()));
        WriteSettingsFile(File("STEI1.QV"), DefaultDisplayFile());
        WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 2400, 2800, 3000, ""));
    }

    // OP2: the clock closes and opens in the other style.
    bool SwitchStyle() {
        ClockStyle before = application_->Clock()->style();
        DoubleClickCircle(kOP2);
        return application_->Clock() && application_->Clock()->IsOpen() && application_->Clock()->style() != before;
    }
    // OP3, then "終了": HENKO writes the display file and the clock comes back.
    bool RoundTrip() {
        DoubleClickCircle(kOP3);
        HWND henko = FindWindowW(henko::kClassName, nullptr);
        if (!henko) return false;
        Click(henko, henko::BEND);
        return !FindWindowW(henko::kClassName, nullptr) && application_->Clock() && application_->Clock()->IsOpen();
    }
};

TEST_F(LeakTest, StyleSwitchesAndSettingsRoundTripsLeaveTheFiguresFlat) {
    const int switches = CountFromEnvironment("QV_LEAK_SWITCHES", 6);
    const int trips = CountFromEnvironment("QV_LEAK_TRIPS", 3);
    constexpr int kWarmUp = 2;  // each way: first uses fill the font and picture caches

    StartFirstRun();
    ASSERT_TRUE(application_->Clock()->IsOpen());
    for (int i = 0; i < kWarmUp; ++i) {
        ASSERT_TRUE(SwitchStyle());
        ASSERT_TRUE(RoundTrip());
    }
    ProcessFigures base = MeasureProcess();
    std::printf("after warm-up:           %s\n", Describe(base).c_str());

    using Clock = std::chrono::steady_clock;
    auto started = Clock::now();
    for (int i = 1; i <= switches; ++i) {
        ASSERT_TRUE(SwitchStyle()) << "switch " << i;
        if (i % 50 == 0) std::printf("after %3d switches:      %s\n", i, Describe(MeasureProcess()).c_str());
    }
    auto switched = Clock::now();
    for (int i = 1; i <= trips; ++i) {
        ASSERT_TRUE(RoundTrip()) << "round trip " << i;
        if (i % 25 == 0) std::printf("after %3d round trips:   %s\n", i, Describe(MeasureProcess()).c_str());
    }
    auto tripped = Clock::now();
    ProcessFigures end = MeasureProcess();
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    std::printf("%d switches in %.1f s, %d round trips in %.1f s\n", switches, seconds(switched - started), trips,
                seconds(tripped - switched));
    std::printf("growth: gdi %+ld user %+ld handles %+ld private %+.0f KB\n", end.gdi - base.gdi,
                end.user - base.user, end.handles - base.handles,
                static_cast<double>(end.privateBytes - base.privateBytes) / 1024.0);

    EXPECT_TRUE(messages_.shown.empty()) << "a message box came up: " << Narrow(messages_.shown[0].text);
    // One object of slack: fewer than one a cycle even in the short run.
    EXPECT_LE(end.gdi - base.gdi, 1);
    EXPECT_LE(end.user - base.user, 1);
    EXPECT_LE(end.handles - base.handles, 1);
    EXPECT_LE(end.privateBytes - base.privateBytes, 512 << 10) << "heap pages";
}

}  // namespace
}  // namespace qv::win::test
