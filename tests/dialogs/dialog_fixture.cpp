// The settings-window tests' shared fixture and helpers.
#include "dialog_fixture.h"

#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"

namespace qv::win::test {

namespace {

bool IsSettingsWindowClass(const std::wstring& cls) {
    return cls == henko::kClassName || cls == syoki::kClassName || cls == verinfo::kClassName;
}

BOOL CALLBACK CollectSettingsWindow(HWND hwnd, LPARAM lp) {
    std::wstring cls = ClassName(hwnd);
    if (IsSettingsWindowClass(cls)) reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(cls);
    return TRUE;
}

BOOL CALLBACK FindCommonDialog(HWND hwnd, LPARAM lp) {
    if (IsWindowVisible(hwnd) && ClassName(hwnd) == L"#32770") {
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

}  // namespace

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

void DialogTest::ShowVerInfo() {
    verinfo::Open(app, [this](HWND, const std::wstring& url) { links.push_back(url); });
}

HWND DialogTest::OpenVerInfo() {
    ShowVerInfo();
    Pump();
    return FindOwnWindow(verinfo::kClassName);
}

void DialogTest::HandOverForReal() {
    launcher.then = [this](const std::string& name) {
        if (name == "OpenHenko") OpenHenkoWindow(app);
        if (name == "OpenSyoki") OpenSyokiWindow(app);
        if (name == "OpenVerInfo") ShowVerInfo();
    };
}

void DialogTest::Click(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    SendMessageW(control, BM_CLICK, 0, 0);
    Pump();
}

void DialogTest::Chars(HWND to, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(to, WM_CHAR, c, 1);
    Pump();
}

void DialogTest::CloseBox(HWND window) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    Pump();
}

bool DialogTest::Checked(HWND window, int id) {
    return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogTest::Press(WORD key) {
    HWND target = GetFocus();
    ASSERT_NE(target, nullptr) << "no window has the keyboard focus";
    PostKey(target, key);
    Pump();
}

ComPtr<IAccessible> DialogTest::ClientObject(HWND window) {
    ComPtr<IAccessible> object;
    EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         object.PutVoid()),
              S_OK);
    return object;
}

VARIANT DialogTest::Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::wstring DialogTest::AccText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    if (!object || (object->*get)(Self(), &text) != S_OK || !text) return L"<none>";
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

long DialogTest::AccNumber(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT out;
    VariantInit(&out);
    if (!object || (object->*get)(Self(), &out) != S_OK || out.vt != VT_I4) return -1;
    return out.lVal;
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
