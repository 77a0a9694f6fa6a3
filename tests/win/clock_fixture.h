// A temporary program folder with its own settings files, fake platform
// services, and one Application whose windows live in the test's process.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "application.h"
#include "clockwindow.h"
#include "shift_jis_lines.h"
#include "startup.h"
#include "temp_folder.h"
#include "windows_support.h"

namespace qv::win::test {

using qv::test::ReadAllBytes;

class FakeClock final : public ClockSource {
public:
    CivilTime now{2026, 12, 7, 10, 30, 0};
    // When set, the clock runs: the computer's time this many seconds ahead.
    std::optional<int> runningAhead;
    mutable int reads = 0;
    CivilTime Now() const override {
        ++reads;
        if (!runningAhead) return now;
        SYSTEMTIME st;
        GetLocalTime(&st);
        CivilTime running{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
        for (int i = 0; i < *runningAhead; ++i) running = NextSecond(running);
        return running;
    }
    // The timer keeps in phase with the computer's own seconds, set or running.
    int Millisecond() const override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return st.wMilliseconds;
    }
};

struct ShownMessage {
    std::wstring text, title;
    UINT flags;
};

class FakeMessages final : public MessageService {
public:
    std::vector<ShownMessage> shown;
    int Show(HWND, const std::wstring& text, const std::wstring& title, UINT flags) override {
        shown.push_back({text, title, flags});
        return IDOK;
    }
};

class FakeProcess final : public ProcessServices {
public:
    bool anotherCopy = false;
    int ended = 0;
    bool AnotherCopyRunning() override { return anotherCopy; }
    void EndProgram() override { ++ended; }
};

// A user who picks `colour` in the colour chooser (cancels it when there is
// none) and cancels the other choosers; the help runs `help` when set.
class FixedChoosers final : public Choosers {
public:
    std::optional<COLORREF> colour;
    std::function<void()> help;
    std::optional<COLORREF> ChooseColor(HWND, COLORREF) override { return colour; }
    std::optional<FontChoice> ChooseFont(HWND, const FontChoice&) override { return std::nullopt; }
    std::optional<std::wstring> ChooseOpenFile(HWND, const std::wstring&) override { return std::nullopt; }
    void ShowHelp(HWND, const std::wstring&) override {
        if (help) help();
    }
};

// The window file of a clock at the given place (twips), as the program writes it.
std::vector<std::string> WindowFile(const std::string& formState, double top, double height, double width,
                                    double left, const std::string& layout);
// A display file with the first-run defaults; callers change single lines.
std::vector<std::string> DefaultDisplayFile();
// A places file from up to ten rows of name, difference, start, end, summer.
struct PlaceRow {
    std::string name, diff, start, end, summer = " 0 ";
};
std::vector<std::string> PlacesFile(const std::vector<PlaceRow>& rows);
// Ten places round the world, each at work from 9:00 to 17:00, London in
// summer time: a full clock.
std::vector<PlaceRow> TenPlaces();
// A 24-bit bitmap file of one colour.
void WriteBitmap(const std::filesystem::path& file, int width, int height, COLORREF colour);

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path File(const char* name) const { return folder_ / name; }
    // Opens Vr and lets its timer fire at once: the first-run pass.
    ClockWindow& StartFirstRun();
    // Loads Vr again with the restart flag set: the restart pass, which reads
    // the files again and opens the clock at once. The clock it opened.
    ClockWindow* Restart();
    // Runs the clock window's timer once.
    void Tick();
    // The centres (client twips) of the circles OP1, OP2 and OP3, one above the other.
    static constexpr double kCircleX = 67, kOP1 = 60, kOP2 = 187, kOP3 = 320;
    // A left double-click on the open clock window's circle centred at
    // (kCircleX, y), its handler run through.
    void DoubleClickCircle(double yTwips);
    void Pump();
    // Runs the queue until `done` holds or `ms` have passed; whether it holds.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms);
    // A user's click on a button or box of a dialog (BM_CLICK), then the queue.
    void Click(HWND dialog, int id);
    // A key pressed and released where the keyboard sends it (the focused
    // window), with Shift held when asked, then the queue.
    void Press(WORD key, bool shift = false);
    RECT OuterRect() const;
    // Client point (pixels) of a twips position.
    static LPARAM ClientPoint(double xTwips, double yTwips);

    // Named after the test, as qv-Suite-Test-NNN.
    static std::wstring FolderStem();

    qv::test::TempFolder home_{FolderStem()};
    std::filesystem::path folder_ = home_.path();
    SettingsModel model_;
    FakeClock clock_;
    FakeMessages messages_;
    FakeProcess process_;
    FixedChoosers choosers_;
    std::unique_ptr<Application> application_;
    std::unique_ptr<AppContext> app_;
};

}  // namespace qv::win::test
