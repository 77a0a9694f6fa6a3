// A small Windows console program the hardening scripts run beside QV.exe:
// waits for a clock window and says whether it is visible on the screen, and
// double-clicks a point of its client area with a real WM_LBUTTONDBLCLK.
// (The leak figures are taken inside one process: tests/win/leaks_test.cpp.)
//   qvwatch visible MS               -> "QV1|QV2 left top right bottom"; 0 on screen, 3 off it, 1 none
//   qvwatch dblclk X Y               -> double-click client point (X, Y) of the visible clock window

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
    std::fprintf(stderr, "usage: qvwatch visible MS | dblclk X Y\n");
    return 2;
}
