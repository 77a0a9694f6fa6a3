// A small Windows console program the end-to-end scripts run beside QV.exe:
// it finds the clock's windows by class, reports where they are, and answers
// message boxes, so the scripts can aim real mouse input with xdotool.
//   qvprobe wait-window CLASS MS   -> "left top right bottom clientLeft clientTop"
//   qvprobe wait-gone CLASS MS
//   qvprobe client-size CLASS MS   -> "width height" of the client area
//   qvprobe answer-box TITLE MS    -> the box's text (UTF-8), then presses OK
//   qvprobe wait-moving CLASS MS   the window's thread is in its move loop (a drag has begun)
//   qvprobe wait-still CLASS MS    ... is out of it again
//   qvprobe wait-at CLASS MS LEFT TOP  the window's outer rectangle starts there
//                                  -> "left top" where it is (also when it never got there)
//   qvprobe read-labels CLASS MS   as a screen reader hears the clock: one line per label,
//                                  "child<TAB>name<TAB>description"; 3 when the
//                                  window gives no IAccessible
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Wide(const char* text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    return out;
}

void PrintUtf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

HWND FindVisible(const std::wstring& className, const wchar_t* title) {
    HWND found = FindWindowW(className.c_str(), title);
    return found && IsWindowVisible(found) ? found : nullptr;
}

template <class Pred>
bool WaitFor(DWORD ms, Pred pred) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
}

BOOL CALLBACK FirstStatic(HWND child, LPARAM lp) {
    wchar_t name[32];
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Static") != 0) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    if (!text[0]) return TRUE;
    *reinterpret_cast<std::wstring*>(lp) = text;
    return FALSE;
}

// The clock's labels (children 4 to 23: each place's name, then its time)
// through the accessible object the window hands to other processes: id,
// name, description and help (its lines joined by " | "); first the clock
// itself (child 0) with its value, the moment it shows, for the help.
int ReadLabels(HWND hwnd) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    IAccessible* acc = nullptr;
    int status = 3;
    if (SUCCEEDED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&acc))) && acc) {
        status = 0;
        for (long child = 0; child <= 23; ++child) {
            if (child >= 1 && child <= 3) continue;  // the buttons
            VARIANT id;
            VariantInit(&id);
            id.vt = VT_I4;
            id.lVal = child;
            BSTR name = nullptr, description = nullptr, help = nullptr;
            acc->get_accName(id, &name);
            acc->get_accDescription(id, &description);
            if (child == 0) acc->get_accValue(id, &help);
            else acc->get_accHelp(id, &help);
            std::wstring helpLine = help ? help : L"";
            for (std::size_t at; (at = helpLine.find(L'\n')) != std::wstring::npos;) helpLine.replace(at, 1, L" | ");
            std::wstring line = std::to_wstring(child) + L"\t" + (name ? name : L"") + L"\t" +
                                (description ? description : L"") + L"\t" + helpLine;
            SysFreeString(name);
            SysFreeString(description);
            SysFreeString(help);
            PrintUtf8(line);
        }
        acc->Release();
    } else {
        std::fprintf(stderr, "qvprobe: the window gives no IAccessible\n");
    }
    CoUninitialize();
    return status;
}

bool InMoveLoop(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return hwnd && GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: qvprobe wait-window|wait-gone|client-size CLASS MS | answer-box TITLE MS\n");
        return 2;
    }
    std::string command = argv[1];
    std::wstring name = Wide(argv[2]);
    DWORD ms = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
    if (command == "wait-window") {
        HWND hwnd = nullptr;
        if (!WaitFor(ms, [&] { return (hwnd = FindVisible(name, nullptr)) != nullptr; })) return 1;
        RECT r;
        GetWindowRect(hwnd, &r);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom, origin.x, origin.y);
        return 0;
    }
    if (command == "client-size") {
        HWND hwnd = nullptr;
        if (!WaitFor(ms, [&] { return (hwnd = FindVisible(name, nullptr)) != nullptr; })) return 1;
        RECT r;
        GetClientRect(hwnd, &r);
        std::printf("%ld %ld\n", r.right, r.bottom);
        return 0;
    }
    if (command == "wait-gone") {
        return WaitFor(ms, [&] { return FindWindowW(name.c_str(), nullptr) == nullptr; }) ? 0 : 1;
    }
    if (command == "wait-moving" || command == "wait-still") {
        const bool moving = command == "wait-moving";
        return WaitFor(ms, [&] { return InMoveLoop(FindVisible(name, nullptr)) == moving; }) ? 0 : 1;
    }
    if (command == "wait-at" && argc >= 6) {
        const long left = std::strtol(argv[4], nullptr, 10), top = std::strtol(argv[5], nullptr, 10);
        RECT r{};
        const bool there = WaitFor(ms, [&] {
            HWND hwnd = FindVisible(name, nullptr);
            return hwnd && GetWindowRect(hwnd, &r) && r.left == left && r.top == top;
        });
        std::printf("%ld %ld\n", r.left, r.top);
        return there ? 0 : 1;
    }
    if (command == "read-labels") {
        HWND hwnd = nullptr;
        if (!WaitFor(ms, [&] { return (hwnd = FindVisible(name, nullptr)) != nullptr; })) return 1;
        return ReadLabels(hwnd);
    }
    if (command == "answer-box") {
        HWND box = nullptr;
        if (!WaitFor(ms, [&] { return (box = FindVisible(L"#32770", name.c_str())) != nullptr; })) return 1;
        std::wstring text;
        EnumChildWindows(box, FirstStatic, reinterpret_cast<LPARAM>(&text));
        PrintUtf8(text);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    return 2;
}
