// What the settings-window tests share: a temporary program folder, an app
// context whose services answer for the user and record what they were asked,
// message pumping, control access, and settings files read and written as
// Shift-JIS lines.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app_context.h"
#include "com_ptr.h"
#include "dialogs.h"
#include "fake_clock.h"
#include "handles.h"
#include "shift_jis_lines.h"
#include "temp_folder.h"
#include "windows_support.h"

namespace qv::win::test {

using qv::test::ReadAllBytes;
using qv::test::TempFolder;

// The folder name of the settings-window tests' program folders.
inline constexpr wchar_t kFolderStem[] = L"qv-dialogs-";

class RecordingMessages final : public MessageService {
public:
    struct Shown {
        std::wstring text, title;
        UINT flags;
    };
    int Show(HWND, const std::wstring& text, const std::wstring& title, UINT flags) override {
        shown.push_back({text, title, flags});
        if (answers.empty()) return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Shown> shown;
    std::deque<int> answers;  // the user's answers in turn; IDOK when none is left
};

// Answers the choosers from queues, as the user would have; records what each
// was opened with. An unexpected chooser fails the test and is cancelled.
class ScriptedChoosers final : public Choosers {
public:
    std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) override;
    std::optional<FontChoice> ChooseFont(HWND owner, const FontChoice& initial) override;
    std::optional<std::wstring> ChooseOpenFile(HWND owner, const std::wstring& filter) override;
    void ShowHelp(HWND owner, const std::wstring& helpFile) override;

    std::deque<std::optional<COLORREF>> colours;
    std::deque<std::optional<FontChoice>> fonts;
    std::deque<std::optional<std::wstring>> files;
    std::vector<COLORREF> colourInitials;
    std::vector<FontChoice> fontInitials;
    std::vector<std::wstring> filters;
    std::vector<std::wstring> helpFiles;
};

// Records each hand-over with the settings windows that existed at that
// moment; `then` may open the real next window.
class RecordingLauncher final : public WindowLauncher {
public:
    struct Call {
        std::string name;
        std::vector<std::wstring> windowsOpen;  // class names of the settings windows
    };
    void LoadVr() override { Record("LoadVr"); }
    void CloseVr() override { Record("CloseVr"); }
    void OpenHenko() override { Record("OpenHenko"); }
    void OpenSyoki() override { Record("OpenSyoki"); }
    void OpenVerInfo() override { Record("OpenVerInfo"); }

    std::vector<Call> calls;
    std::function<void(const std::string&)> then;

private:
    void Record(const std::string& name);
};

// The class names of this thread's settings windows now open.
std::vector<std::wstring> OpenSettingsWindows();

// Runs the thread's queued messages.
void Pump();

class DialogTest : public ::testing::Test {
protected:
    ~DialogTest() override;

    HWND OpenHenko();
    HWND OpenSyoki();
    // The about box; the links it opens are recorded in `links`.
    HWND OpenVerInfo();
    // From now on each hand-over opens the real next window; the about box's
    // link is recorded in `links`.
    void HandOverForReal();

    // A user's click on a button or box (BM_CLICK), then the queue.
    static void Click(HWND window, int id);
    // Characters typed into a window (WM_CHAR), then the queue.
    static void Chars(HWND to, const std::wstring& text);
    // A user's click on the window's close box (WM_CLOSE), then the queue.
    static void CloseBox(HWND window);
    static bool Checked(HWND window, int id);
    // A control's rectangle in its window's client area, in pixels.
    static RECT ClientRectOf(HWND window, int id);
    static bool Exists(HWND window) { return IsWindow(window) != FALSE; }
    // A key pressed and released where the keyboard sends it (the focused
    // control), then the queue.
    static void Press(WORD key);
    // A window's client object as a screen reader gets it (WM_GETOBJECT,
    // oleacc), and what it says of itself; "<none>" for a text it lacks.
    static ComPtr<IAccessible> ClientObject(HWND window);
    static VARIANT Self();  // the object itself, as a child id
    static std::wstring AccText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*));
    static long AccNumber(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*));
    static std::wstring AccName(IAccessible* object) { return AccText(object, &IAccessible::get_accName); }
    static std::wstring AccDescription(IAccessible* object) { return AccText(object, &IAccessible::get_accDescription); }
    // The thread's focused window as another program sees it (GetGUIThreadInfo).
    static HWND Focused();
    // The identifier of the focused control, 0 when none has the focus.
    static int FocusedId() { return Focused() ? GetDlgCtrlID(Focused()) : 0; }

    TempFolder folder{kFolderStem};
    SettingsModel model;
    qv::test::FakeClock clock{{2024, 1, 15, 9, 30, 0}};
    RecordingMessages messages;
    ScriptedChoosers choosers;
    RecordingLauncher launcher;
    // The hidden window that owns the dialogs, as in the program.
    UniqueWindow owner{CreateWindowExW(0, L"STATIC", L"QV", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr)};
    AppContext app{model, folder.path(), clock, messages, choosers, launcher, GetModuleHandleW(nullptr), owner.get()};
    std::vector<std::wstring> links;

private:
    // The about box as OpenVerInfo opens it, the queue left as it is.
    void ShowVerInfo();
};

// Finds the next common dialog that `thread` opens and acts on it from a
// second thread, as a user would, while the first waits inside the chooser.
class DialogAnswerer {
public:
    DialogAnswerer(DWORD thread, std::function<void(HWND dialog)> act);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    // Joins the second thread: true when it found the dialog and acted.
    bool Wait();
    const std::wstring& title() const { return title_; }

private:
    std::thread thread_;
    bool answered_ = false;
    std::wstring title_;
};

}  // namespace qv::win::test
