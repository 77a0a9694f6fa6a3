// A small Windows console program the hardening scripts run beside QV.exe:
// waits for a clock window and says whether it is visible on the screen,
// and double-clicks a point of its client area with a real WM_LBUTTONDBLCLK.
// (The leak figures are taken inside one process: tests/win/leaks_test.cpp.)
//   qvwatch visible MS               -> "QV1|QV2 left top right bottom"; 0 on screen, 3 off it, 1 none
//   qvwatch dblclk X Y               -> double-click client point (X, Y) of the visible clock window
//   qvwatch close MS X Y WAIT        -> waits MS for a visible clock window, checks that it meets a
//                                       monitor's work area, double-clicks client point (X, Y) and
//                                       waits WAIT ms for its process to end; "QV1|QV2 l t r b";
//                                       0 ended, 1 no window, 3 off every work area, 4 still running
//   qvwatch serve                    -> one line per case on standard input, "EXE MS X Y WAIT":
//                                       starts EXE, waits MS for its visible clock window, checks
//                                       the work area, double-clicks (X, Y), waits WAIT ms for the
//                                       end; answers "ok", or what failed, on one line

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND VisibleClock(const wchar_t** name) {
    for (const wchar_t* cls : {L"QV1", L"QV2"}) {
        HWND hwnd = FindWindowW(cls, nullptr);
        if (hwnd && IsWindowVisible(hwnd)) {
            if (name) *name = cls;
            return hwnd;
        }
    }
    return nullptr;
}

HWND WaitForClock(DWORD ms, const wchar_t** name) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = VisibleClock(name)) return hwnd;
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(20);
    }
}

void DoubleClick(HWND hwnd, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

// Whether the window meets the work area of a monitor (not only the virtual
// screen: a window under the taskbar or in a gap between monitors is lost).
bool OnWorkArea(const RECT& r) {
    HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT both;
    return monitor && GetMonitorInfoW(monitor, &info) && IntersectRect(&both, &r, &info.rcWork);
}

// One probe process per case instead of two: under Wine each start costs a second.
int Close(DWORD ms, int x, int y, DWORD wait) {
    const wchar_t* name = L"";
    HWND hwnd = WaitForClock(ms, &name);
    if (!hwnd) return 1;
    RECT r;
    GetWindowRect(hwnd, &r);
    std::printf("%ls %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
    std::fflush(stdout);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    bool onScreen = OnWorkArea(r);
    DoubleClick(hwnd, x, y);
    if (!process) return 4;
    DWORD waited = WaitForSingleObject(process, wait);
    CloseHandle(process);
    if (!onScreen) return 3;
    return waited == WAIT_OBJECT_0 ? 0 : 4;
}

struct WindowOfProcess {
    DWORD pid;
    HWND found = nullptr;
    std::string seen;  // classes of the process's other top-level windows, for the report
};

BOOL CALLBACK FindClockOf(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowOfProcess*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid != search->pid) return TRUE;
    if (!IsWindowVisible(hwnd) || (wcscmp(cls, L"QV1") != 0 && wcscmp(cls, L"QV2") != 0)) {
        char name[64];
        std::snprintf(name, sizeof name, "%ls%s", cls, IsWindowVisible(hwnd) ? "" : "(hidden)");
        if (search->seen.find(name) == std::string::npos) search->seen += std::string(" ") + name;
        return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

// One case: the program started by this probe (a Wine process start saved
// per case), its own clock window, OP1, its end and exit code.
std::string RunOne(const std::wstring& exe, DWORD ms, int x, int y, DWORD wait) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\"));
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return "could not start (" + std::to_string(GetLastError()) + ")";
    CloseHandle(pi.hThread);
    std::string result;
    WindowOfProcess search{pi.dwProcessId, nullptr, {}};
    DWORD start = GetTickCount();
    while (!search.found && GetTickCount() - start < ms &&
           WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT)
        EnumWindows(FindClockOf, reinterpret_cast<LPARAM>(&search));
    DWORD code = 0;
    if (!search.found) {
        result = GetExitCodeProcess(pi.hProcess, &code) && code != STILL_ACTIVE
                     ? "ended without a clock window (exit code " + std::to_string(code) + "; windows seen:" +
                           search.seen + ")"
                     : "no clock window (windows seen:" + search.seen + ")";
    } else {
        RECT r;
        GetWindowRect(search.found, &r);
        char where[96];
        std::snprintf(where, sizeof where, "window %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
        bool onScreen = OnWorkArea(r);
        DoubleClick(search.found, x, y);
        if (WaitForSingleObject(pi.hProcess, wait) != WAIT_OBJECT_0) {
            result = std::string("still running after OP1 (") + where + ")";
        } else if (GetExitCodeProcess(pi.hProcess, &code) && code != 0) {
            result = "exit code " + std::to_string(code) + " after OP1";
        } else if (!onScreen) {
            result = std::string("off the work area (") + where + ")";
        } else {
            result = "ok";
        }
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    return result;
}

int Serve() {
    char line[2048];
    while (std::fgets(line, sizeof line, stdin)) {
        char exe[1024];
        unsigned long ms = 0, wait = 0;
        int x = 0, y = 0;
        if (std::sscanf(line, "%1023s %lu %d %d %lu", exe, &ms, &x, &y, &wait) != 5) {
            std::printf("bad request\n");
        } else {
            int n = MultiByteToWideChar(CP_UTF8, 0, exe, -1, nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(n), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, exe, -1, wide.data(), n);
            wide.resize(static_cast<std::size_t>(n - 1));
            std::printf("%s\n", RunOne(wide, ms, x, y, wait).c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "visible" && argc == 3) {
        const wchar_t* name = L"";
        HWND hwnd = WaitForClock(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), &name);
        if (!hwnd) return 1;
        RECT r, screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0}, both;
        screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
        GetWindowRect(hwnd, &r);
        std::printf("%ls %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
        return IntersectRect(&both, &r, &screen) ? 0 : 3;
    }
    if (command == "dblclk" && argc == 4) {
        HWND hwnd = VisibleClock(nullptr);
        if (!hwnd) return 1;
        LPARAM at = MAKELPARAM(std::atoi(argv[2]), std::atoi(argv[3]));
        return PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageW(hwnd, WM_LBUTTONUP, 0, at) ? 0 : 1;
    }
    if (command == "close" && argc == 6)
        return Close(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), std::atoi(argv[3]), std::atoi(argv[4]),
                     static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10)));
    if (command == "serve" && argc == 2) return Serve();
    std::fprintf(stderr, "usage: qvwatch visible MS | dblclk X Y | close MS X Y WAIT | serve\n");
    return 2;
}
