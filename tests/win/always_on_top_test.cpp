// Always on top, switched in 設定変更 and taken at "終了": both clock windows
// stay above a maximised window of another program, and are covered by it
// once the option is off again.
#include "clock_fixture.h"

#include <filesystem>

#include "henko_window.h"

namespace qv::win::test {
namespace {

// cover_window.exe beside this program: a maximised, activated window of
// another process, there for as long as this object lives.
class CoverWindow {
public:
    CoverWindow() {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + (std::filesystem::path(self).parent_path() / L"cover_window.exe").wstring() + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        process_ = pi.hProcess;
        CloseHandle(pi.hThread);
    }
    ~CoverWindow() {
        if (!process_) return;
        if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
    CoverWindow(const CoverWindow&) = delete;
    CoverWindow& operator=(const CoverWindow&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Its window once shown maximised: ShowWindow sets the visible style
    // last, after the size and the place at the top of the other windows.
    bool Shown() {
        hwnd_ = FindWindowW(L"QV.Test.Cover", nullptr);
        return hwnd_ && IsWindowVisible(hwnd_) && IsZoomed(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }

private:
    HANDLE process_ = nullptr;
    HWND hwnd_ = nullptr;
};

class AlwaysOnTopTest : public ClockTest {
protected:
    // The top-level window the user sees at the clock's centre while a
    // maximised window of another program has just opened; the test fails
    // when that window does not cover the clock's place.
    HWND SeenOverTheClock() {
        RECT clock = OuterRect();
        CoverWindow cover;
        EXPECT_TRUE(cover.Started()) << "cover_window.exe did not start";
        const bool shown = cover.Started() && PumpUntil([&] { return cover.Shown(); }, 30000);
        EXPECT_TRUE(shown) << "cover_window.exe showed no maximised window";
        if (!shown) return nullptr;
        RECT covered{}, both{};
        GetWindowRect(cover.hwnd(), &covered);
        EXPECT_TRUE(IntersectRect(&both, &covered, &clock) && EqualRect(&both, &clock)) << "the window covers the clock";
        POINT centre{(clock.left + clock.right) / 2, (clock.top + clock.bottom) / 2};
        HWND seen = GetAncestor(WindowFromPoint(centre), GA_ROOT);
        return seen == cover.hwnd() ? kCover : seen;
    }

    // Through the settings button, the box switched to `on`, and "終了".
    void SwitchInHenko(bool on) {
        DoubleClickCircle(kOP3);
        HWND henko = FindWindowW(henko::kClassName, nullptr);
        ASSERT_NE(henko, nullptr);
        ASSERT_NE(SendDlgItemMessageW(henko, henko::CK2, BM_GETCHECK, 0, 0) == BST_CHECKED, on);
        Click(henko, henko::CK2);
        Click(henko, henko::BEND);
        ASSERT_NE(application_->Clock(), nullptr);
    }

    HWND Clock() const { return application_->Clock()->hwnd(); }
    bool Topmost() const { return GetWindowLongPtrW(Clock(), GWL_EXSTYLE) & WS_EX_TOPMOST; }

    static inline const HWND kCover = reinterpret_cast<HWND>(1);
};

// Under Wine without a window manager the stacking that WindowFromPoint sees
// is Wine's own (its server's list of windows, topmost ones first), as on
// Windows; the X server's stacking of the unmanaged windows may differ, and
// no screenshot is taken here.
TEST_F(AlwaysOnTopTest, OnBothClockWindowsStayAboveAMaximisedWindowOffTheyAreCovered) {
    WriteSettingsFile(File("STEI1.QV"), DefaultDisplayFile());
    WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 885, 1410, 3000, " 0 "));
    StartFirstRun();
    ASSERT_EQ(application_->Clock()->style(), ClockStyle::QV1);
    EXPECT_FALSE(Topmost());
    EXPECT_EQ(SeenOverTheClock(), kCover) << "off, QV1 is covered";

    ASSERT_NO_FATAL_FAILURE(SwitchInHenko(true));
    EXPECT_TRUE(model_.AlwaysOnTop);
    std::vector<std::string> on = DefaultDisplayFile();
    on.insert(on.end(), {"表示オプション", "最前面=1"});
    EXPECT_EQ(ReadSettingsFile(File("STEI1.QV")), on);
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(SeenOverTheClock(), Clock()) << "on, QV1 stays on top";

    DoubleClickCircle(kOP2);  // the other window style, through the restart
    ASSERT_EQ(application_->Clock()->style(), ClockStyle::QV2);
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(SeenOverTheClock(), Clock()) << "on, QV2 stays on top";

    ASSERT_NO_FATAL_FAILURE(SwitchInHenko(false));
    EXPECT_EQ(ReadSettingsFile(File("STEI1.QV")), DefaultDisplayFile()) << "off, today's 20 lines";
    ASSERT_EQ(application_->Clock()->style(), ClockStyle::QV2);
    EXPECT_FALSE(Topmost());
    EXPECT_EQ(SeenOverTheClock(), kCover) << "off, QV2 is covered";
}

}  // namespace
}  // namespace qv::win::test
