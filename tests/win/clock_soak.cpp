// The clock left running in one process: the real start-up window, clock
// window, timer and message loop, ten places and the format "hh:mm:ss" (or
// "hh:mm", when the timer sleeps a minute at a time). After
// every tick each time label is read from the window; a caption that changes
// must move on by exactly one second (one minute). Once a second, apart from
// the clock's own timer, T1 is compared with the computer's clock: it may
// never be more than two seconds late. The process figures are printed once a
// minute and must not grow.
//   clock_soak SECONDS [hh:mm:ss | hh:mm]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "application.h"
#include "clock_fixture.h"
#include "clockwindow.h"
#include "text.h"
#include "platform.h"
#include "process_figures.h"

namespace qv::win::test {
namespace {

constexpr int kDay = 24 * 60 * 60;

// "hh:mm:ss" or "hh:mm" as seconds of the day.
std::optional<int> SecondsOf(const std::wstring& caption) {
    const int fields = caption.size() == 8 ? 3 : caption.size() == 5 ? 2 : 0;
    if (fields == 0 || caption[2] != L':' || (fields == 3 && caption[5] != L':')) return std::nullopt;
    int v[3] = {};
    for (int i = 0; i < fields; ++i) {
        wchar_t a = caption[static_cast<std::size_t>(i * 3)], b = caption[static_cast<std::size_t>(i * 3 + 1)];
        if (a < L'0' || a > L'9' || b < L'0' || b > L'9') return std::nullopt;
        v[i] = (a - L'0') * 10 + (b - L'0');
    }
    if (v[0] > 23 || v[1] > 59 || v[2] > 59) return std::nullopt;
    return v[0] * 3600 + v[1] * 60 + v[2];
}

int SecondsNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
}

// Distance from a to b in seconds, -half a day .. half a day.
int Forward(int from, int to) {
    int d = ((to - from) % kDay + kDay) % kDay;
    return d > kDay / 2 ? d - kDay : d;
}

void Log(const char* format, auto... args) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    std::printf("%02d:%02d:%02d ", st.wHour, st.wMinute, st.wSecond);
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
}

struct Soak {
    Application* application = nullptr;
    double seconds = 0;
    ULONGLONG started = 0, ended = 0;
    HWND watched = nullptr;
    int unit = 1;  // seconds between two captions: 1, or 60 for "hh:mm"
    std::array<std::wstring, kPlaceCount> last;
    long ticks = 0, changes = 0, missed = 0, backwards = 0, unreadable = 0, offClock = 0, reopened = 0, late = 0;
    ULONGLONG lastTick = 0, longestGap = 0;
    int minutes = 0;
    std::optional<ProcessFigures> afterWarmUp, latest;

    void AfterTick(const ClockWindow& clock) {
        ULONGLONG now = GetTickCount64();
        if (lastTick) longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        ++ticks;
        for (int n = 1; n <= kPlaceCount; ++n) {
            const std::wstring& caption = clock.Label(ClockWindow::TimeLabel(n)).caption;
            auto& previous = last[static_cast<std::size_t>(n - 1)];
            if (caption == previous) continue;
            auto at = SecondsOf(caption);
            if (!at) {
                if (unreadable++ < 10) Log("T%d reads \"%s\"", n, Narrow(caption).c_str());
                previous = caption;
                continue;
            }
            if (auto before = SecondsOf(previous)) {
                ++changes;
                int step = Forward(*before, *at);
                if (step > unit) {
                    missed += step / unit - 1;
                    Log("T%d went from %s to %s: %d step(s) missed (longest tick gap so far %llu ms)", n,
                        Narrow(previous).c_str(), Narrow(caption).c_str(), step / unit - 1, longestGap);
                } else if (step < unit) {
                    ++backwards;
                    Log("T%d went back from %s to %s", n, Narrow(previous).c_str(), Narrow(caption).c_str());
                }
            }
            previous = caption;
        }
        // 日本 has no time difference: its label is the computer's time.
        if (auto shown = SecondsOf(last[0]); shown && std::abs(Forward(*shown, SecondsNow())) > unit) {
            if (offClock++ < 10) Log("T1 shows %s, off the computer's clock", Narrow(last[0]).c_str());
        }
    }

    // T1 as the window shows it now, against the computer's clock: the
    // caption must turn within two seconds of its second (minute).
    void CheckNotLate(const ClockWindow& clock) {
        auto shown = SecondsOf(clock.Label(ClockWindow::TimeLabel(1)).caption);
        if (shown && Forward(*shown, SecondsNow()) >= unit + 2) {
            if (late++ < 10) Log("T1 still shows %s", Narrow(clock.Label(ClockWindow::TimeLabel(1)).caption).c_str());
        }
    }

    void Figures(const char* when) {
        latest = MeasureProcess();
        Log("%-10s %s", when, Describe(*latest).c_str());
    }
};

Soak soak;

LRESULT CALLBACK WatchTicks(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_TIMER && wp == ClockWindow::kTimer1) {
        if (ClockWindow* clock = soak.application->Clock(); clock && clock->hwnd() == hwnd) soak.AfterTick(*clock);
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, WatchTicks, 1);
    return result;
}

// Once a second: watch a new clock window, print the figures each minute,
// and close the clock by its system menu when the time is up.
void CALLBACK EverySecond(HWND, UINT, UINT_PTR id, DWORD) {
    ClockWindow* clock = soak.application->Clock();
    if (clock && clock->IsOpen() && clock->hwnd() != soak.watched) {
        if (soak.watched) ++soak.reopened;
        soak.watched = clock->hwnd();
        SetWindowSubclass(soak.watched, WatchTicks, 1, 0);
        if (!soak.started) {
            soak.started = GetTickCount64();
            soak.Figures("start");
        }
    }
    if (!soak.started) return;
    if (clock && clock->IsOpen()) soak.CheckNotLate(*clock);
    double elapsed = static_cast<double>(GetTickCount64() - soak.started) / 1000.0;
    if (static_cast<int>(elapsed / 60) > soak.minutes) {
        soak.minutes = static_cast<int>(elapsed / 60);
        char when[32];
        std::snprintf(when, sizeof when, "minute %d", soak.minutes);
        soak.Figures(when);
        if (soak.minutes == 1) soak.afterWarmUp = soak.latest;
    }
    if (elapsed >= soak.seconds) {
        KillTimer(nullptr, id);
        soak.ended = GetTickCount64();
        soak.Figures("end");
        if (clock && clock->IsOpen()) SendMessageW(clock->hwnd(), WM_CLOSE, 0, 0);
    }
}

int Run(double seconds, bool minutes) {
    const qv::test::TempFolder home(L"qv-soak-");
    const std::filesystem::path& folder = home.path();
    WriteSettingsFile(folder / "STEI.QV", PlacesFile(TenPlaces()));
    auto display = DefaultDisplayFile();
    const char* picture = minutes ? "hh:mm" : "hh:mm:ss";
    soak.unit = minutes ? 60 : 1;
    display[10] = picture;  // the line after "日時表示形式"
    WriteSettingsFile(folder / "STEI1.QV", display);
    WriteSettingsFile(folder / "STEI2.QV", WindowFile(" 0 ", 1200, 4200, 1410, 3000, ""));

    SettingsModel model;
    SystemClock clock;
    FakeMessages messages;
    FakeProcess process;
    FixedChoosers choosers;
    Application application(GetModuleHandleW(nullptr), process);
    AppContext app{model, folder, clock, messages, choosers, application, GetModuleHandleW(nullptr)};
    application.Attach(app);
    soak.application = &application;
    soak.seconds = seconds;
    Log("soak of %.0f s: ten places, \"%s\", program folder %s", seconds, picture, Narrow(folder.wstring()).c_str());
    FigureSources sources = Sources();
    Log("figures from: GDI %s; USER %s; handles %s; private bytes %s", sources.gdi.c_str(), sources.user.c_str(),
        sources.handles.c_str(), sources.privateBytes.c_str());

    SetTimer(nullptr, 0, 1000, EverySecond);
    application.LoadVr();
    application.Run();

    double ran = soak.ended ? static_cast<double>(soak.ended - soak.started) / 1000.0 : 0;
    Log("ran %.0f s, %ld ticks (%.1f a second), longest gap between ticks %llu ms", ran, soak.ticks,
        ran > 0 ? soak.ticks / ran : 0.0, soak.longestGap);
    Log("label changes %ld, steps missed %ld, steps back %ld, unreadable captions %ld, T1 off the clock %ld, "
        "T1 late %ld",
        soak.changes, soak.missed, soak.backwards, soak.unreadable, soak.offClock, soak.late);
    bool ok = soak.started && soak.changes > 0 && soak.missed == 0 && soak.backwards == 0 && soak.unreadable == 0 &&
              soak.offClock == 0 && soak.late == 0 && soak.reopened == 0 && messages.shown.empty() &&
              process.ended == 0;
    // Each place changes once a second (minute): ten changes a second (minute) of running.
    long expected = static_cast<long>((ran - 2) / soak.unit) * kPlaceCount;
    if (soak.changes < expected) {
        Log("only %ld label changes, %ld expected at least", soak.changes, expected);
        ok = false;
    }
    if (!messages.shown.empty()) Log("a message box came up: %s", Narrow(messages.shown[0].text).c_str());
    if (soak.afterWarmUp && soak.latest) {
        const ProcessFigures& a = *soak.afterWarmUp;
        const ProcessFigures& b = *soak.latest;
        Log("growth from minute 1 to the end: gdi %+ld user %+ld handles %+ld private %+.0f KB", b.gdi - a.gdi,
            b.user - a.user, b.handles - a.handles, static_cast<double>(b.privateBytes - a.privateBytes) / 1024.0);
        if (b.gdi - a.gdi > 3 || b.user - a.user > 2 || b.handles - a.handles > 3 ||
            b.privateBytes - a.privateBytes > (1LL << 20))
            ok = false;
    }
    Log("%s", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace qv::win::test

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 0;
    const bool minutes = argc > 2 && std::string(argv[2]) == "hh:mm";
    if (seconds <= 0 || (argc > 2 && !minutes && std::string(argv[2]) != "hh:mm:ss")) {
        std::fprintf(stderr, "usage: clock_soak SECONDS [hh:mm:ss | hh:mm]\n");
        return 2;
    }
    return qv::win::test::Run(seconds, minutes);
}
