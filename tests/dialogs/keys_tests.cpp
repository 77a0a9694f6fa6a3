// The settings windows by keyboard: the focus on opening and after coming
// back, Enter, Esc and F1 in each window, with keys sent where the keyboard
// sends them and the focus read as another program reads it.
//
// Xvfb has no input method: an open composition is the test's answer to the
// windows' question whether one is open.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "com_ptr.h"
#include "ole_scope.h"
#include "settings_files.h"
#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"
#include "dialog_fixture.h"

namespace qv::win::test {
namespace {

// Real message boxes, answered by a DialogAnswerer as a user would.
class SystemMessageBoxes final : public MessageService {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override {
        return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
    }
};

class KeysTest : public DialogTest {
protected:
    // Each hand-over opens the real next window, so coming back can be seen.
    KeysTest() { HandOverForReal(); }

    // Tab until the control has the focus; false when the order never reaches it.
    static bool TabTo(int id) {
        for (int presses = 0; presses < 60; ++presses) {
            if (FocusedId() == id) return true;
            Press(VK_TAB);
        }
        return false;
    }

    // A key held down: the first press, then the keyboard's repeats (the
    // previous-state bit set), each sent to whatever has the focus by then.
    static void Hold(WORD key, int repeats) {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(GetFocus(), WM_KEYDOWN, key, scan | 1);
        Pump();
        for (int n = 0; n < repeats; ++n) {
            PostMessageW(GetFocus(), WM_KEYDOWN, key, scan | 1 | (1 << 30));
            Pump();
        }
        PostMessageW(GetFocus(), WM_KEYUP, key, scan | 1 | 0xC0000000);
        Pump();
    }

    std::vector<std::string> Calls() const {
        std::vector<std::string> names;
        for (const auto& call : launcher.calls) names.push_back(call.name);
        return names;
    }
};

TEST_F(KeysTest, EachWindowOpensWithItsFirstControlFocusedAndF1ShowsTheHelp) {
    struct Case {
        const wchar_t* cls;
        void (*open)(AppContext&);
        int focus;
    };
    const Case cases[] = {
        {henko::kClassName, OpenHenkoWindow, henko::OP1},
        {syoki::kClassName, OpenSyokiWindow, syoki::L + 1},
        {verinfo::kClassName, OpenVerInfoWindow, verinfo::OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls);
        c.open(app);
        Pump();
        HWND w = FindOwnWindow(c.cls);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Focused(), GetDlgItem(w, c.focus));
        Press(VK_F1);
        EXPECT_EQ(choosers.helpFiles.size(), 1u);
        choosers.helpFiles.clear();
        DestroyWindow(w);
        Pump();
    }
}

TEST_F(KeysTest, HenkoComesBackFocusedOnTheButtonTheUserLeftFrom) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    // Enter in a text box and Esc anywhere do nothing.
    ASSERT_TRUE(TabTo(henko::HYOJ));
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Exists(w));
    EXPECT_EQ(FocusedId(), henko::HYOJ);
    EXPECT_TRUE(launcher.calls.empty());

    ASSERT_TRUE(TabTo(henko::BSYO));
    Press(VK_RETURN);  // Enter presses the focused button
    HWND syoki = FindOwnWindow(syoki::kClassName);
    ASSERT_NE(syoki, nullptr);
    EXPECT_EQ(FocusedId(), syoki::L + 1);
    Press(VK_ESCAPE);  // nothing edited: straight back
    w = FindOwnWindow(henko::kClassName);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Focused(), GetDlgItem(w, henko::BSYO));

    Press(VK_TAB);
    EXPECT_EQ(FocusedId(), henko::GoVerInfo);
    Press(VK_SPACE);  // Space presses it too
    ASSERT_NE(FindOwnWindow(verinfo::kClassName), nullptr);
    EXPECT_EQ(FocusedId(), verinfo::OK);
    Press(VK_RETURN);
    w = FindOwnWindow(henko::kClassName);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Focused(), GetDlgItem(w, henko::GoVerInfo));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"OpenSyoki", "OpenHenko", "OpenVerInfo", "OpenHenko"}));

    // Opened anew (from the clock), it starts on the colour option again.
    DestroyWindow(w);
    w = OpenHenko();
    EXPECT_EQ(Focused(), GetDlgItem(w, henko::OP1));
}

TEST_F(KeysTest, SyokiEnterGoesThroughTheFieldsInTheKeyboardOrderAndPressesButtons) {
    using namespace syoki;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Chars(GetFocus(), L"東京");
    // Every box, row by row, then OK: as Tab goes.
    for (HWND expected = GetNextDlgTabItem(w, GetDlgItem(w, L + 1), FALSE); GetDlgCtrlID(expected) != BCH;
         expected = GetNextDlgTabItem(w, expected, FALSE)) {
        Press(VK_RETURN);
        // A drop-down box holds the focus in the edit box inside it.
        HWND control = Focused();
        while (control && GetParent(control) != w) control = GetParent(control);
        ASSERT_EQ(control, expected) << "after " << GetDlgCtrlID(control);
        if (GetDlgCtrlID(expected) == BOK) break;
    }
    // On a check box, Enter goes on too and leaves the box as it was.
    ASSERT_TRUE(TabTo(Check + 1));
    Press(VK_RETURN);
    EXPECT_EQ(FocusedId(), Check + 2);
    EXPECT_FALSE(Checked(w, Check + 1));
    EXPECT_TRUE(Exists(w));
    EXPECT_TRUE(launcher.calls.empty());

    ASSERT_TRUE(TabTo(BOK));
    Press(VK_RETURN);
    EXPECT_FALSE(Exists(w));
    EXPECT_EQ(Calls(), std::vector<std::string>{"OpenHenko"});
    EXPECT_EQ(ReadSettingsFile(folder / kPlacesFile).at(1), "東京");
}

// 設定変更 comes back focused on the button that left it: a held key's
// repeat must not press that button again.
TEST_F(KeysTest, AHeldKeyPressesOnlyTheButtonItWentDownOn) {
    using Names = std::vector<std::string>;
    struct Case {
        const char* what;
        int button;  // of 設定変更, pressed to open the other window
        WORD held;   // then held down there
        int ok;      // the other window's OK, which hands back
    };
    const Case cases[] = {
        {"Enter held on 初期設定's OK", henko::BSYO, VK_RETURN, syoki::BOK},
        {"Enter held on the about box", henko::GoVerInfo, VK_RETURN, verinfo::OK},
        {"Esc held on the about box", henko::GoVerInfo, VK_ESCAPE, verinfo::OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND w = OpenHenko();
        ASSERT_TRUE(TabTo(c.button));
        Press(VK_RETURN);
        ASSERT_FALSE(Exists(w));
        ASSERT_TRUE(TabTo(c.ok));
        launcher.calls.clear();
        Hold(c.held, 4);
        HWND back = FindOwnWindow(henko::kClassName);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(Focused(), GetDlgItem(back, c.button)) << "the repeats reached the button and left it unpressed";
        EXPECT_EQ(Calls(), Names{"OpenHenko"});
        EXPECT_EQ(OpenSettingsWindows(), std::vector<std::wstring>{henko::kClassName});
        DestroyWindow(back);
        Pump();
    }
    {
        SCOPED_TRACE("Space held on GoVerInfo: the button acts as Space comes up, once");
        launcher.calls.clear();
        HWND w = OpenHenko();
        ASSERT_TRUE(TabTo(henko::GoVerInfo));
        Hold(VK_SPACE, 4);
        EXPECT_FALSE(Exists(w));
        EXPECT_EQ(Calls(), Names{"OpenVerInfo"});
        EXPECT_EQ(OpenSettingsWindows(), std::vector<std::wstring>{verinfo::kClassName});
        DestroyWindow(FindOwnWindow(verinfo::kClassName));
        Pump();
    }
    {
        SCOPED_TRACE("other keys still repeat: a held Space types spaces in a box");
        HWND w = OpenSyoki();
        Hold(VK_SPACE, 3);
        EXPECT_EQ(Text(w, syoki::L + 1), L"    ");
    }
}

TEST_F(KeysTest, SyokiEscCancelsButAsksFirstWhenSomethingWasEdited) {
    using namespace syoki;
    {
        SCOPED_TRACE("nothing edited");
        HWND w = OpenSyoki();
        Press(VK_ESCAPE);
        EXPECT_FALSE(Exists(w));
        EXPECT_TRUE(messages.shown.empty());
    }
    struct Edit {
        const char* what;
        int focus;
        void (*edit)();
    };
    const Edit edits[] = {
        {"a name typed", L + 3, [] { Chars(GetFocus(), L"x"); }},
        {"a box ticked", Check + 4, [] { Press(VK_SPACE); }},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        launcher.calls.clear();
        messages.shown.clear();
        HWND w = OpenSyoki();
        ASSERT_TRUE(TabTo(e.focus));
        e.edit();
        messages.answers = {IDNO};
        Press(VK_ESCAPE);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, kDiscardQuestion);
        EXPECT_EQ(messages.shown[0].title, kTitle);
        EXPECT_EQ(messages.shown[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
        EXPECT_TRUE(Exists(w)) << "No keeps the edits";
        EXPECT_TRUE(launcher.calls.empty());
        messages.answers = {IDYES};
        Press(VK_ESCAPE);
        EXPECT_FALSE(Exists(w));
        EXPECT_EQ(Calls(), (std::vector<std::string>{"OpenHenko"}));
        DestroyWindow(FindOwnWindow(henko::kClassName));
        Pump();
    }
    EXPECT_FALSE(std::filesystem::exists(folder / kPlacesFile));
}

TEST_F(KeysTest, AnOpenDropDownListTakesEnterAndEscFirst) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    // A drop-down box among the fields, as the time differences may become.
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 0, 0, 80, 120, w,
                                 reinterpret_cast<HMENU>(999), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"+9"));
    SetFocus(combo);
    for (WORD key : {VK_ESCAPE, VK_RETURN}) {
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        Press(key);
        EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << key << " closes the list";
        EXPECT_TRUE(Exists(w));
        EXPECT_TRUE(IsChild(combo, GetFocus()) || GetFocus() == combo);
    }
    EXPECT_TRUE(launcher.calls.empty());
    // The list closed, Enter and Esc are the window's again: on to the next field, then cancel.
    Press(VK_RETURN);
    EXPECT_EQ(Focused(), GetNextDlgTabItem(w, combo, FALSE));
    Press(VK_ESCAPE);
    EXPECT_FALSE(Exists(w));
}

TEST_F(KeysTest, AnOpenCompositionTakesEnterAndEscInEveryField) {
    using namespace syoki;
    HWND composingIn = nullptr;
    app.composing = [&](HWND box) { return box == composingIn; };
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Chars(GetFocus(), L"東京");  // an edit, so Esc would ask
    for (int id : {L + 1, J + 1, S + 1, E + 1, L + 10, J + 10}) {
        SCOPED_TRACE(id);
        HWND field = GetDlgItem(w, id);
        // A zone box's keys go to the edit field inside it.
        if (HWND inner = FindWindowExW(field, nullptr, L"Edit", nullptr)) field = inner;
        SetFocus(field);
        composingIn = field;
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        EXPECT_EQ(Focused(), field) << "Enter stayed in the field";
        EXPECT_TRUE(messages.shown.empty()) << "Esc asked nothing";
        ASSERT_TRUE(Exists(w));
    }
    // The composition over, the keys are the window's again.
    composingIn = nullptr;
    HWND zone = FindWindowExW(GetDlgItem(w, J + 1), nullptr, L"Edit", nullptr);
    SetFocus(zone);
    Press(VK_RETURN);
    EXPECT_EQ(FocusedId(), S + 1);
    EXPECT_TRUE(launcher.calls.empty());
}

TEST_F(KeysTest, VerInfoEnterAndEscPressOkAndEnterOnTheLinkOpensIt) {
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        launcher.calls.clear();
        HWND w = OpenVerInfo();
        ASSERT_NE(w, nullptr);
        Press(key);
        EXPECT_FALSE(Exists(w)) << key;
        EXPECT_EQ(Calls(), std::vector<std::string>{"OpenHenko"});
        DestroyWindow(FindOwnWindow(henko::kClassName));
        Pump();
    }
    EXPECT_TRUE(links.empty());
    HWND w = OpenVerInfo();
    ASSERT_TRUE(TabTo(verinfo::Hyplex1));
    Press(VK_RETURN);
    EXPECT_TRUE(Exists(w));
    EXPECT_EQ(links, std::vector<std::wstring>{verinfo::kHomePage});
}

TEST_F(KeysTest, TheFocusComesBackAfterAMessageAChooserAndAnotherWindow) {
    SystemMessageBoxes boxes;
    std::unique_ptr<Choosers> system = MakeSystemChoosers();
    AppContext real{model, folder.path(), clock, boxes, *system, launcher, GetModuleHandleW(nullptr)};
    launcher.then = nullptr;
    {
        SCOPED_TRACE("the question of Esc, answered No");
        OpenSyokiWindow(real);
        Pump();
        HWND w = FindOwnWindow(syoki::kClassName);
        ASSERT_TRUE(TabTo(syoki::S + 2));
        Chars(GetFocus(), L"9:00");
        DialogAnswerer user(GetCurrentThreadId(), [](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
        Press(VK_ESCAPE);
        ASSERT_TRUE(user.Wait()) << "no question appeared";
        Pump();
        EXPECT_EQ(Focused(), GetDlgItem(w, syoki::S + 2));

        SCOPED_TRACE("another window in front, then this one again");
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        SetActiveWindow(other);
        Pump();
        EXPECT_NE(Focused(), GetDlgItem(w, syoki::S + 2));
        SetActiveWindow(w);
        Pump();
        EXPECT_EQ(Focused(), GetDlgItem(w, syoki::S + 2));
        DestroyWindow(other);
        DestroyWindow(w);
        Pump();
    }
    {
        SCOPED_TRACE("the colour chooser, cancelled");
        OpenHenkoWindow(real);
        Pump();
        HWND w = FindOwnWindow(henko::kClassName);
        ASSERT_TRUE(TabTo(henko::BIRH));
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
        Press(VK_RETURN);
        ASSERT_TRUE(user.Wait()) << "no colour chooser appeared";
        Pump();
        EXPECT_EQ(Focused(), GetDlgItem(w, henko::BIRH));
    }
}

TEST_F(KeysTest, TheAboutBoxIsADialogNamedAndDescribedByItsVersion) {
    ComScope com;
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    ComPtr<IAccessible> box = ClientObject(w);
    EXPECT_EQ(AccName(box.Get()), verinfo::kTitle);
    EXPECT_EQ(AccNumber(box.Get(), &IAccessible::get_accRole), ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(AccDescription(box.Get()), Text(w, verinfo::HVerInfo));
    EXPECT_EQ(Text(w, verinfo::HVerInfo), L"Ver. 0.5.0");
    // The focus lands on OK, whose own object is still the system's.
    ASSERT_EQ(Focused(), GetDlgItem(w, verinfo::OK));
    EXPECT_EQ(AccName(ClientObject(Focused()).Get()), L"OK");
}

TEST_F(KeysTest, EveryFieldIsReadByItsColumnCaptionAndRow) {
    using namespace syoki;
    ComScope com;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    struct Column {
        int base, heading;
        const wchar_t* first;
    };
    const Column columns[] = {
        {L, Label1, L"名称 (1行目)"},
        {J, Label2, L"時差 (1行目)"},
        {S, Label3, L"始業時刻 (1行目)"},
        {E, Label4, L"終業時刻 (1行目)"},
    };
    for (const Column& c : columns) {
        EXPECT_EQ(AccName(ClientObject(GetDlgItem(w, c.base + 1)).Get()), c.first);
        for (int n = 1; n <= kPlaceCount; ++n) {
            SCOPED_TRACE(testing::Message() << "control " << c.base + n);
            HWND field = GetDlgItem(w, c.base + n);
            const std::wstring expected = RowFieldName(Text(w, c.heading), n);
            EXPECT_EQ(AccName(ClientObject(field).Get()), expected);
            // A zone box's focus is in the edit field inside it.
            if (HWND inner = FindWindowExW(field, nullptr, L"Edit", nullptr)) {
                EXPECT_EQ(AccName(ClientObject(inner).Get()), expected);
            }
        }
    }
    EXPECT_NE(FindWindowExW(GetDlgItem(w, J + 1), nullptr, L"Edit", nullptr), nullptr);

    HWND henko = OpenHenko();
    ASSERT_NE(henko, nullptr);
    EXPECT_EQ(AccName(ClientObject(GetDlgItem(henko, henko::GZU)).Get()), L"画像");
}

TEST_F(KeysTest, TheSummerTimeBoxesTellScreenReadersTheirRow) {
    ComScope com;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    for (int n : {1, 7, 10}) {
        SCOPED_TRACE(n);
        ComPtr<IAccessible> box = ClientObject(GetDlgItem(w, syoki::Check + n));
        EXPECT_EQ(AccName(box.Get()), syoki::SummerTimeName(n));
        EXPECT_EQ(Text(w, syoki::Check + n), L"Check" + std::to_wstring(n)) << "the caption stays";
        // The rest is the system's: a check box, checked once ticked. Wine 8's
        // standard object of a button is a plain client (role 10) whose state
        // never shows the check; Windows answers ROLE_SYSTEM_CHECKBUTTON and
        // STATE_SYSTEM_CHECKED.
        Click(w, syoki::Check + n);
        const long role = AccNumber(box.Get(), &IAccessible::get_accRole);
        if (UnderWine()) {
            EXPECT_EQ(role, ROLE_SYSTEM_CLIENT);
        } else {
            EXPECT_EQ(role, ROLE_SYSTEM_CHECKBUTTON);
            EXPECT_TRUE(AccNumber(box.Get(), &IAccessible::get_accState) & STATE_SYSTEM_CHECKED);
        }
    }
    EXPECT_EQ(syoki::SummerTimeName(3), L"サマータイム (3行目)");
}

}  // namespace
}  // namespace qv::win::test
