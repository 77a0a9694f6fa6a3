// The settings-window tests' shared fixture and helpers.
#include "dialog_fixture.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"

namespace qv::win::test {

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

bool IsSettingsWindowClass(const std::wstring& cls) {
    return cls == henko::kClassName || cls == syoki::kClassName || cls == verinfo::kClassName;
}

BOOL CALLBACK CollectSettingsWindow(HWND hwnd, LPARAM lp) {
    std::wstring cls = ClassOf(hwnd);
    if (IsSettingsWindowClass(cls)) reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(cls);
    return TRUE;
}

BOOL CALLBACK FindCommonDialog(HWND hwnd, LPARAM lp) {
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool HasFocusInside(DWORD thread, HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus &&
           (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus));
}

std::string FromCodePage(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ToCodePage(const std::string& utf8, UINT codePage) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::filesystem::path(temp) /
            (L"qv-dialogs-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::optional<COLORREF> ScriptedChoosers::ChooseColor(HWND, COLORREF initial) {
    colourInitials.push_back(initial);
    if (colours.empty()) {
        ADD_FAILURE() << "colour chooser opened unexpectedly";
        return std::nullopt;
    }
    auto answer = colours.front();
    colours.pop_front();
    return answer;
}

std::optional<FontChoice> ScriptedChoosers::ChooseFont(HWND, const FontChoice& initial) {
    fontInitials.push_back(initial);
    if (fonts.empty()) {
        ADD_FAILURE() << "font chooser opened unexpectedly";
        return std::nullopt;
    }
    auto answer = fonts.front();
    fonts.pop_front();
    return answer;
}

std::optional<std::wstring> ScriptedChoosers::ChooseOpenFile(HWND, const std::wstring& filter) {
    filters.push_back(filter);
    if (files.empty()) {
        ADD_FAILURE() << "file chooser opened unexpectedly";
        return std::nullopt;
    }
    auto answer = files.front();
    files.pop_front();
    return answer;
}

void ScriptedChoosers::ShowHelp(HWND, const std::wstring& helpFile) {
    helpFiles.push_back(helpFile);
}

void RecordingLauncher::Record(const std::string& name) {
    calls.push_back({name, OpenSettingsWindows()});
    if (then) then(name);
}

struct ClassSearch {
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK FindByClass(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<ClassSearch*>(lp);
    if (ClassOf(hwnd) == search->cls) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnWindow(const wchar_t* cls) {
    ClassSearch search{cls, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindByClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

COLORREF PrintedPixel(HWND window, int x, int y) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF pixel = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixel;
}

std::vector<std::wstring> OpenSettingsWindows() {
    std::vector<std::wstring> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectSettingsWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (HandleDialogKey(msg)) continue;  // as the program's loop does
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::string text = FromCodePage(ReadBytes(file), 932);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));  // an unterminated last line
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += ToCodePage(line, 932) + "\r\n";
    std::ofstream(file, std::ios::binary) << bytes;
}

DialogTest::~DialogTest() {
    for (const auto& cls : OpenSettingsWindows()) {
        if (HWND hwnd = FindOwnWindow(cls.c_str())) DestroyWindow(hwnd);
    }
    Pump();
}

HWND DialogTest::OpenHenko() {
    OpenHenkoWindow(app);
    Pump();
    return FindOwnWindow(henko::kClassName);
}

HWND DialogTest::OpenSyoki() {
    OpenSyokiWindow(app);
    Pump();
    return FindOwnWindow(syoki::kClassName);
}

HWND DialogTest::OpenVerInfo() {
    OpenVerInfoWindow(app);
    Pump();
    return FindOwnWindow(verinfo::kClassName);
}

void DialogTest::HandOverForReal() {
    launcher.then = [this](const std::string& name) {
        if (name == "OpenHenko") OpenHenkoWindow(app);
        if (name == "OpenSyoki") OpenSyokiWindow(app);
        if (name == "OpenVerInfo") verinfo::Open(app, [this](HWND, const std::wstring& url) { links.push_back(url); });
    };
}

void DialogTest::Click(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    SendMessageW(control, BM_CLICK, 0, 0);
    Pump();
}

std::wstring DialogTest::Text(HWND window, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(window, id, text, 512);
    return text;
}

void DialogTest::Type(HWND window, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool DialogTest::Checked(HWND window, int id) {
    return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogTest::Press(WORD key) {
    HWND target = GetFocus();
    ASSERT_NE(target, nullptr) << "no window has the keyboard focus";
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | 0xC0000000);
    Pump();
}

HWND DialogTest::Focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) ? info.hwndFocus : nullptr;
}

RECT DialogTest::ClientRectOf(HWND window, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(window, id), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

DialogAnswerer::DialogAnswerer(DWORD thread, std::function<void(HWND)> act)
    : thread_([this, thread, act = std::move(act)] {
          for (int attempt = 0; attempt < 400; ++attempt) {
              HWND dialog = nullptr;
              EnumThreadWindows(thread, FindCommonDialog, reinterpret_cast<LPARAM>(&dialog));
              if (dialog) {
                  // The dialog manager focuses a control once the dialog has
                  // finished its initialisation: the user acts after that.
                  for (int wait = 0; wait < 1000 && !HasFocusInside(thread, dialog); ++wait) Sleep(10);
                  wchar_t title[256] = {};
                  GetWindowTextW(dialog, title, 256);
                  title_ = title;
                  act(dialog);
                  answered_ = true;
                  return;
              }
              Sleep(50);
          }
      }) {}

bool DialogAnswerer::Wait() {
    if (thread_.joinable()) thread_.join();
    return answered_;
}

DialogAnswerer::~DialogAnswerer() {
    Wait();
}

}  // namespace qv::win::test
